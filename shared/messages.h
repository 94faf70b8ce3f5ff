#pragma once
// The texts that many windows show. A window names a text here instead of keeping its own
// copy; a text only one window shows stays in that window.
//
//   m_ctx.ui->message(msg::kInserted, this);
#include "core/errors.h" // the data module's own texts: server unreachable, read-only file ...

#include <QString>

namespace msg {

// Done messages.
inline const QString kInserted = QStringLiteral("ثبت شد");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kEdited = QStringLiteral("ويرايش شد");

// Refusals.
// A page (or a further page inside a window) the user may not open.
inline const QString kNoAccess = QStringLiteral("شما دسترسي به اين صفحه را نداريد");
// The province reports and exports: every level but the province refused.
inline const QString kReportRefused = QStringLiteral("شما به اين صفحه دسترسي نداريد");
// The province and special forms: the level gate's refusal.
inline const QString kFormRefused = QStringLiteral("عدم دسترسي به اين صفحه");

// A command that needs a current row, on an empty list: it does nothing but say why.
inline const QString kEmptyList = QStringLiteral("هيچ پروژه اي در ليست نيست");

// Several users on one server.
// An edit whose row another user changed since the form read it: nothing is written and the
// form stays open with what the user typed.
inline const QString kChangedByOther = QStringLiteral(
    "خطا! اين رديف پس از باز شدن فرم توسط کاربر ديگري تغيير کرده است و ذخيره نشد. براي ديدن مقادير جديد، فرم را دوباره باز نماييد");
// An edit or a delete whose row is no longer there.
inline const QString kRowGone = QStringLiteral("خطا! اين رديف در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");
// A delete whose row another user deleted first.
inline const QString kAlreadyDeleted = QStringLiteral("اين رديف قبلا توسط کاربر ديگري حذف شده است");

// A row written under a parent that another user deleted meanwhile: nothing is written.
inline const QString kProjectGone = QStringLiteral("خطا! اين پروژه توسط کاربر ديگري حذف شده است");
inline const QString kCreditGone = QStringLiteral("خطا! اين اعتبار توسط کاربر ديگري حذف شده است");
inline const QString kLabRecordGone = QStringLiteral("خطا! اين ثبت آزمايشگاهي توسط کاربر ديگري حذف شده است");
inline const QString kProgressItemGone = QStringLiteral("خطا! اين آيتم توسط کاربر ديگري حذف شده است");
inline const QString kAllocationGone = QStringLiteral("خطا! اين پروژه قير توسط کاربر ديگري حذف شده است");
inline const QString kListedAllocationGone =
    QStringLiteral("خطا! يکي از پروژه هاي قير اين ليست توسط کاربر ديگري حذف شده است");
inline const QString kServicesReportGone = QStringLiteral("خطا! اين گزارش خدمات فني توسط کاربر ديگري حذف شده است");
inline const QString kAgreementGone = QStringLiteral("خطا! اين موافقت نامه توسط کاربر ديگري حذف شده است");

// The registers' duplicate refusal (the progress register and the item catalogue).
inline const QString kDuplicate = QStringLiteral("تكراري است");

} // namespace msg
