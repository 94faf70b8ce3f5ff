#pragma once
// The texts that many windows show. A window names a text here instead of keeping its own
// copy; a text only one window shows stays in that window.
//
//   m_ctx.ui->message(msg::kInserted, this);
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
// The server dropped the connection and it could not be opened again; the driver's text follows.
inline const QString kServerUnreachable = QStringLiteral("خطا! سرور بانك اطلاعاتي در دسترس نيست. لحظاتي بعد دوباره سعي نماييد");
// A statement the database refused without saying why.
inline const QString kDatabaseFailed = QStringLiteral("خطا! بانك اطلاعاتي اين دستور را اجرا نکرد");
// A failure that came without a text of its own: no message box is ever empty.
inline const QString kCommandFailed = QStringLiteral("خطا! اين دستور انجام نشد");
// The embedded database file, or its folder, cannot be written. The path reads left to right
// as one piece inside the Persian line (a bidi isolate).
inline QString readOnlyFile(const QString &path)
{
    return QStringLiteral("خطا! فايل بانك اطلاعاتي «\u2066%1\u2069» فقط خواندني است و برنامه نمي تواند در آن بنويسد").arg(path);
}
inline QString readOnlyFolder(const QString &path)
{
    return QStringLiteral("خطا! پوشه بانك اطلاعاتي «\u2066%1\u2069» فقط خواندني است و برنامه نمي تواند در آن بنويسد").arg(path);
}
// A text that holds a control character (NUL ...), typed or pasted into a box.
inline QString controlCharacter(const QString &column)
{
    return QStringLiteral("خطا! مقدار ستون %1 نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود").arg(column);
}
inline const QString kControlCharacter = QStringLiteral("خطا! متن وارد شده نويسه کنترلي (مانند NUL) دارد و پذيرفته نمي شود");

} // namespace msg
