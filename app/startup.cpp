#include "app/startup.h"

#include "core/auth.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/sample_data.h"
#include "db/setup.h"
#include "core/dates.h"
#include "shared/ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

StartOptions parseStartOptions(const QStringList &args)
{
    StartOptions o;
    o.sampleData = args.contains(QStringLiteral("--sample-data"));
    return o;
}

bool installQtTranslations()
{
    static QTranslator *qt = nullptr;
    if (qt)
        return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qt = t;
    return true;
}

DbProfile configuredMainProfile()
{
    QSettings s;
    const DbProfile saved = DbProfile::load(s, QStringLiteral("main"));
    if (saved.isSet())
        return saved;
    DbProfile embedded = DbProfile::sqliteFile(DbProfile::defaultMainPath());
    embedded.bounds = saved.bounds;
    return embedded;
}

bool prepareDatabases(AppContext &ctx, const StartOptions &opts)
{
    InitToday();
    QSettings s;
    const DbProfile mainProfile = configuredMainProfile();
    DbProfile protProfile = DbProfile::load(s, QStringLiteral("prot"));
    // No profile yet: the embedded default, with its own correspondence file.
    if (s.value(QStringLiteral("main/driver")).toString().isEmpty() && !s.contains(QStringLiteral("prot/driver")))
        protProfile = DbProfile::sqliteFile(DbProfile::defaultProtPath());
    try {
        ctx.dm->connectMain(mainProfile);
        db::setupSchema(*ctx.dm);
    } catch (const db::NewerSchema &e) {
        // Connected, but the database is a newer program's: said as it is, and the start ends.
        ctx.ui->message(e.message());
        return false;
    } catch (const AppError &e) {
        ctx.ui->message(QStringLiteral("خطا در اتصال به بانك اطلاعاتي:\n") + e.message());
        return false;
    }
    try {
        ctx.dm->connectProt(protProfile);
        if (protProfile.driver == QLatin1String("QSQLITE"))
            db::setupProtSchema(*ctx.dm);
    } catch (const AppError &e) {
        ctx.ui->message(QStringLiteral("خطا در اتصال به بانك اطلاعاتي دبيرخانه:\n") + e.message());
    }
    try {
        if (opts.sampleData)
            fillSampleData(*ctx.dm);
        const QString stored =
            ctx.dm->scalar(QStringLiteral("select pass from karbaran where karbar=?"), {QStringLiteral("admin")}).toString();
        if (stored.isEmpty()) {
            // A new database: the administrator's password is chosen now.
            while (true) {
                bool ok = false;
                const QString p1 = ctx.ui->passwordBox(QStringLiteral("Password"),
                                                       QStringLiteral("كلمه عبور مدير سيستم (admin) را وارد كنيد"), &ok);
                if (!ok)
                    return false;
                const QString p2 =
                    ctx.ui->passwordBox(QStringLiteral("Password"), QStringLiteral("تكرار كلمه عبور"), &ok);
                if (!ok)
                    return false;
                if (p1.isEmpty() || p1 != p2) {
                    ctx.ui->message(QStringLiteral("خطا! كلمه عبور خالي است يا با تكرار آن يكسان نيست"));
                    continue;
                }
                ctx.dm->exec(QStringLiteral("update karbaran set pass=? where karbar=?"),
                             {hashPassword(p1), QStringLiteral("admin")});
                break;
            }
        }
    } catch (const AppError &e) {
        ctx.ui->message(e.message());
        return false;
    }
    return true;
}
