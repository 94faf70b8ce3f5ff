// Schema set-up and its version, sign-in, the main window's openers, the exit question, the
// sample data, the command that sets a password and the sqlite3 tool's collation.
#include "support/drive.h"
#include "support/texts.h"

#include "core/auth.h"
#include "core/errors.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "app/startup.h"
#include "db/sample_data.h"
#include "db/schema.h"
#include "db/setup.h"
#include "shared/menus.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QSqlRecord>
#include <csignal>
#include <latch>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// `varnoset --set-password user` with the answers on its standard input, a pipe, or on a
// terminal of its own (a pty), each prompt (ending in ": ") answered by a line; what the program
// showed and its exit code.
std::pair<QString, int> setPassword(const QString &user, const QStringList &answers, bool terminal)
{
    if (!terminal) {
        QProcess p;
        p.start(VARNOSET_PROGRAM, {"--set-password", user});
        p.write((answers.join('\n') + '\n').toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()), p.exitCode()};
    }
    const QByteArray program = VARNOSET_PROGRAM, option = "--set-password", name = user.toUtf8();
    char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(option.constData()),
                          const_cast<char *>(name.constData()), nullptr};
    int pty = -1;
    const pid_t pid = forkpty(&pty, nullptr, nullptr, nullptr);
    if (pid == 0) {
        execv(argv[0], argv);
        _exit(127);
    }
    QByteArray shown;
    qsizetype answeredAt = -1;
    int answered = 0;
    bool timedOut = true;
    pollfd wait{pty, POLLIN, 0};
    while (poll(&wait, 1, 30000) > 0) {
        char buf[512];
        const ssize_t n = read(pty, buf, sizeof buf);
        if (n <= 0) { // the program ended
            timedOut = false;
            break;
        }
        shown.append(buf, n);
        if (answered < answers.size() && shown.endsWith(": ") && shown.size() > answeredAt) {
            const QByteArray line = answers.at(answered++).toUtf8() + '\n';
            if (write(pty, line.constData(), size_t(line.size())) != line.size())
                break;
            answeredAt = shown.size();
        }
    }
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(pty);
    return {QString::fromUtf8(shown), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// What a set-up could change: the schema as the database describes it, and the rows it writes.
QStringList schemaAndRows(Fixture &f)
{
    return rows(f, testing_support::usePostgres()
                       ? "select table_name, column_name, data_type from information_schema.columns where "
                         "table_schema=current_schema() union all select indexname, indexdef, '' from pg_indexes "
                         "where schemaname=current_schema() order by 1, 2"
                       : "select type, name, sql from sqlite_master order by name")
           + rows(f, "select version from schema_version") + rows(f, "select karbar, pass from karbaran order by id")
           + rows(f, "select prs_id, page_name from dastrasi order by id") + rows(f, "select component, cmt from setting");
}

} // namespace

class FoundationTest : public QObject {
    Q_OBJECT
private slots:
    // Every table of the main database with its columns in the order of its definition; the
    // correspondence database's table.
    void schemaHasEveryTableInOrder()
    {
        Fixture f;
        for (const db::TableDef &t : db::tables()) {
            if (t.conn != db::Conn::Main)
                continue;
            const QSqlRecord rec = f.dm.ADOConnection1().record(QString::fromLatin1(t.name));
            QStringList columns, defined;
            for (int i = 0; i < rec.count(); ++i)
                columns << rec.fieldName(i).toLower();
            for (const db::ColumnDef &c : t.columns)
                defined << QString::fromLatin1(c.name);
            QCOMPARE(QString::fromLatin1(t.name) + ": " + columns.join(' '), QString::fromLatin1(t.name) + ": " + defined.join(' '));
        }
        const QSqlRecord prot = f.dm.ADOConn_prot().record("prot");
        QVERIFY(prot.indexOf("num") >= 0 && prot.indexOf("mablagh") >= 0);
    }

