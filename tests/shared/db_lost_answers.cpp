// Answers lost between the workstation and its server, as offices meet them (a hung server
// process, a stalled pooler, a link cut while the server commits), through a relay that keeps
// back what the server says: every wait ends within its bound with a Persian message, and a
// save whose answer was lost is found out, never reported stopped, never stored twice.
#include "support/drive.h"
#include "support/pg_relay.h"
#include "support/texts.h"

#include "app/startup.h"
#include "core/connection.h"
#include "core/errors.h"
#include "registers/etebarat_src_u.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>

namespace {

// The connection bounds an office may set: the sign-in two seconds, a statement one (a server
// silent for three is cut off).
void shortBounds(Fixture &f)
{
    DbProfile p = f.profile();
    p.bounds.connectSeconds = 2;
    p.bounds.statementSeconds = 1;
    f.dm.connectMain(p);
}

// A workstation whose server connection runs through a relay.
struct Relayed {
    PgRelay relay{QString::fromLocal8Bit(qgetenv("VARNOSET_TEST_PG"))};
    std::unique_ptr<Fixture> f;
    explicit Relayed(bool withForms)
    {
        const QByteArray direct = qgetenv("VARNOSET_TEST_PG");
        qputenv("VARNOSET_TEST_PG", relay.conninfo().toLocal8Bit());
        f = std::make_unique<Fixture>(withForms);
        qputenv("VARNOSET_TEST_PG", direct);
        shortBounds(*f);
    }
    ~Relayed()
    {
        relay.setMode(PgRelay::PassOn); // the schema is dropped through it
        f.reset();
    }
};

qint64 addProject(Fixture &f)
{
    f.dm.exec("insert into prj (etb_id, ostan, city, rosta, prj_cod) values (-1, 'مرکزي', 'اراك', 'نوبران', 'P-1')");
    return f.scalar("select max(id) from prj").toLongLong();
}

// The credits window with the project current, and the new credit's form filled.
void newCredit(Fixture &f, qint64 project, const std::function<void(QDialog *)> &save)
{
    auto *w = f.form<Tetebarat_src>();
    click(w, "src_btn2");
    QVERIFY(f.dm.ADOQ_proj->locate("id", project));
    through(f, w, "N1", "Tetebar_ins", [&](QDialog *d) {
        setBox(d, "tamin_loc", "ملي");
        setBox(d, "tamin_manba", "درآمد عمومي");
        setBox(d, "sal", "1403");
        child<QLineEdit>(d, "mablagh")->clear();
        typeText(child<QLineEdit>(d, "mablagh"), "7500000");
        save(d);
    });
}

qint64 credits(Fixture &f)
{
    return f.scalar("select count(*) from etebarat where mablagh=7500000").toLongLong();
}

} // namespace

class LostAnswersTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (!testing_support::usePostgres())
            QSKIP("only a server connection loses its answers");
    }

    // The server takes the sign-in and then says nothing more: the start ends within the
    // bound (two seconds for the sign-in, two for what follows it) with the server-unavailable
    // message, and the program does not go on.
    void silentAfterTheSignInEndsTheStart()
    {
        PgRelay relay(QString::fromLocal8Bit(qgetenv("VARNOSET_TEST_PG")));
        relay.setMode(PgRelay::SilentAfterSignIn);
        const DbProfile server = DbProfile::fromConnInfo(relay.conninfo());
        {
            QSettings s;
            s.setValue("main/driver", "QPSQL");
            s.setValue("main/host", server.host);
            s.setValue("main/port", server.port);
            s.setValue("main/database", server.database);
            s.setValue("main/user", server.user);
            s.setValue("main/connect_timeout_s", 2);
        }
        ScriptedUi ui;
        Tdm dm;
        AppContext ctx;
        ctx.dm = &dm;
        ctx.ui = &ui;
        QElapsedTimer clock;
        clock.start();
        const bool started = prepareDatabases(ctx, {});
        const qint64 took = clock.elapsed();
        QSettings().remove("main");
        QVERIFY(!started);
        QVERIFY2(took < 12000, qPrintable(QString::number(took)));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().split('\n').value(1), texts::kServerUnreachable);
    }

    // Mid-session the server ends the connection, and the one the next command opens signs in
    // and then says nothing: the command ends within the bound with the message, the form
    // stays as it was and nothing is written; the next command, the server back, works.
    void silentAfterTheSignInEndsAReconnect()
    {
        Relayed r(true);
        Fixture &f = *r.f;
        const qint64 project = addProject(f);
        QElapsedTimer clock;
        newCredit(f, project, [&](QDialog *d) {
            Fixture admin(f, false);
            r.relay.setMode(PgRelay::SilentAfterSignIn);
            QVERIFY(admin.scalar("select pg_terminate_backend(?)", {f.scalar("select pg_backend_pid()")}).toBool());
            clock.start();
            click(d, "ins_btn");
            const qint64 took = clock.elapsed();
            QVERIFY2(took < 12000, qPrintable(QString::number(took)));
            QCOMPARE(f.ui.messages.size(), 1);
            QCOMPARE(f.ui.messages.first().section('\n', 0, 0), texts::kServerUnreachable);
            QVERIFY(d->isVisible());
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "7,500,000");
            r.relay.setMode(PgRelay::PassOn);
            f.ui.clear();
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
        QCOMPARE(credits(f), qint64(1));
    }

    // The server commits the save but its answer never comes back: the workstation asks the
    // server again and says "saved"; a COMMIT that never reached the server is said not saved
    // and nothing is there.
    void aLostCommitAnswerIsFoundOut()
    {
        for (const bool reached : {true, false}) {
            Relayed r(true);
            Fixture &f = *r.f;
            const qint64 project = addProject(f);
            bool stillOpen = false;
            QElapsedTimer clock;
            newCredit(f, project, [&](QDialog *d) {
                r.relay.setMode(reached ? PgRelay::HoldCommitAnswer : PgRelay::SwallowCommit);
                clock.start();
                click(d, "ins_btn");
                stillOpen = d->isVisible();
            });
            QVERIFY(r.relay.commitCaught());
            QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
            if (reached) {
                QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
                QCOMPARE(credits(f), qint64(1));
                QVERIFY(f.dm.ADOQ_etb->locate("mablagh", 7500000));
            } else {
                QCOMPARE(f.ui.messages.size(), 1);
                QCOMPARE(f.ui.messages.first().section('\n', 0, 0), texts::kNotWritten);
                QVERIFY(stillOpen);
                QCOMPARE(credits(f), qint64(0));
            }
        }
    }

    // The answer is lost and the server cannot be reached to ask: the clerk is told the outcome
    // is unknown and the form stays; the same save again, the server back, stores the credit
    // once whether the first reached the server or not.
    void anUnknownOutcomeIsNeverStoredTwice()
    {
        for (const bool reached : {true, false}) {
            Relayed r(true);
            Fixture &f = *r.f;
            const qint64 project = addProject(f);
            newCredit(f, project, [&](QDialog *d) {
                r.relay.setMode(reached ? PgRelay::HoldCommitAnswer : PgRelay::SwallowCommit);
                r.relay.setModeAfterCommit(PgRelay::RefuseNew);
                click(d, "ins_btn");
                QVERIFY(r.relay.commitCaught());
                QCOMPARE(f.ui.messages.size(), 1);
                QCOMPARE(f.ui.messages.first().section('\n', 0, 0), texts::kOutcomeUnknown);
                QVERIFY(d->isVisible());
                r.relay.setMode(PgRelay::PassOn);
                f.ui.clear();
                click(d, "ins_btn");
            });
            QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
            QCOMPARE(credits(f), qint64(1));
        }
    }
};

VARNOSET_DB_TEST_MAIN(LostAnswersTest)
#include "db_lost_answers.moc"
