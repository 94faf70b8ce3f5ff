#include "core/profile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

DbProfile DbProfile::fromConnInfo(const QString &conninfo)
{
    DbProfile p;
    p.driver = QStringLiteral("QPSQL");
    p.host = QStringLiteral("127.0.0.1");
    p.database = QStringLiteral("postgres");
    p.user = QStringLiteral("postgres");
    const QStringList parts = conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString k = part.left(eq).trimmed();
        const QString v = part.mid(eq + 1).trimmed();
        if (k == QLatin1String("host"))
            p.host = v;
        else if (k == QLatin1String("port"))
            p.port = v.toInt();
        else if (k == QLatin1String("dbname"))
            p.database = v;
        else if (k == QLatin1String("user"))
            p.user = v;
        else if (k == QLatin1String("password"))
            p.password = v;
    }
    return p;
}

DbProfile DbProfile::sqliteFile(const QString &path)
{
    DbProfile p;
    p.driver = QStringLiteral("QSQLITE");
    p.path = path;
    return p;
}

DbProfile DbProfile::load(QSettings &s, const QString &group)
{
    DbProfile p;
    s.beginGroup(group);
    p.driver = s.value(QStringLiteral("driver")).toString();
    p.path = s.value(QStringLiteral("path")).toString();
    p.host = s.value(QStringLiteral("host")).toString();
    p.port = s.value(QStringLiteral("port"), 5432).toInt();
    p.database = s.value(QStringLiteral("database")).toString();
    p.user = s.value(QStringLiteral("user")).toString();
    p.password = s.value(QStringLiteral("password")).toString();
    p.schema = s.value(QStringLiteral("schema")).toString();
    const Bounds d;
    p.bounds.connectSeconds = s.value(QStringLiteral("connect_timeout_s"), d.connectSeconds).toInt();
    p.bounds.lockMs = s.value(QStringLiteral("lock_timeout_ms"), d.lockMs).toInt();
    p.bounds.statementSeconds = s.value(QStringLiteral("statement_timeout_s"), d.statementSeconds).toInt();
    s.endGroup();
    return p;
}

void DbProfile::save(QSettings &s, const QString &group) const
{
    s.beginGroup(group);
    s.setValue(QStringLiteral("driver"), driver);
    s.setValue(QStringLiteral("path"), path);
    s.setValue(QStringLiteral("host"), host);
    s.setValue(QStringLiteral("port"), port);
    s.setValue(QStringLiteral("database"), database);
    s.setValue(QStringLiteral("user"), user);
    s.setValue(QStringLiteral("password"), password);
    s.setValue(QStringLiteral("schema"), schema);
    s.setValue(QStringLiteral("connect_timeout_s"), bounds.connectSeconds);
    s.setValue(QStringLiteral("lock_timeout_ms"), bounds.lockMs);
    s.setValue(QStringLiteral("statement_timeout_s"), bounds.statementSeconds);
    s.endGroup();
}

static QString dataDir()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(d);
    return d;
}

QString DbProfile::defaultMainPath()
{
    return dataDir() + QStringLiteral("/varnoset.sqlite");
}

QString DbProfile::defaultProtPath()
{
    return dataDir() + QStringLiteral("/prot.sqlite");
}
