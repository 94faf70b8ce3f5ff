#include "shared/log.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "core/dates.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLocale>
#include <QTime>

QString LocalIP()
{
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    QString last;
    for (const QHostAddress &a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            last = a.toString();
    return last;
}

QString IPAddrToName(const QString &address)
{
    QHostAddress a;
    if (address.isEmpty() || !a.setAddress(address))
        return {};
    const QHostInfo info = QHostInfo::fromName(address);
    if (info.error() != QHostInfo::NoError || info.hostName() == address)
        return {};
    return info.hostName();
}

void WriteLog(AppContext &ctx, const QString &description)
{
    static const QString ip = LocalIP();
    static const QString host = IPAddrToName(ip);
    const QString time = QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat);
    ctx.dm->ADOQuery1->exec(
        QStringLiteral("insert into log (karbar, ip, pc_name, saat, tarikh, cmt) values(?,?,?,?,?,?)"),
        {ctx.CurrentUser.karbar, ip, host, time, SolarDateText(), description});
}
