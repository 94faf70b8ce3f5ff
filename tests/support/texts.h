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
inline const QString kPrintFailed = QStringLiteral("چاپ گزارش انجام نشد");
inline const QString kPdfFailed = QStringLiteral("فايل PDF نوشته نشد");
inline const QString kExitQuestion = QStringLiteral("آيا مي خواهيد از برنامه خارج شويد");
inline const QString kWrongPassword = QStringLiteral("خطا! نام كاربري يا كلمه عبور اشتباه است");
inline const QString kInactiveUser = QStringLiteral("خطا! اين كاربر غير فعال است");

// Our own wordings (not the system's), checked so that they stay as decided.
inline const QString kEmptyList = QStringLiteral("هيچ پروژه اي در ليست نيست");
inline const QString kChangedByOther = QStringLiteral(
    "خطا! اين رديف پس از باز شدن فرم توسط کاربر ديگري تغيير کرده است و ذخيره نشد. براي ديدن مقادير جديد، فرم را دوباره باز نماييد");
inline const QString kRowGone = QStringLiteral("خطا! اين رديف در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");
inline const QString kAlreadyDeleted = QStringLiteral("اين رديف قبلا توسط کاربر ديگري حذف شده است");
// A row written under a parent another user deleted meanwhile.
inline const QString kProjectGone = QStringLiteral("خطا! اين پروژه توسط کاربر ديگري حذف شده است");
inline const QString kCreditGone = QStringLiteral("خطا! اين اعتبار توسط کاربر ديگري حذف شده است");
inline const QString kLabRecordGone = QStringLiteral("خطا! اين ثبت آزمايشگاهي توسط کاربر ديگري حذف شده است");
inline const QString kProgressItemGone = QStringLiteral("خطا! اين آيتم توسط کاربر ديگري حذف شده است");
inline const QString kAllocationGone = QStringLiteral("خطا! اين پروژه قير توسط کاربر ديگري حذف شده است");
inline const QString kListedAllocationGone = QStringLiteral("خطا! يکي از پروژه هاي قير اين ليست توسط کاربر ديگري حذف شده است");
inline const QString kServicesReportGone = QStringLiteral("خطا! اين گزارش خدمات فني توسط کاربر ديگري حذف شده است");
inline const QString kAgreementGone = QStringLiteral("خطا! اين موافقت نامه توسط کاربر ديگري حذف شده است");
inline const QString kServerUnreachable = QStringLiteral("خطا! سرور بانك اطلاعاتي در دسترس نيست. لحظاتي بعد دوباره سعي نماييد");
inline const QString kLockWait = QStringLiteral("خطا! كاربر ديگري در حال ثبت اطلاعات است. لحظاتي بعد دوباره سعي نماييد");
inline const QString kDatabaseFailed = QStringLiteral("خطا! بانك اطلاعاتي اين دستور را اجرا نکرد");
inline const QString kDiskFull = QStringLiteral("خطا! فضاي ديسك بانك اطلاعاتي پر است و اطلاعات ثبت نشد"); // our own wording
inline const QString kStatementTooLong = QStringLiteral("خطا! اجراي اين دستور در بانك اطلاعاتي بيش از زمان مجاز طول كشيد و متوقف شد");
inline QString serverSilent(int seconds)
{
    return QStringLiteral("خطا! سرور بانك اطلاعاتي %1 ثانيه پاسخي نداد و دستور متوقف شد. لحظاتي بعد دوباره سعي نماييد").arg(seconds);
}
// Refusals of a value, naming what was typed and the box: «its caption», or "ستون x" for a
// column without a box.
inline QString boxName(const QString &caption) { return QStringLiteral("«%1»").arg(caption); }
inline QString columnName(const QString &column) { return QStringLiteral("ستون ") + column; }
inline QString tooLarge(const QString &typed, const QString &name)
{
    return QStringLiteral("خطا! مقدار «%1» براي %2 بزرگتر از حد مجاز است").arg(typed, name);
}
inline QString notADate(const QString &typed, const QString &name)
{
    return QStringLiteral("خطا! مقدار «%1» براي %2 تاريخ معتبر نيست").arg(typed, name);
}
inline QString notANumber(const QString &typed, const QString &name)
{
    return QStringLiteral("خطا! مقدار «%1» براي %2 عدد نيست").arg(typed, name);
}
inline QString tooLong(const QString &typed, const QString &name, int limit)
{
    return QStringLiteral("خطا! مقدار «%1» براي %2 بيش از %3 حرف است").arg(typed, name).arg(limit);
}
inline QString controlCharacterIn(const QString &name)
{
    return QStringLiteral("خطا! مقدار %1 نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود").arg(name);
}
inline QString readOnly(const QString &what, const QString &path)
{
    return QStringLiteral("خطا! %1 بانك اطلاعاتي «").arg(what) + QChar(0x2066) + path + QChar(0x2069)
           + QStringLiteral("» فقط خواندني است و برنامه نمي تواند در آن بنويسد");
}

