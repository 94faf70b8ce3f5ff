// Start-up on the embedded default: the schema is made, the administrator's password is
// asked on a new database only, and the sample data needs no question.
#include "support/fixture.h"

#include "app/forms.h"
#include "app/startup.h"
#include "core/auth.h"
#include "core/login_u.h"

#include <QFile>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(DbProfile::defaultMainPath());
        QFile::remove(DbProfile::defaultProtPath());
    }

    void newDatabaseAsksForTheAdministratorsPassword()
    {
        ScriptedUi ui;
        Tdm dm;
        AppContext ctx;
        ctx.dm = &dm;
        ctx.ui = &ui;
        // A mismatch is refused and asked again; then the matching pair is kept.
        ui.inputs << QStringLiteral("one") << QStringLiteral("two") << QStringLiteral("s3cret") << QStringLiteral("s3cret");
        QVERIFY(prepareDatabases(ctx, {}));
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(verifyPassword(QStringLiteral("s3cret"),
                               dm.scalar(QStringLiteral("select pass from karbaran where karbar='admin'")).toString()));
        QVERIFY(QFile::exists(DbProfile::defaultMainPath()));
        QVERIFY(dm.hasProt());
        dm.disconnectAll();

        // The next start asks nothing.
        ScriptedUi again;
        ctx.ui = &again;
        QVERIFY(prepareDatabases(ctx, {}));
        QVERIFY(again.prompts.isEmpty());
        dm.disconnectAll();
    }

    void cancellingThePasswordEndsTheStart()
    {
        ScriptedUi ui;
        Tdm dm;
        AppContext ctx;
        ctx.dm = &dm;
        ctx.ui = &ui;
        QVERIFY(!prepareDatabases(ctx, {}));
        dm.disconnectAll();
    }

    void sampleDataStartsWithoutQuestionsAndShowsTheLogin()
    {
        ScriptedUi ui;
        Tdm dm;
        AppContext ctx;
        ctx.dm = &dm;
        ctx.ui = &ui;
        StartOptions o = parseStartOptions({QStringLiteral("varnoset"), QStringLiteral("--sample-data")});
        QVERIFY(o.sampleData);
        QVERIFY(prepareDatabases(ctx, o));
        QVERIFY(ui.prompts.isEmpty());
        createForms(ctx);
        auto *login = ctx.form<Tlogin>();
        login->show();
        QVERIFY(login->isVisible());
        QCOMPARE(login->layoutDirection(), Qt::RightToLeft);
        for (QWidget *w : ctx.forms())
            delete w;
        dm.disconnectAll();
    }
};

VARNOSET_TEST_MAIN(StartupTest)
#include "test_startup.moc"
