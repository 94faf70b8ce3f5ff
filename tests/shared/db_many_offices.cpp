// Many offices on one server and bad input on both databases: the money limit, real dates,
// control characters, a connection the server drops, a read-only embedded database.
#include "support/drive.h"

#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_src_u.h"
#include "core/connection.h"
#include "core/errors.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QUuid>
#include <unistd.h>

namespace {

const QString kProvince = QStringLiteral("اصفهان");
const QString kCounty = QStringLiteral("كاشان");
const QString kVillage = QStringLiteral("نياسر");
const QString kInserted = QStringLiteral("ثبت شد");
const QString kUnreachable = QStringLiteral("خطا! سرور بانك اطلاعاتي در دسترس نيست. لحظاتي بعد دوباره سعي نماييد");

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

// Runs the entry form's insert with each set of boxes; returns the messages of each.
QList<QStringList> insertEach(Fixture &f, const QList<QList<QPair<QString, QString>>> &cases)
{
    QList<QStringList> said;
    auto *w = f.form<Tghir_ins>();
    through(f, f.form<Tghir_src>(), "N1", "Tghir_ins", [&](QDialog *d) {
        for (int i = 0; i < cases.size(); ++i) {
            fillNew(w, cases.at(i));
            w->setBoxText("moarefi_no", QString::number(i)); // no two alike
            f.ui.clear();
            click(d, "ins_btn");
            said << f.ui.messages;
        }
    });
    return said;
}

QString backendPid(Fixture &f) { return f.scalar("select pg_backend_pid()").toString(); }

// Ends the data module's server session as an administrator would, from a connection of its own.
void terminateSession(const QString &pid)
{
    const DbProfile p = DbProfile::fromConnInfo(QString::fromLocal8Bit(qgetenv("VARNOSET_TEST_PG")));
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", name);
        admin.setHostName(p.host);
        admin.setPort(p.port);
        admin.setDatabaseName(p.database);
        admin.setUserName(p.user);
        admin.setPassword(p.password);
        QVERIFY2(admin.open(), qPrintable(admin.lastError().text()));
        QSqlQuery q(admin);
        q.prepare("select pg_terminate_backend(?)");
        q.addBindValue(pid.toInt());
        QVERIFY(q.exec() && q.next() && q.value(0).toBool());
    }
    QSqlDatabase::removeDatabase(name);
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
    void moneyLimitAtTheBoundary()
    {
        Fixture f(true);
        f.dm.exec("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)", {kProvince, kCounty, kVillage});
        // The money box's amount and a money column's text: at most 922,337,203,685,477 rials.
        const QList<QStringList> said = insertEach(
            f, {{{"prot_mablagh", "922337203685477"}, {"z_mablagh", "922,337,203,685,477"}},
                {{"prot_mablagh", "922337203685478"}},
                {{"z_mablagh", "922,337,203,685,478"}},
                {{"bors_price", "1000000000000000000"}}});
        QCOMPARE(said.at(0), QStringList{kInserted});
        QCOMPARE(said.at(1), QStringList{"خطا! مقدار «922,337,203,685,478» براي ستون prot_mablagh بزرگتر از حد مجاز است"});
        QCOMPARE(said.at(2), QStringList{"خطا! مقدار «922,337,203,685,478» براي ستون z_mablagh بزرگتر از حد مجاز است"});
        QCOMPARE(said.at(3),
                 QStringList{"خطا! مقدار «1,000,000,000,000,000,000» براي ستون bors_price بزرگتر از حد مجاز است"});
        QCOMPARE(f.count("ghir"), qint64(1));
        QCOMPARE(f.scalar("select prot_mablagh from ghir").toString().section('.', 0, 0), "922337203685477");
        QCOMPARE(f.scalar("select z_mablagh from ghir").toString().section('.', 0, 0), "922337203685477");
    }

    void datesAtMonthEnds()
    {
        Fixture f(true);
        f.dm.exec("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)", {kProvince, kCounty, kVillage});
        // 1403 is a leap year, 1404 is not; the first six months have 31 days, the next five 30.
        const QList<QPair<QString, bool>> dates{
            {"1403/12/30", true}, {"1404/12/30", false}, {"1404/12/29", true}, {"1403/06/31", true},
            {"1403/07/31", false}, {"1403/13/45", false}, {"9999/99/99", false}, {"1403/00/10", false},
            {"1403/05/  ", false}, {"    /  /  ", true}};
        QList<QList<QPair<QString, QString>>> cases;
        for (const auto &d : dates)
            cases << QList<QPair<QString, QString>>{{"z_dat", d.first}};
        const QList<QStringList> said = insertEach(f, cases);
        for (int i = 0; i < dates.size(); ++i) {
            const QString expected = dates.at(i).second
                                         ? kInserted
                                         : "خطا! مقدار «" + dates.at(i).first + "» براي ستون z_dat تاريخ معتبر نيست";
            QCOMPARE(said.at(i), QStringList{expected});
        }
        QCOMPARE(f.scalar("select count(*) from ghir where z_dat in ('1403/12/30','1404/12/29','1403/06/31','    /  /  ')")
                     .toInt(),
                 4);
        QCOMPARE(f.count("ghir"), qint64(4));
    }

