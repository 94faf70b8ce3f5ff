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
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

// A server on a thread of its own that takes every connection and never answers. After
// `hangUpAfterMs` it closes them, so a start that ignores its own bound fails then rather
// than waiting for ever.
class SilentServer {
public:
    explicit SilentServer(int hangUpAfterMs)
    {
        std::promise<quint16> port;
        std::future<quint16> listening = port.get_future();
        m_thread = std::thread([this, hangUpAfterMs, &port] {
            QTcpServer server;
            port.set_value(server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0);
            std::vector<std::unique_ptr<QTcpSocket>> taken;
            QElapsedTimer clock;
            clock.start();
            while (!m_stop && clock.elapsed() < hangUpAfterMs) {
                if (server.waitForNewConnection(50))
                    while (QTcpSocket *s = server.nextPendingConnection())
                        taken.emplace_back(s);
            }
            for (auto &s : taken)
                s->abort();
        });
        m_port = listening.get();
    }
    ~SilentServer()
    {
        m_stop = true;
        m_thread.join();
    }
    quint16 port() const { return m_port; }

private:
    std::atomic_bool m_stop{false};
    std::thread m_thread;
    quint16 m_port = 0;
};

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
    // profile's bound (2 s, well within 8 s) with the Persian message, the driver's text below.
    // The server hangs up after 20 s, so a start past its bound fails rather than hangs; the
    // profile is removed before any check, so a failure here leaves the next start alone.
    void silentServerEndsTheStart()
    {
        SilentServer silent(20000);
        QVERIFY(silent.port() != 0);
        {
            QSettings s;
            s.setValue("main/driver", "QPSQL");
            s.setValue("main/host", "127.0.0.1");
            s.setValue("main/port", silent.port());
            s.setValue("main/connect_timeout_s", 2);
        }
        Program p;
        QElapsedTimer clock;
        clock.start();
        const bool started = prepareDatabases(p.ctx, {});
        const qint64 waited = clock.elapsed();
        QSettings().remove("main");
        QVERIFY(!started);
        QVERIFY2(waited < 8000, qPrintable(QString::number(waited))); // the bound, not the default
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
        const QList<QAbstractButton *> shownButtons{box.button(QMessageBox::Yes), box.button(QMessageBox::No),
                                                    box.button(QMessageBox::Cancel), buttons.button(QDialogButtonBox::Ok),
                                                    buttons.button(QDialogButtonBox::Save),
                                                    buttons.button(QDialogButtonBox::Open)};
        QStringList shown;
        for (QAbstractButton *b : shownButtons)
            shown << b->text().remove(QLatin1Char('&'));
        QCOMPARE(shown, QStringList({"بله", "نه", "انصراف", "تأیید", "ذخیره", "بازکردن"}));
    }

    // JPEG pictures are decoded through Qt's image plugin.
    void jpegPluginDecodesTheProgramsPictures()
    {
        QImageReader r(":/app/images/background.jpg");
        QCOMPARE(r.format(), QByteArray("jpeg"));
        QVERIFY2(!r.read().isNull(), qPrintable(r.errorString()));
    }
};

VARNOSET_TEST_MAIN(StartupTest)
#include "test_startup.moc"
