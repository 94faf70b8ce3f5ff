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

// A write whose end could not be learned: the answer to its commit was lost and the server could
// not be asked since. The server may have kept it or not; `xid` and `backend` name the
// transaction and the session that sent it, so that a later command can still ask.
class OutcomeUnknown : public DbError {
public:
    OutcomeUnknown(const QString &message, qint64 xid, int backend) : DbError(message), m_xid(xid), m_backend(backend) {}
    qint64 xid() const { return m_xid; }
    int backend() const { return m_backend; }

private:
    qint64 m_xid;
    int m_backend;
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
// The connection was lost at the commit and the server, asked again, says the change was not
// kept: nothing of the command was written.
inline const QString kNotWritten = QStringLiteral("خطا! ارتباط با سرور بانك اطلاعاتي قطع شد و اين دستور انجام نشد؛ چيزي ثبت نشد. لحظاتي بعد دوباره سعي نماييد");
// The connection was lost at the commit and the server could not be asked what it kept.
inline const QString kOutcomeUnknown = QStringLiteral("خطا! ارتباط با سرور بانك اطلاعاتي قطع شد و معلوم نيست اين دستور انجام شده است يا نه. فهرست را نگاه كنيد و سپس دوباره سعي نماييد");
// Said below kServerUnreachable when a server took the connection and then gave no answer.
inline QString noAnswerWithin(int seconds)
{
    return QStringLiteral("سرور بانك اطلاعاتي %1 ثانيه پاسخي نداد").arg(seconds);
}
// The disk under the database is full: the statement wrote nothing.
inline const QString kDiskFull = QStringLiteral("خطا! فضاي ديسك بانك اطلاعاتي پر است و اطلاعات ثبت نشد");
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