// The bitumen windows.
inline const QString kGhirPlaceError = QStringLiteral("خطا! نام استان و شهرستان اشتباه است. از تايپ پرهيز نماييد و فقط از ليست انتخاب نماييد");
inline const QString kGhirDuplicate = QStringLiteral("خطا! اين پيمانکار در اين روستا و شهرستان با اين ميزان قير تهاتري و سال تخصيص قير و شماره معرفي نامه پيمانکار قبلا ثبت شده است");
inline const QString kGhirRowGone = QStringLiteral("خطا! اين پروژه در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد"); // our own wording
inline const QString kGhirComplementSaved = QStringLiteral("ثبت/ويرايش انجام شد");
inline const QString kGhirDeleteWarning = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام صورت وضعيت هاي آن نيز حذف خواهند شد. آيا مي خواهيد ادامه دهيد؟");
inline const QString kGhirDeleteLog = QStringLiteral("  حذف قير   ");
inline const QString kContractorDuplicate = QStringLiteral("خطا! نام پيمانکار تکراري است");
inline const QString kContractorUpdated = QStringLiteral("ويرايش انجام شد");
inline const QString kContractorRowGone = QStringLiteral("خطا! اين پيمانکار حذف شده است"); // our own wording
// The page title of the bitumen exports: the contractors', the history's and the bitumen window's web pages.
inline const QString kBitumenExportTitle = QStringLiteral("گزارش پروژه هاي قير");

// The statistics and agreements registers.
inline const QString kRegisterDuplicate = QStringLiteral("تکراريست");
inline const QString kAmarCountyDelete = QStringLiteral("حذف فقط توسط استان");
inline const QString kAmarCredits = QStringLiteral("اعتبارات");
inline const QString kAmarOperations = QStringLiteral("عمليات اجرايي");
inline const QString kAgreementAttachmentDefault = QStringLiteral("تصوير موافقت نامه");

// A save whose commit answer was lost (our own wording): found not kept, or not learned.
inline const QString kNotWritten = QStringLiteral("خطا! ارتباط با سرور بانك اطلاعاتي قطع شد و اين دستور انجام نشد؛ چيزي ثبت نشد. لحظاتي بعد دوباره سعي نماييد");
inline const QString kOutcomeUnknown = QStringLiteral("خطا! ارتباط با سرور بانك اطلاعاتي قطع شد و معلوم نيست اين دستور انجام شده است يا نه. فهرست را نگاه كنيد و سپس دوباره سعي نماييد");

// What a box cannot hold (our own wordings): "خطا! مقدار «typed» براي «caption» " and the fault;
// an empty box its row needs; a printed form missing a figure of the complementary data.
inline QString cannotHold(const QString &typed, const QString &name, const char *fault)
{
    return QStringLiteral("خطا! مقدار «%1» براي %2 ").arg(typed, name) + QString::fromUtf8(fault);
}
inline const char *const kNotAYear = "سال چهار رقمي نيست", *const kNegative = "منفي است و ثبت نمي شود",
                         *const kNotAPercent = "بايد از 0 تا 100 باشد", *const kNotWhole = "بايد عدد صحيح و بدون اعشار باشد";
inline QString emptyBox(const QString &name) { return QStringLiteral("خطا! %1 خالي است؛ آن را پر نماييد").arg(name); }
inline QString figureEmpty(const QString &name) { return QStringLiteral("خطا! %1 اين پروژه خالي است").arg(name); }
inline const QString kComplementFirst = QStringLiteral("؛ ابتدا اطلاعات تکميلي را در «محاسبات مصرف قير» ثبت نماييد");

} // namespace texts

// The schema's version, the password command and the attachments' refusals (our own wordings).
namespace texts {
inline QString newerSchema(int recorded, int known)
{
    return QStringLiteral("خطا! نسخه بانك اطلاعاتي %1 است و اين برنامه فقط تا نسخه %2 را مي شناسد؛ بانك اطلاعاتي تغيير داده نشد. نسخه جديد برنامه را نصب نماييد").arg(recorded).arg(known);
}
inline const QString kPasswordTooLong = QStringLiteral("خطا! كلمه عبور بيش از 32767 حرف است و در پنجره ورود جا نمي گيرد؛ چيزي ثبت نشد");
inline const QString kPasswordStored = QStringLiteral("كلمه عبور كاربر %1 ثبت شد\nبانك اطلاعاتي: %2\n");
inline QString attachmentEmpty(const QString &path) { return QStringLiteral("خطا! فايل %1 خالي است (صفر بايت) و ثبت نمي شود").arg(path); }
inline QString attachmentUnread(const QString &path) { return QStringLiteral("خطا! فايل %1 خوانده نشد: ").arg(path); }
inline const QString kAttachmentDiskFull = QStringLiteral("خطا! فضاي ديسك بانك اطلاعاتي پر است و فايل ثبت نشد");
inline QString fileDiskFull(const QString &path) { return QStringLiteral("خطا! فضاي ديسك پر است و فايل %1 نوشته نشد").arg(path); }
} // namespace texts