    void controlCharactersRefused()
    {
        Fixture f(true);
        f.dm.exec("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)", {kProvince, kCounty, kVillage});
        const QString nul = QStringLiteral("راه") + QChar(0) + QStringLiteral("سازان");
        const QList<QStringList> said =
            insertEach(f, {{{"peymankar", nul}}, {{"prot_no", QStringLiteral("12") + QChar(0x1B)}}});
        QCOMPARE(said.at(0), QStringList{"خطا! مقدار ستون peymankar نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود"});
        QCOMPARE(said.at(1), QStringList{"خطا! مقدار ستون prot_no نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود"});
        QCOMPARE(f.count("ghir"), qint64(0));
        // Any statement, a search included, refuses a bound text with a NUL alike on both databases.
        try {
            f.dm.scalar("select count(*) from ghir where peymankar=?", {nul});
            QFAIL("a NUL was bound");
        } catch (const InputError &e) {
            QCOMPARE(e.message(), "خطا! متن وارد شده نويسه کنترلي (مانند NUL) دارد و پذيرفته نمي شود");
        }
    }

    void droppedConnectionReopened()
    {
        if (!testing_support::usePostgres())
            QSKIP("only a server drops a connection");
        Fixture f(true);
        f.dm.exec("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)", {kProvince, kCounty, kVillage});

        // The next command after the server ended the session works, in the same schema.
        terminateSession(backendPid(f));
        QCOMPARE(f.count("abadiha"), qint64(1));
        terminateSession(backendPid(f));
        f.dm.transaction([&] { f.dm.exec("insert into setting (component, cmt) values ('a','b')"); });
        QCOMPARE(f.count("setting"), qint64(1));

        // Dropped inside a transaction: none of the change, the Persian message, the next command works.
        try {
            f.dm.transaction([&] {
                f.dm.exec("insert into setting (component, cmt) values ('c','d')");
                terminateSession(backendPid(f));
                f.dm.exec("insert into setting (component, cmt) values ('e','f')");
            });
            QFAIL("the change went through");
        } catch (const DbError &e) {
            QVERIFY2(e.message().startsWith(kUnreachable + "\n"), qPrintable(e.message()));
        }
        QCOMPARE(f.count("setting"), qint64(1));

        // The server cannot be reached: the form keeps its boxes and the next command tries again.
        auto *w = f.form<Tghir_ins>();
        QSqlDatabase db = f.dm.ADOConnection1();
        const int port = db.port();
        through(f, f.form<Tghir_src>(), "N1", "Tghir_ins", [&](QDialog *d) {
            fillNew(w, {{"z_mablagh", "5,000,000"}});
            terminateSession(backendPid(f));
            db.setPort(1);
            f.ui.clear();
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages.size(), 1);
            const QStringList lines = f.ui.messages.first().split('\n');
            QCOMPARE(lines.first(), kUnreachable);
            QVERIFY2(lines.size() > 1 && !lines.at(1).trimmed().isEmpty(), qPrintable(f.ui.messages.first()));
            QVERIFY(d->isVisible());
            QCOMPARE(w->boxText("z_mablagh"), "5,000,000");
            QCOMPARE(w->boxText("peymankar"), "شركت راه سازان");
            f.ui.clear();
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages.first().split('\n').first(), kUnreachable);
            db.setPort(port);
            f.ui.clear();
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages, QStringList{kInserted});
        });
        QCOMPARE(f.count("ghir"), qint64(1));
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
        struct Case {
            QString path, expected;
        };
        const QList<Case> cases{
            {file, "خطا! فايل بانك اطلاعاتي «" + QDir::toNativeSeparators(file) + "» فقط خواندني است و برنامه نمي تواند در آن بنويسد"},
            {folder, "خطا! پوشه بانك اطلاعاتي «" + QDir::toNativeSeparators(folder) + "» فقط خواندني است و برنامه نمي تواند در آن بنويسد"}};
        // A file the driver can only read: a write says so, naming the file.
        QSqlDatabase ro = QSqlDatabase::addDatabase("QSQLITE", "ro");
        ro.setDatabaseName(file);
        ro.setConnectOptions("QSQLITE_OPEN_READONLY");
        QVERIFY(ro.open());
        try {
            dbconn::execute(ro, "insert into t (a) values (?)", {1});
            QFAIL("written");
        } catch (const DbError &e) {
            QVERIFY2(e.message().startsWith(cases.first().expected + "\n"), qPrintable(e.message()));
        }
        ro.close();
        ro = QSqlDatabase();
        QSqlDatabase::removeDatabase("ro");
        // At start-up: the file or its folder read-only is named before anything runs.
        for (const Case &c : cases) {
            if (!makeReadOnly(c.path, true))
                QSKIP("files cannot be made read-only here");
            Tdm dm;
            QString said;
            try {
                dm.connectMain(DbProfile::sqliteFile(file));
            } catch (const DbError &e) {
                said = e.message();
            }
            makeReadOnly(c.path, false);
            QCOMPARE(said, c.expected);
        }
    }
};

VARNOSET_DB_TEST_MAIN(ManyOfficesTest)
#include "db_many_offices.moc"
