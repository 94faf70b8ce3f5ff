#pragma once
// The texts that many windows show.
#include <QString>

namespace msg {

// Several users on one server, and a database that cannot be written.
// The server dropped the connection and it could not be opened again; the driver's text follows.
inline const QString kServerUnreachable = QStringLiteral("خطا! سرور بانك اطلاعاتي در دسترس نيست. لحظاتي بعد دوباره سعي نماييد");
// A statement the database refused without saying why.
inline const QString kDatabaseFailed = QStringLiteral("خطا! بانك اطلاعاتي اين دستور را اجرا نکرد");
// A failure that came without a text of its own: no message box is ever empty.
inline const QString kCommandFailed = QStringLiteral("خطا! اين دستور انجام نشد");
// The embedded database file, or its folder, cannot be written.
inline QString readOnlyFile(const QString &path)
{
    return QStringLiteral("خطا! فايل بانك اطلاعاتي «%1» فقط خواندني است و برنامه نمي تواند در آن بنويسد").arg(path);
}
inline QString readOnlyFolder(const QString &path)
{
    return QStringLiteral("خطا! پوشه بانك اطلاعاتي «%1» فقط خواندني است و برنامه نمي تواند در آن بنويسد").arg(path);
}
// A text that holds a control character (NUL ...), typed or pasted into a box.
inline QString controlCharacter(const QString &column)
{
    return QStringLiteral("خطا! مقدار ستون %1 نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود").arg(column);
}
inline const QString kControlCharacter = QStringLiteral("خطا! متن وارد شده نويسه کنترلي (مانند NUL) دارد و پذيرفته نمي شود");

} // namespace msg