    // A database made before versions were recorded opens as version 1 with its rows and
    // rights; the upgrade steps above a database's version run once each, in order; a failing
    // step leaves the version and the data as they were.
    void setupKeepsRowsAndUpgradesInOrder()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?, ?)", {"بانک", "ملی"});
        const qint64 rights = f.count("dastrasi");
        QVERIFY(rights > 0);
        db::schemaStatement(f.dm, "drop table schema_version");
        db::setupSchema(f.dm);
        QCOMPARE(QList<qint64>({db::schemaVersion(f.dm), f.count("setting"), f.count("karbaran"), f.count("dastrasi")}),
                 QList<qint64>({1, 1, 1, rights}));
        QCOMPARE(f.scalar("select level from karbaran where karbar='admin'").toString(), "admin");

        QStringList ran;
        auto step = [&](int version, const QString &sql = "insert into setting (component, cmt) values ('v', ?)") {
            return db::UpgradeStep{version, [&ran, version, sql](Tdm &dm) {
                                       ran << QString::number(version);
                                       dm.exec(sql, {version});
                                   }};
        };
        db::setupSchema(f.dm, {step(2), step(3)});
        db::setupSchema(f.dm, {step(2), step(3)});
        QCOMPARE(ran, (QStringList{"2", "3"}));
        QCOMPARE(db::schemaVersion(f.dm), 3);
        QVERIFY_THROWS_EXCEPTION(DbError, db::setupSchema(f.dm, {step(3), step(4), step(5, "select ? from no_such_table")}));
        QVERIFY(db::schemaVersion(f.dm) == 3 && f.count("setting") == 3);
    }

    // A database whose recorded version is newer than the program knows is refused, naming both
    // versions, with nothing made or changed (a dropped column, index and table stay dropped): by
    // the set-up, at start-up (the message alone, the start ends) and by --set-password.
    void newerDatabaseIsLeftAlone()
    {
        Fixture f;
        f.addUser("u1", "old", "city");
        for (const char *sql : {"alter table abadiha drop column zarib", "drop index ix_ghir_city", "drop table pish_rep",
                                "update schema_version set version=7"})
            db::schemaStatement(f.dm, sql);
        const QStringList before = schemaAndRows(f);
        bool ran = false;
        const std::vector<db::UpgradeStep> steps{{2, [&ran](Tdm &) { ran = true; }}, {3, [&ran](Tdm &) { ran = true; }}};
        for (const auto &[given, known] : {std::pair{std::vector<db::UpgradeStep>{}, 1}, std::pair{steps, 3}}) {
            try {
                db::setupSchema(f.dm, given);
                QFAIL("a newer database was set up");
            } catch (const db::NewerSchema &e) {
                QCOMPARE(e.message(), texts::newerSchema(7, known));
            }
        }
        QSettings s;
        f.profile().save(s, "main");
        ScriptedUi ui;
        Tdm dm;
        AppContext ctx;
        ctx.dm = &dm;
        ctx.ui = &ui;
        const bool started = prepareDatabases(ctx, {});
        s.remove("main");
        QVERIFY(!started && !ran);
        QCOMPARE(ui.messages, QStringList{texts::newerSchema(7, 1)});
        QSettings program("varnoset", "varnoset");
        f.profile().save(program, "main");
        program.sync();
        QCOMPARE(setPassword("u1", {"new1", "new1"}, false), std::pair(texts::newerSchema(7, 1) + '\n', 1));
        QCOMPARE(schemaAndRows(f), before);
    }

    // Two workstations start at once, with two upgrade steps that record their runs, on a database
    // of version 1 (each step runs once) and on a new one (made once at the last step's version,
    // running no step); neither fails.
    void twoStartsAtOnceSetUpOnce()
    {
        for (const bool fresh : {false, true}) {
            Fixture f;
            DbProfile target = f.profile(); // a new database: another file, another schema
            if (fresh)
                (target.isPostgres() ? target.schema : target.path) += "_new";
            Tdm watch;
            watch.connectMain(target);
            std::latch ready(2);
            QString errors[2];
            auto start = [&](int n) {
                auto step = [](int v) {
                    return db::UpgradeStep{v, [v](Tdm &dm) {
                                               dm.exec("insert into setting (component, cmt) values ('step', ?)", {v});
                                               std::this_thread::sleep_for(std::chrono::milliseconds(300));
                                           }};
                };
                bool arrived = false;
                try {
                    Tdm dm;
                    dm.connectMain(target);
                    ready.arrive_and_wait();
                    arrived = true;
                    db::setupSchema(dm, {step(2), step(3)});
                } catch (const AppError &e) {
                    if (!arrived)
                        ready.count_down();
                    errors[n] = e.message();
                }
            };
            std::thread a(start, 0), b(start, 1);
            a.join();
            b.join();
            QCOMPARE(errors[0] + errors[1], QString());
            QCOMPARE(QStringList({QString::number(db::schemaVersion(watch)), watch.scalar("select count(*) from karbaran").toString(),
                                  watch.scalar("select count(*) from dastrasi").toString(),
                                  watch.scalar("select count(*) || '/' || count(distinct cmt) from setting where component='step'").toString()}),
                     QStringList({"3", "1", QString::number(f.count("dastrasi")), fresh ? "0/0" : "2/2"}));
            if (fresh && target.isPostgres())
                db::schemaStatement(f.dm, QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(target.schema));
        }
    }

    // varnoset --set-password: the password read twice (a pipe, or a terminal that does not
    // show it) and stored as a hash for an existing user; an unknown user, two answers that
    // differ or a password longer than the sign-in box takes store nothing and exit with a failure.
    void setPasswordFromTheCommandLine()
    {
        const QString stored = "كلمه عبور كاربر u1 ثبت شد";
        const QString longest(32767, QChar(0x0628));
        const std::tuple<QString, bool, QStringList, QString> cases[] = {
            {"u1", false, {"رمز تازه ۱", "رمز تازه ۱"}, stored},
            {"u1", true, {"s3cret!", "s3cret!"}, stored},
            {"u1", false, {"a1", "b2"}, "خطا! كلمه عبور خالي است يا با تكرار آن يكسان نيست؛ چيزي ثبت نشد"},
            {"u9", true, {"a1", "a1"}, "خطا! كاربر u9 در بانك اطلاعاتي نيست؛ چيزي ثبت نشد"},
            // The longest password the sign-in box takes, and one character more.
            {"u1", false, {longest, longest}, stored},
            {"u1", false, {longest + "x", longest + "x"}, texts::kPasswordTooLong}};
        for (const auto &[user, terminal, answers, said] : cases) {
            Fixture f;
            f.addUser("u1", "old", "city");
            {
                QSettings s("varnoset", "varnoset");
                f.profile().save(s, "main");
            }
            const auto [shown, code] = setPassword(user, answers, terminal);
            const bool kept = user == "u1" && answers.first() == answers.last() && answers.first().size() <= 32767;
            QCOMPARE(code == 0, kept);
            QVERIFY2(shown.contains(said), qPrintable(shown));
            // From a pipe the answer alone is shown (no server notice), with the database it went to.
            const DbProfile &p = f.profile();
            const QString where = p.isPostgres() ? QString("%1@%2:%3 (%4)").arg(p.database, p.host).arg(p.port).arg(p.schema) : p.path;
            if (!terminal)
                QCOMPARE(shown, said == stored ? texts::kPasswordStored.arg(user, where) : said + '\n');
            QVERIFY2(!shown.contains(answers.first()) || !terminal, qPrintable(shown)); // not shown
            QVERIFY(verifyPassword(kept ? answers.first() : "old", f.scalar("select pass from karbaran where karbar='u1'").toString()));
            QCOMPARE(f.count("karbaran"), qint64(2));
        }
        Fixture f;
        QCOMPARE(Tlogin(f.ctx).password->maxLength(), 32767);
    }

    // The sqlite3 tool writes a ghir row (an index of which sorts by the collation "fa") with the
    // collation loaded from beside the program, and is refused without it.
    void sqliteToolWritesWithTheCollation()
    {
        if (testing_support::usePostgres())
            QSKIP("the embedded database only");
        Fixture f;
        f.dm.exec("insert into ghir (rosta) values (?)", {"نياسر"});
        auto tool = [&](const QString &script) {
            QProcess p;
            p.start("sqlite3", {"-bail", f.profile().path});
            p.write(script.toUtf8());
            p.closeWriteChannel();
            p.waitForFinished(30000);
            return QString::fromUtf8(p.readAllStandardError());
        };
        QVERIFY(tool("update ghir set rosta='گز';").contains("no such collation sequence: fa"));
        QCOMPARE(f.scalar("select rosta from ghir").toString(), "نياسر");
        QCOMPARE(tool(".load " VARNOSET_FA_EXTENSION "\nupdate ghir set rosta='گز';"), QString());
        QCOMPARE(f.scalar("select rosta from ghir").toString(), "گز");
    }

    void signIn()
    {
        Fixture f(true);
        f.addUser("1234567890", "secret", "ostan");
        f.addUser("1111111111", "pw", "city", false);
        f.addUser("abhar", "pw", "city");
        // The password is not kept as typed.
        QVERIFY(!f.scalar("select pass from karbaran where karbar='1234567890'").toString().contains("secret"));
        auto *login = f.form<Tlogin>();
        f.ctx.CurrentUser = {};
        auto signIn = [&](const QString &user, const QString &password) {
            child<QLineEdit>(login, "user_name")->setText(user);
            child<QLineEdit>(login, "password")->setText(password);
            click(login, "enter_btn");
            return f.ui.lastMessage();
        };
        QCOMPARE(signIn("1234567890", "wrong"), texts::kWrongPassword);
        QCOMPARE(signIn("Abhar", "pw"), texts::kWrongPassword); // user names are exact
        QVERIFY(f.ctx.CurrentUser.karbar.isEmpty());
        QCOMPARE(signIn("1111111111", "pw"), texts::kInactiveUser);
        QCOMPARE(f.count("log"), qint64(0));

        login->show();
        signIn("1234567890", "secret");
        QCOMPARE(f.ctx.CurrentUser.karbar + " " + f.ctx.CurrentUser.level, "1234567890 ostan");
        QVERIFY(!f.ctx.CurrentUser.prs_id.isEmpty());
        QVERIFY(!login->isVisible() && f.form<Tmain>()->isVisible());
        QCOMPARE(rows(f, "select karbar from log"), QStringList{"1234567890"});
        // The next start pre-fills the last user name.
        Tlogin again(f.ctx);
        QCOMPARE(child<QLineEdit>(&again, "user_name")->text(), "1234567890");
    }

    void openerChecksThePage()
    {
        Fixture f(true);
        auto *m = f.form<Tmain>();
        PageRights got;
        int opened = 0;
        m->bindOpener("N13", [&](const PageRights &r) { got = r; ++opened; });
        auto openAs = [&](qint64 u, const QString &name) {
            f.signInAs(u, name, "city");
            f.ui.clear();
            m->trigger("N13");
            return f.ui.messages;
        };
        // No row, and a row without the right to open: refused.
        const qint64 none = f.addUser("u1", "p", "city"), hidden = f.addUser("u2", "p", "city"),
                     may = f.addUser("u3", "p", "city");
        f.grant(hidden, "ghir", true, true, true, false);
        QCOMPARE(openAs(none, "u1") + openAs(hidden, "u2"), (QStringList{texts::kNoAccess, texts::kNoAccess}));
        QCOMPARE(opened, 0);
        // A user who may open gets the opener with the row's rights; another user's row gives nothing.
        f.grant(may, "ghir", true, false, true, true);
        QVERIFY(openAs(may, "u3").isEmpty() && opened == 1);
        QVERIFY(got.darj && !got.virayesh && got.hazf && got.namayesh);
        QCOMPARE(openAs(none, "u1"), QStringList{texts::kNoAccess});
        QCOMPARE(opened, 1);
        // The progress register and its item catalogue stand in the menus their windows name.
        for (const auto &[menu, item, title] : {std::tuple{"amar_menu", "N11", "آمار و اطلاعات"}, {"base_menu", "N12", "اطلاعات پايه"}})
            QVERIFY(m->menus()->menu(menu)->title() == title && m->menus()->menu(menu)->actions().contains(m->menus()->action(item)));
    }

    void exitQuestion()
    {
        Fixture f(true);
        auto *m = f.form<Tmain>();
        auto *login = f.form<Tlogin>();
        m->show();
        login->show();
        for (const Ui::Answer a : {Ui::No, Ui::Cancel, Ui::Yes}) {
            f.ui.answers.enqueue(a);
            m->close();
            QCOMPARE(m->isVisible() + login->isVisible(), a == Ui::Yes ? 0 : 2);
        }
        QCOMPARE(f.ui.questions, QStringList(3, texts::kExitQuestion));
    }

    // The newcomer's sample data fills only a new database (one setting row makes it one in
    // use), and its users can sign in.
    void sampleDataFillsANewDatabaseOnly()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"بانک", "ملت"});
        f.dm.exec("update karbaran set pass=? where karbar='admin'", {hashPassword("own")});
        QVERIFY(!fillSampleData(f.dm));
        QCOMPARE(f.count("setting") + f.count("karbaran"), qint64(2));
        QVERIFY(verifyPassword("own", f.scalar("select pass from karbaran where karbar='admin'").toString()));
        // A new database: no setting row, the administrator without a password.
        f.dm.exec("delete from setting");
        f.dm.exec("update karbaran set pass=null where karbar='admin'");
        QVERIFY(fillSampleData(f.dm));
        QVERIFY(f.count("abadiha") > 0);
        QCOMPARE(f.scalar("select count(*) from setting where component=?", {"رمز حذف"}).toInt(), 1);
        // Each user signs in with the password the README gives.
        const std::pair<const char *, const char *> users[] = {
            {"admin", "admin"}, {"2280000016", "ostan123"}, {"2280000024", "city123"}, {"ابهر", "abhar123"}};
        for (const auto &[user, password] : users)
            QVERIFY2(verifyPassword(password, f.scalar("select pass from karbaran where karbar=?", {user}).toString()), user);
        QVERIFY(f.scalar("select count(*) from dastrasi2 d join karbaran k on k.id=d.user_id where k.level='city'").toInt() == 2);
        QCOMPARE(QSqlQuery("select count(*) from prot", f.dm.ADOConn_prot()).next(), true);
        // A second run adds nothing.
        const qint64 settings = f.count("setting");
        QVERIFY(!fillSampleData(f.dm));
        QCOMPARE(f.count("setting"), settings);
    }
};

VARNOSET_DB_TEST_MAIN(FoundationTest)
#include "db_foundation.moc"
