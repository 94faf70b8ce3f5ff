// Start-up on the embedded default: the schema is made, the administrator's password is
// asked on a new database only, and the sample data needs no question; the program's
// pictures load.
#include "support/fixture.h"

#include "app/forms.h"
#include "app/startup.h"
#include "core/auth.h"
#include "app/login_u.h"
#include "shared/menus.h"
#include "support/texts.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QImageReader>
#include <QMessageBox>
#include <QSettings>
#include <QTcpServer>

namespace {

// The program's context on the default databases, its person answering from a script.
struct Program {
    ScriptedUi ui;
    Tdm dm;
    AppContext ctx;
    Program()
    {
        ctx.dm = &dm;
        ctx.ui = &ui;
    }
    ~Program()
    {
        for (QWidget *w : ctx.forms())
            delete w;
        dm.disconnectAll();
    }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(DbProfile::defaultMainPath());
        QFile::remove(DbProfile::defaultProtPath());
    }

    // Cancel ends the start; a mismatch is refused and asked again; the matching pair is kept.
    void newDatabaseAsksForTheAdministratorsPassword()
    {
        {
            Program p;
            QVERIFY(!prepareDatabases(p.ctx, {}));
            p.ui.inputs << "one" << "two" << "s3cret" << "s3cret";
            QVERIFY(prepareDatabases(p.ctx, {}));
            QCOMPARE(p.ui.messages.size(), 1);
            QVERIFY(verifyPassword("s3cret", p.dm.scalar("select pass from karbaran where karbar='admin'").toString()));
            QVERIFY(QFile::exists(DbProfile::defaultMainPath()));
            QVERIFY(p.dm.hasProt());
        }
        // The next start asks nothing.
        Program again;
        QVERIFY(prepareDatabases(again.ctx, {}));
        QVERIFY(again.ui.prompts.isEmpty());
    }

    // A server that takes the connection and never answers: the start gives up after the
    // profile's bound with the Persian message, the driver's text below.
    void silentServerEndsTheStart()
    {
        QTcpServer silent; // the system accepts for it; it never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        {
            QSettings s;
            s.setValue("main/driver", "QPSQL");
            s.setValue("main/host", "127.0.0.1");
            s.setValue("main/port", silent.serverPort());
            s.setValue("main/connect_timeout_s", 2);
        }
        Program p;
        QVERIFY(!prepareDatabases(p.ctx, {})); // without the bound it would wait for ever
        QSettings().remove("main");
        QCOMPARE(p.ui.messages.size(), 1);
        const QStringList lines = p.ui.messages.first().split('\n');
        QVERIFY2(lines.size() > 2 && lines.at(1) == texts::kServerUnreachable && !lines.at(2).isEmpty(),
                 qPrintable(p.ui.messages.first()));
    }

    void sampleDataStartsWithoutQuestionsAndShowsTheLogin()
    {
        Program p;
        StartOptions o = parseStartOptions({"varnoset", "--sample-data"});
        QVERIFY(o.sampleData);
        QVERIFY(prepareDatabases(p.ctx, o));
        QVERIFY(p.ui.prompts.isEmpty());
        createForms(p.ctx);
        p.ctx.makeForms();
        QCOMPARE(UnboundMenuItems(p.ctx.forms()), QStringList());
        QVERIFY(p.ui.messages.isEmpty());
        auto *login = p.ctx.form<Tlogin>();
        QCOMPARE(login->layoutDirection(), Qt::RightToLeft);
    }

    // Qt's own dialogs in Persian: the standard buttons of a question and of an input or file
    // box read as Qt's Persian translation has them.
    void standardButtonsArePersian()
    {
        QVERIFY(installQtTranslations());
        QMessageBox box(QMessageBox::Question, "x", "x", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Save | QDialogButtonBox::Open);
        QSet<QString> shown;
        for (QAbstractButton *b : box.buttons() + buttons.buttons())
            shown << b->text().remove(QLatin1Char('&'));
        QCOMPARE(shown, QSet<QString>({"بله", "نه", "انصراف", "تأیید", "ذخیره", "بازکردن"}));
    }

    // JPEG pictures are decoded through Qt's image plugin.
    void jpegPluginDecodesTheProgramsPictures()
    {
        QImageReader r(":/app/images/background.jpg");
        QVERIFY2(!r.read().isNull(), qPrintable(r.errorString()));
    }
};

VARNOSET_TEST_MAIN(StartupTest)
#include "test_startup.moc"
