#pragma once
// The system's texts that the tests compare with, kept once here as independent copies: a
// typo in the program's own constant then fails a test instead of passing it.
#include <QString>

namespace texts {

inline const QString kInserted = QStringLiteral("ثبت شد");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kEdited = QStringLiteral("ويرايش شد");
inline const QString kNoAccess = QStringLiteral("شما دسترسي به اين صفحه را نداريد");
inline const QString kReportRefused = QStringLiteral("شما به اين صفحه دسترسي نداريد");
inline const QString kFormRefused = QStringLiteral("عدم دسترسي به اين صفحه");
inline const QString kPasswordMismatch = QStringLiteral("كلمه عبور را اشتباه وارد نموديد");
inline const QString kDeletePasswordMismatch = QStringLiteral("رمز حذف اشتباه بود");

// Our own wordings (not the system's), checked so that they stay as decided.
inline const QString kEmptyList = QStringLiteral("هيچ پروژه اي در ليست نيست");
inline const QString kChangedByOther = QStringLiteral(
    "خطا! اين رديف پس از باز شدن فرم توسط کاربر ديگري تغيير کرده است و ذخيره نشد. براي ديدن مقادير جديد، فرم را دوباره باز نماييد");
inline const QString kRowGone = QStringLiteral("خطا! اين رديف در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");
inline const QString kAlreadyDeleted = QStringLiteral("اين رديف قبلا توسط کاربر ديگري حذف شده است");

} // namespace texts
