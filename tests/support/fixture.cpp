#include "support/fixture.h"

#include "app/forms.h"
#include "core/auth.h"
#include "core/errors.h"
#include "db/setup.h"
#include "core/dates.h"

#include <QApplication>
#include <QUuid>
#include <cstdio>

namespace testing_support {

bool usePostgres()
{
    return qgetenv("VARNOSET_TEST_BACKEND") == "pg";
}

Fixture::Fixture(bool withForms)
{
    ctx.dm = &dm;
    ctx.ui = &ui;
    if (usePostgres()) {
        m_profile = DbProfile::fromConnInfo(QString::fromLocal8Bit(qgetenv("VARNOSET_TEST_PG")));
        m_profile.schema = m_schema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128);
    } else {
        m_profile = DbProfile::sqliteFile(m_dir.filePath(QStringLiteral("main.sqlite")));
    }
    try {
        dm.connectMain(m_profile);
        db::setupSchema(dm);
        dm.connectProt(DbProfile::sqliteFile(m_dir.filePath(QStringLiteral("prot.sqlite"))));
        db::setupProtSchema(dm);
    } catch (const AppError &e) {
        qFatal("test database: %s", qPrintable(e.message()));
    }
    ctx.CurrentUser = {dm.scalar(QStringLiteral("select id from karbaran where karbar='admin'")).toString(),
                       QStringLiteral("admin"), QStringLiteral("admin")};
    PinClock(QDate(2026, 12, 6));
    InitToday();
    if (withForms)
        createForms(ctx);
}

Fixture::Fixture(const Fixture &first, bool withForms)
    : m_profile(first.m_profile)
{
    ctx.dm = &dm;
    ctx.ui = &ui;
    try {
        dm.connectMain(m_profile);
        dm.connectProt(DbProfile::sqliteFile(first.m_dir.filePath(QStringLiteral("prot.sqlite"))));
    } catch (const AppError &e) {
        qFatal("second workstation: %s", qPrintable(e.message()));
    }
    ctx.CurrentUser = first.ctx.CurrentUser;
    if (withForms)
        createForms(ctx);
}

Fixture::~Fixture()
{
    for (QWidget *w : ctx.forms())
        delete w;
    if (!m_schema.isEmpty()) {
        try {
            db::schemaStatement(dm, QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(m_schema));
        } catch (const AppError &) {
        }
    }
    dm.disconnectAll();
}

qint64 Fixture::addUser(const QString &name, const QString &password, const QString &level, bool active)
{
    dm.exec(QStringLiteral("insert into karbaran (karbar, pass, name, level, active, version) values (?,?,?,?,?,2)"),
            {name, hashPassword(password), name, level, active});
    return dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {name}).toLongLong();
}

void Fixture::grant(qint64 userId, const QString &page, bool darj, bool virayesh, bool hazf, bool namayesh)
{
    dm.exec(QStringLiteral("insert into dastrasi (prs_id, page_name, darj, virayesh, hazf, namayesh) values (?,?,?,?,?,?)"),
            {userId, page, darj, virayesh, hazf, namayesh});
}

void Fixture::addCounty(qint64 userId, const QString &county)
{
    dm.exec(QStringLiteral("insert into dastrasi2 (user_id, cmt) values (?,?)"), {userId, county});
}

static void isolateEnvironment(QTemporaryDir &home)
{
    for (const char *var : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        const QString d = home.filePath(QString::fromLatin1(var));
        QDir().mkpath(d);
        QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(var, d.toLocal8Bit());
    }
    // A temp folder of its own: the exports' fixed names must not meet another test's files.
    const QString tmp = home.filePath(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    qputenv("TMPDIR", tmp.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int runTest(int argc, char **argv, QObject *test)
{
    if (usePostgres() && qEnvironmentVariableIsEmpty("VARNOSET_TEST_PG")) {
        const bool required = !qEnvironmentVariableIsEmpty("VARNOSET_TEST_REQUIRE_PG");
        std::fprintf(stderr, required ? "VARNOSET_TEST_PG is not set but PostgreSQL is required\n"
                                      : "SKIP: no PostgreSQL server (VARNOSET_TEST_PG)\n");
        return required ? 1 : 77;
    }
    QTemporaryDir home;
    isolateEnvironment(home);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("varnoset"));
    QApplication::setApplicationName(QStringLiteral("varnoset-test"));
    return QTest::qExec(test, argc, argv);
}

} // namespace testing_support
