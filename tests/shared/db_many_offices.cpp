// Many offices on one server and bad input on both databases: the money limit, real dates,
// control characters, a connection the server drops, a server that stops answering, a lock
// another workstation holds, a read-only embedded database.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_pic_u.h"
#include "bitumen/ghir_src_u.h"
#include "core/connection.h"
#include "core/dates.h"
#include "core/errors.h"
#include "db/setup.h"
#include "registers/azmayeshgah_ins_u.h"
#include "registers/etebarat_src_u.h"
#include "registers/khadamat_pic_u.h"
#include "registers/movafeghatname_src_u.h"
#include "registers/pishraft_ins_u.h"
#include "shared/row_writer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <csignal>
#include <future>
#include <thread>
#include <unistd.h>

namespace {

const QString kProvince = QStringLiteral("اصفهان");
const QString kCounty = QStringLiteral("كاشان");
const QString kVillage = QStringLiteral("نياسر");

void fillNew(Tghir_ins *w, const QList<QPair<QString, QString>> &over = {})
{
    QList<QPair<QString, QString>> values{
        {"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"peymankar", "شركت راه سازان"},
        {"sal", "1403"}, {"prot_no", "ق/1403/52"}, {"prot_dat", "1403/02/15"}, {"prot_mablagh", "1000000"},
        {"ghir_tahatori", "12.5"}, {"moarefi_no", "245/ص"}};
    values += over;
    for (const auto &v : values)
        w->setBoxText(v.first, v.second);
}

// The server ends the workstation's session, as an administrator would from another connection.
void endSession(Fixture &f)
{
    Fixture admin(f, false);
    QVERIFY(admin.scalar("select pg_terminate_backend(?)", {f.scalar("select pg_backend_pid()")}).toBool());
}

// The workstation's connection opened again with short bounds, as an office may set them.
void shortBounds(Fixture &f, int lockMs, int statementSeconds = 60)
{
    DbProfile p = f.profile();
    p.bounds.lockMs = lockMs;
    p.bounds.statementSeconds = statementSeconds;
    f.dm.connectMain(p);
}

// What a command that fails says ("no failure" when it does not fail); `line`: its first line.
QString failure(const std::function<void()> &command, bool line = true)
{
    try {
        command();
    } catch (const DbError &e) {
        return line ? e.message().section('\n', 0, 0) : e.message();
    }
    return QStringLiteral("no failure");
}

void addPlace(Fixture &f, const QString &ostan = kProvince, const QString &city = kCounty)
{
    f.dm.exec("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)", {ostan, city, kVillage});
}

// A row of `table` with one column set; its key.
QVariant addRow(Fixture &f, const QString &table, const QString &key, const QString &column, const QVariant &value)
{
    f.dm.exec(QStringLiteral("insert into %1 (%2) values (?)").arg(table, column), {value});
    return f.scalar(QStringLiteral("select max(%1) from %2").arg(key, table));
}

// Makes a file or folder impossible to write, as a user without rights sees it (an
// administrator writes anything not marked immutable). False when it cannot be done here.
bool makeReadOnly(const QString &path, bool on)
{
    if (geteuid() != 0)
        return QFile::setPermissions(path, on ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                              : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0;
}

} // namespace

class ManyOfficesTest : public QObject {
    Q_OBJECT
private slots:
    // The money limit, dates at month ends, control characters, years, percentages and signs,
    // checked alike on both databases before anything is written.
    void valuesCheckedBeforeWriting()
    {
        Fixture f(true);
        addPlace(f);
        const QString nul = QStringLiteral("راه") + QChar(0) + QStringLiteral("سازان");
        // The boxes' captions, which the refusals name.
        const QString kPrice = texts::boxName("مبلغ قرارداد خريد- تن ريال"), kGuarantee = texts::boxName("مبلغ ضمانتنامه"),
                      kGuaranteeDate = texts::boxName("تاريخ ضمانتنامه"), kContractor = texts::boxName("نام پيمانکار"),
                      kContract = texts::boxName("شماره قراداد خريد"), kBourse = texts::boxName("قيمت روز بورس"),
                      kYear = texts::boxName("سال تخصيص قير"), kProgress = texts::boxName("درصد پيشرفت فيزيکي"),
                      kReceived = texts::boxName("قيمت قير دريافتي از شرکت");
        // Typed into a box, and the refusal ("" when written). 1403 is a leap year, 1404 is not; the
        // first six months have 31 days, the next five 30.
        const QList<std::tuple<QString, QString, QString>> cases{
            {"prot_mablagh", "922337203685477", ""}, {"z_mablagh", "922,337,203,685,477", ""},
            {"prot_mablagh", "922337203685478", texts::tooLarge("922,337,203,685,478", kPrice)},
            {"z_mablagh", "922,337,203,685,478", texts::tooLarge("922,337,203,685,478", kGuarantee)},
            {"bors_price", "1000000000000000000", texts::tooLarge("1,000,000,000,000,000,000", kBourse)},
            {"z_dat", "1403/12/30", ""}, {"z_dat", "1404/12/29", ""}, {"z_dat", "1403/06/31", ""}, {"z_dat", "    /  /  ", ""},
            {"z_dat", "1404/12/30", texts::notADate("1404/12/30", kGuaranteeDate)},
            {"z_dat", "1403/07/31", texts::notADate("1403/07/31", kGuaranteeDate)},
            {"z_dat", "1403/13/45", texts::notADate("1403/13/45", kGuaranteeDate)},
            {"z_dat", "9999/99/99", texts::notADate("9999/99/99", kGuaranteeDate)},
            {"z_dat", "1403/05/  ", texts::notADate("1403/05/  ", kGuaranteeDate)},
            {"peymankar", nul, texts::controlCharacterIn(kContractor)},
            {"prot_no", QStringLiteral("12") + QChar(0x1B), texts::controlCharacterIn(kContract)},
            // A year of four digits, which the row needs; a whole percentage; amounts not below zero.
            {"sal", "14", texts::cannotHold("14  ", kYear, texts::kNotAYear)}, {"sal", "", texts::emptyBox(kYear)},
            {"pishraft", "2.5", texts::cannotHold("2.5", kProgress, texts::kNotWhole)},
            {"pishraft", "120", texts::cannotHold("120", kProgress, texts::kNotAPercent)},
            {"prot_mablagh", "-1000", texts::cannotHold("-1,000", kPrice, texts::kNegative)},
            {"ghir_daryafti", "-5", texts::cannotHold("-5", kReceived, texts::kNegative)}};
        auto *w = f.form<Tghir_ins>();
        through(f, f.form<Tghir_src>(), "N1", "Tghir_ins", [&](QDialog *d) {
            for (int i = 0; i < cases.size(); ++i) {
                const auto &[box, text, refusal] = cases.at(i);
                fillNew(w, {{box, text}, {"moarefi_no", QString::number(i)}}); // no two alike
                f.ui.clear();
                click(d, "ins_btn");
                QCOMPARE(f.ui.messages, QStringList{refusal.isEmpty() ? texts::kInserted : refusal});
                w->setBoxText(box, QString());
            }
        });
        QCOMPARE(f.count("ghir"), qint64(6));
        for (const char *column : {"prot_mablagh", "z_mablagh"})
            QCOMPARE(f.scalar(QStringLiteral("select max(%1) from ghir").arg(column)).toString().section('.', 0, 0), "922337203685477");
        // Any statement, a search included, refuses a bound text with a NUL.
        QVERIFY_THROWS_EXCEPTION(InputError, f.dm.scalar("select count(*) from ghir where peymankar=?", {nul}));
    }

    // The server ends the session: the next command reopens it, in the same schema. Dropped
    // inside a transaction: none of the change, the Persian message. A server that cannot be
    // reached is said so, and the next command tries again.
    void droppedConnectionReopened()
    {
        if (!testing_support::usePostgres())
            QSKIP("only a server drops a connection");
        Fixture f;
        addPlace(f);
        endSession(f);
        QCOMPARE(f.count("abadiha"), qint64(1));
        endSession(f);
        f.dm.transaction([&] { f.dm.exec("insert into setting (component, cmt) values ('a','b')"); });
        QCOMPARE(f.count("setting"), qint64(1));
        QCOMPARE(failure([&] {
            f.dm.transaction([&] {
                f.dm.exec("insert into setting (component, cmt) values ('c','d')");
                endSession(f);
                f.dm.exec("insert into setting (component, cmt) values ('e','f')");
            });
        }), texts::kServerUnreachable);
        QCOMPARE(f.count("setting"), qint64(1));
        QSqlDatabase db = f.dm.ADOConnection1();
        const int port = db.port();
        endSession(f);
        db.setPort(1);
        // The Persian sentence, the driver's text below.
        const QString unreachable =
            failure([&] { f.dm.transaction([&] { f.dm.exec("insert into setting (component) values ('g')"); }); }, false);
        QCOMPARE(unreachable.section('\n', 0, 0), texts::kServerUnreachable);
        QVERIFY2(!unreachable.section('\n', 1).trimmed().isEmpty(), qPrintable(unreachable));
        db.setPort(port);
        QCOMPARE(f.count("setting"), qint64(1));
    }

    // Every failure a user meets starts with a Persian sentence saying what happened, the
    // driver's text below: a statement or a listing the database refuses, one past its bound;
    // the next command works.
    void failuresSayWhatHappened()
    {
        Fixture f;
        shortBounds(f, 5000, 1);
        for (const auto &[sql, listed, said] : {std::tuple{"select nothing from no_such_table", false, texts::kDatabaseFailed},
                                                {"select nothing from no_such_table", true, texts::kDatabaseFailed},
                                                {"select pg_sleep(3)", false, texts::kStatementTooLong}}) {
            if (QByteArray(sql).contains("pg_sleep") && !testing_support::usePostgres())
                continue; // the embedded database runs no statement for long
            const QString message = failure([&] { listed ? f.dm.ADOQuery1->open(sql) : void(f.dm.scalar(sql)); }, false);
            QCOMPARE(message.section('\n', 0, 0), said);
            QVERIFY2(!message.section('\n', 1).trimmed().isEmpty(), qPrintable(message));
            QCOMPARE(f.scalar("select count(*) from karbaran").toInt(), 1);
        }
        // A full disk under the database: said so, nothing written. SQLite at a page count it may
        // not pass; the server, whose disk a test cannot fill, answers its disk-full error.
        if (testing_support::usePostgres())
            db::schemaStatement(f.dm, "create function full_disk() returns trigger language plpgsql as $$ begin raise "
                                      "exception 'no space left on device' using errcode = 'disk_full'; end $$; "
                                      "create trigger full_disk before insert on setting for each row execute function full_disk()");
        else
            db::schemaStatement(f.dm, "pragma max_page_count = " + f.scalar("pragma page_count").toString());
        const QString full = failure([&] {
            f.dm.transaction([&] {
                for (int i = 0; i < 200; ++i)
                    f.dm.exec("insert into setting (component, cmt) values ('a', ?)", {QString(250, QLatin1Char('x'))});
            });
        }, false);
        QCOMPARE(full.section('\n', 0, 0), texts::kDiskFull);
        QVERIFY2(!full.section('\n', 1).trimmed().isEmpty(), qPrintable(full));
        QCOMPARE(f.count("setting"), qint64(0));
    }

    // Another workstation holds the write lock (its save) or the row (its edit): the save waits
    // its bound, says so, keeps the form as it was and writes nothing.
    void heldLockEndsTheSave()
    {
        for (const bool insert : {true, false}) {
            Fixture a(true);
            Fixture b(a, false);
            addPlace(a);
            shortBounds(a, 300);
            const qint64 id = addGhir(a, {{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"prj_area", 100.0}});
            makeCurrent(a, id);
            const QStringList before = ghirRow(a, id);
            auto *w = a.form<Tghir_ins>();
            through(a, a.form<Tghir_src>(), insert ? "N1" : "N2", "Tghir_ins", [&](QDialog *d) {
                insert ? fillNew(w) : w->setBoxText("prj_area", "250");
                const auto save = [&] {
                    a.ui.clear();
                    click(d, insert ? "ins_btn" : "edit_btn");
                };
                if (insert)
                    b.dm.writeTransaction("ghir", save);
                else
                    b.dm.transaction([&] {
                        b.dm.exec("update ghir set rosta=rosta where id=?", {id});
                        save();
                    });
                QCOMPARE(a.ui.messages.size(), 1);
                QCOMPARE(a.ui.messages.first().section('\n', 0, 0), texts::kLockWait);
                QVERIFY(d->isVisible());
                QCOMPARE(w->boxText(insert ? "moarefi_no" : "prj_area"), insert ? "245/ص" : "250");
            });
            QCOMPARE(a.count("ghir"), qint64(1));
            QCOMPARE(ghirRow(a, id), before);
        }
    }

    // The server stops answering in the middle of a command (its process frozen): the command
    // ends after the bound with the message; the next one works.
    void silentServerEndsTheCommand()
    {
        if (!testing_support::usePostgres())
            QSKIP("only a server goes silent");
        Fixture f;
        shortBounds(f, 5000, 1); // silent for the statement's second and two more
        const pid_t backend = f.scalar("select pg_backend_pid()").toInt();
        QFile comm(QString("/proc/%1/comm").arg(backend));
        if (!comm.open(QIODevice::ReadOnly) || !comm.readAll().startsWith("postgres"))
            QSKIP("the server runs on another machine");
        QCOMPARE(kill(backend, SIGSTOP), 0);
        std::promise<void> ended;
        std::thread thaw([&, done = ended.get_future()] { // a command that waits for ever fails, later
            if (done.wait_for(std::chrono::seconds(30)) == std::future_status::timeout)
                kill(backend, SIGCONT);
        });
        const QString said = failure([&] { f.dm.transaction([&] { f.dm.exec("insert into setting (component) values ('a')"); }); });
        ended.set_value();
        thaw.join();
        kill(backend, SIGCONT);
        QCOMPARE(said, texts::serverSilent(3));
        f.dm.exec("insert into setting (component) values ('b')");
        QCOMPARE(f.count("setting"), qint64(1));
    }

    // Workstation A has a form open on a row's parent, B deletes the parent, A saves: nothing is
    // written and A is told, for every parent and child.
    void noRowUnderAParentDeletedMeanwhile()
    {
        const PageRights all{true, true, true, true};
        QTemporaryDir dir;
        const QString scan = writeFile(dir.filePath("scan.jpg"), "JPEG");
        // The credit register's forms: the project and credit current in the credits window.
        auto creditForm = [](const char *item, const char *form) {
            return [item, form](Fixture &a, const std::function<void()> &deleteParent) {
                auto *w = a.form<Tetebarat_src>();
                click(w, "src_btn2");
                QVERIFY(a.dm.ADOQ_etb->first());
                through(a, w, item, form, [&](QDialog *d) {
                    if (auto *source = d->findChild<QComboBox *>("tamin_manba")) // a credit needs its source
                        source->setEditText("ملي");
                    deleteParent();
                    click(d, "ins_btn");
                });
            };
        };
        // An attachment window (the file chosen after the parent was deleted) or the progress
        // register's window (its items chosen before).
        auto attach = [&](const char *window, const char *button, std::function<void(Fixture &)> open) {
            return [=](Fixture &a, const std::function<void()> &deleteParent) {
                a.ui.onShow[window] = [&](QDialog *d) {
                    if (auto *cmt = d->findChild<QComboBox *>("cmt"))
                        cmt->setEditText("scan");
                    if (QByteArray(window) == "Tpishraft_ins")
                        fillBoxes(d, {{"master_item", "m"}, {"slave_item", "s"}});
                    deleteParent();
                    a.ui.openFiles << scan;
                    click(d, button);
                };
                open(a);
            };
        };
        const auto progress = [&](const char *button) {
            return attach("Tpishraft_ins", button, [=](Fixture &a) { a.form<Tpishraft_ins>()->openFromMain(all); });
        };
        struct Case {
            const char *child, *parent;
            QString gone;
            std::function<void(Fixture &, const std::function<void()> &)> insert;
        };
        const QList<Case> cases{
            {"etebarat", "prj", texts::kProjectGone, creditForm("N1", "Tetebar_ins")},
            {"amaliyat", "prj", texts::kProjectGone, creditForm("N3", "Tprj_amaliyat")},
            {"amaliyat", "etebarat", texts::kCreditGone, creditForm("N3", "Tprj_amaliyat")},
            // Both parents gone: one message naming both.
            {"amaliyat", "prj,etebarat", texts::kProjectGone + "\n" + texts::kCreditGone, creditForm("N3", "Tprj_amaliyat")},
            {"pish", "prj", texts::kProjectGone, creditForm("N6", "Tprj_pish")},
            {"pish", "etebarat", texts::kCreditGone, creditForm("N6", "Tprj_pish")},
            {"takhsis", "prj", texts::kProjectGone, creditForm("N5", "Tetb_takhsis")},
            {"takhsis", "etebarat", texts::kCreditGone, creditForm("N5", "Tetb_takhsis")},
            {"pish_items", "pish_prj", texts::kProjectGone, progress("BitBtn2")},
            {"pish_rep", "pish_items", texts::kProgressItemGone, progress("BitBtn3")},
            {"az_pic", "azmayeshat", texts::kLabRecordGone,
             attach("Tazmayeshgah_ins", "N2", [=](Fixture &a) { a.form<Tazmayeshgah_ins>()->openFromMain(all); })},
            {"ghir_pic", "ghir", texts::kAllocationGone,
             attach("Tghir_pic", "ins_btn", [=](Fixture &a) { a.form<Tghir_pic>()->openForCurrent(all); })},
            {"ghir_pic", "ghir", texts::kListedAllocationGone,
             attach("Tghir_pic", "ins_btn", [=](Fixture &a) { a.form<Tghir_pic>()->openForList(all); })},
            {"khadamat_pic", "khadamat", texts::kServicesReportGone, attach("Tkhadamat_pic", "ins_btn", [=](Fixture &a) {
                 a.form<Tkhadamat_pic>()->openForReport(all, a.scalar("select id from khadamat"));
             })},
            {"movafeghatname_pic", "movafeghatname", texts::kAgreementGone,
             attach("Tmovafeghatname_src", "N1", [=](Fixture &a) { a.form<Tmovafeghatname_src>()->openFromMain(all); })},
        };
        for (const Case &c : cases) {
            Fixture a(true);
            Fixture b(a, false);
            // Every parent, each the only row of its table.
            addRow(a, "etebarat", "id", "prj_id", addRow(a, "prj", "id", "city", "اراك"));
            a.dm.exec("insert into pish_prj (prj_cod, title, city, rosta) values ('p','t','c','r')");
            const QVariant pcod = a.scalar("select pcod from pish_prj");
            a.dm.exec("insert into sitems (lcod, name) values (?,?)", {addRow(a, "litems", "lcod", "name", "m"), "s"});
            a.dm.exec("insert into pish_items (pcod, scod) values (?,(select max(scod) from sitems))", {pcod});
            addRow(a, "azmayeshat", "cod", "moshaver", "m");
            makeCurrent(a, addGhir(a));
            addRow(a, "khadamat", "id", "city", "اراك");
            addRow(a, "movafeghatname", "id", "sal", SolarDateText().left(4));
            const qint64 before = a.count(c.child);
            a.ui.clear();
            c.insert(a, [&] {
                for (const QString &parent : QString(c.parent).split(','))
                    b.dm.exec(QStringLiteral("delete from %1").arg(parent));
            });
            const QString pair = QStringLiteral("%1 under %2: ").arg(c.child, c.parent);
            QCOMPARE(pair + a.ui.messages.join(" | "), pair + c.gone);
            QCOMPARE(a.count(c.child), before);
        }
    }

    // A's insert holds the parent it found until its commit: B's delete of the project waits
    // for it and then takes the new credit with the project's other children.
    void parentHeldUntilTheInsertCommits()
    {
        if (!testing_support::usePostgres())
            QSKIP("two writers at once on the server");
        Fixture a(false);
        Fixture watch(a, false);
        const QVariant prj = addRow(a, "prj", "id", "city", "اراك");
        std::thread deleter;
        bool sawWait = false;
        RowWrite credit{.table = "etebarat", .columns = {"prj_id"}, .values = {prj},
                        .parents = {{"prj_id", "prj", "id", texts::kProjectGone}}};
        credit.after = [&](const QVariant &) {
            deleter = std::thread([&] {
                Tdm dm;
                dm.connectMain(a.profile());
                dm.transaction([&] {
                    dm.exec("delete from prj where id=?", {prj});
                    dm.exec("delete from etebarat where prj_id=?", {prj});
                });
            });
            for (int i = 0; i < 300 && !sawWait; ++i) {
                sawWait = watch.scalar("select count(*) from pg_stat_activity where wait_event_type='Lock'").toInt() > 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        };
        QVERIFY(InsertRow(a.ctx, credit).written());
        deleter.join();
        QVERIFY(sawWait);
        QCOMPARE(a.count("prj") + a.count("etebarat"), qint64(0));
    }

    // One workstation holds the write lock between its duplicate test and its insert; the
    // other's insert of the same key waits for it and is refused.
    void insertAndInsertUnderTheLock()
    {
        if (!testing_support::usePostgres())
            QSKIP("two writers at once on the server");
        Fixture a(true);
        addPlace(a);
        Fixture b(a, true);
        const QVariant waiter = b.scalar("select pg_backend_pid()");
        std::promise<void> locked;
        std::atomic<bool> sawWait{false};
        std::thread first([&] {
            Tdm dm, watch;
            dm.connectMain(a.profile());
            watch.connectMain(a.profile());
            dm.writeTransaction("ghir", [&] {
                dm.scalar("select count(*) from ghir where city=? and rosta=?", {kCounty, kVillage});
                dm.exec("insert into ghir (ostan, city, rosta, peymankar, ghir_tahatori, sal, moarefi_no) "
                        "values (?,?,?,?,?,?,?)",
                        {kProvince, kCounty, kVillage, "شركت راه سازان", 12.5, "1403", "7"});
                locked.set_value();
                // Held until the other workstation is seen waiting for the lock.
                for (int i = 0; i < 3000 && !sawWait; ++i) {
                    sawWait = watch.scalar("select count(*) from pg_stat_activity where pid=? and wait_event_type='Lock'",
                                           {waiter}).toInt() > 0;
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            });
        });
        locked.get_future().wait();
        auto *w = b.form<Tghir_ins>();
        through(b, b.form<Tghir_src>(), "N1", "Tghir_ins", [&](QDialog *d) {
            fillNew(w, {{"moarefi_no", "7"}});
            b.ui.clear();
            click(d, "ins_btn");
        });
        first.join();
        QVERIFY(sawWait);
        QCOMPARE(b.ui.messages, QStringList{texts::kGhirDuplicate});
        QCOMPARE(a.count("ghir"), qint64(1));
    }

    void readOnlyEmbeddedDatabase()
    {
        if (testing_support::usePostgres())
            QSKIP("an embedded database only");
        QTemporaryDir dir;
        const QString folder = dir.filePath("data");
        QDir().mkpath(folder);
        const QString file = folder + "/main.sqlite";
        {
            Tdm dm;
            dm.connectMain(DbProfile::sqliteFile(file));
            dm.exec("create table t (a int)");
        }
        const QList<std::pair<QString, QString>> cases{{file, texts::readOnly("فايل", QDir::toNativeSeparators(file))},
                                                       {folder, texts::readOnly("پوشه", QDir::toNativeSeparators(folder))}};
        // A file the driver can only read: a write says so, naming the file.
        QSqlDatabase ro = QSqlDatabase::addDatabase("QSQLITE", "ro");
        ro.setDatabaseName(file);
        ro.setConnectOptions("QSQLITE_OPEN_READONLY");
        QVERIFY(ro.open());
        QCOMPARE(failure([&] { dbconn::execute(ro, "insert into t (a) values (?)", {1}); }), cases.first().second);
        // At start-up: the file or its folder read-only is named before anything runs.
        for (const auto &[path, expected] : cases) {
            if (!makeReadOnly(path, true))
                QSKIP("files cannot be made read-only here");
            Tdm dm;
            const QString said = failure([&] { dm.connectMain(DbProfile::sqliteFile(file)); }, false);
            makeReadOnly(path, false);
            QCOMPARE(said, expected);
        }
    }
};

VARNOSET_DB_TEST_MAIN(ManyOfficesTest)
#include "db_many_offices.moc"
