#pragma once
#include <QString>
#include <stdexcept>

// A failure that ends the running command: the handler's guard shows `message`
// to the user and the command stops. Nothing is written after it is raised.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The database refused a statement; message is the driver's own text.
class DbError : public AppError {
public:
    using AppError::AppError;
};

// A value typed by the user cannot be written (not a number, too long ...).
class InputError : public AppError {
public:
    using AppError::AppError;
};

// Texts of the data module's own failures, shown by every window alike (shared/messages.h holds
// the rest and includes these).
namespace msg {

// The server dropped the connection and it could not be opened again; the driver's text follows.
inline const QString kServerUnreachable = QStringLiteral("خطا! سرور بانك اطلاعاتي در دسترس نيست. لحظاتي بعد دوباره سعي نماييد");
// A statement the database refused (the driver's text follows, when it gave one).
inline const QString kDatabaseFailed = QStringLiteral("خطا! بانك اطلاعاتي اين دستور را اجرا نکرد");
// The command waited for a lock that another workstation holds while it saves (or runs the same
// report) and gave up; nothing of the command was written.
inline const QString kLockWait = QStringLiteral("خطا! كاربر ديگري در حال ثبت اطلاعات است. لحظاتي بعد دوباره سعي نماييد");
// The server stopped the statement when it ran past its bound.
inline const QString kStatementTooLong = QStringLiteral("خطا! اجراي اين دستور در بانك اطلاعاتي بيش از زمان مجاز طول كشيد و متوقف شد");
// The server gave no answer at all within the bound: the connection was cut.
inline QString serverSilent(int seconds)
{
    return QStringLiteral("خطا! سرور بانك اطلاعاتي %1 ثانيه پاسخي نداد و دستور متوقف شد. لحظاتي بعد دوباره سعي نماييد").arg(seconds);
}
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

// A text that holds a control character (NUL ...), bound to any statement (a search
// included); a box's value is refused earlier, naming the box (db::Refusal).
inline const QString kControlCharacter = QStringLiteral("خطا! متن وارد شده نويسه کنترلي (مانند NUL) دارد و پذيرفته نمي شود");

} // namespace msg
