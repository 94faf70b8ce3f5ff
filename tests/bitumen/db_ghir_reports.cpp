// The bitumen window's province web reports: the report filter, each report's rows, titles and
// totals worked out by hand, the scratch tables they leave, and two workstations running the
// same report at once.
#include "support/drive.h"
#include "support/exports_read.h"

#include "support/texts.h"

#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "core/connection.h"
#include "core/errors.h"
#include "shared/exports.h"
#include "shared/scratch_table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

namespace {

const QString kRefused = "شما به اين صفحه دسترسي نداريد";
const QString kTotal = "جمع کل";
const QStringList kWebHeader = {"رديف", "شهرستان", "روستا", "پيمانکار", "معرفي به ضمانتنامه", "شماره معرفي نامه",
                                "معرفي به شرکت نفت", "تاييديه دفتر مرکزي"};
const QString kLetter = "1234/ص";

QStringList column(Fixture &f, const QString &sql)
{
    QSqlQuery q(f.dm.ADOConnection1());
    if (!q.exec(sql))
        qFatal("%s", qPrintable(sql));
    QStringList out;
    while (q.next())
        out << DataSet::valueText(q.value(0));
    return out;
}

// The web report's three allocations: A introduced to the oil company with a letter number
// holding "/", B with neither letter, C (another county) with both.
void addWebRows(Fixture &f)
{
    addGhir(f, {{"peymankar", "پارس"}, {"city", "ساوه"}, {"rosta", "ده"}, {"ghir_tahatori", 12.5},
                {"moarefi_no", "M7"}, {"tehran_paper_no", "T1"}});
    addGhir(f, {{"peymankar", "الف"}, {"rosta", "نوبران"}, {"ghir_tahatori", 20}, {"moarefi_no", kLetter},
                {"tehran_paper_no", ""}});
    addGhir(f, {{"peymankar", "بهار"}, {"rosta", "خنجين"}, {"ghir_tahatori", 20}});
}

const QList<QStringList> kWebRows = {
    kWebHeader,
    {"1", "اراك", "نوبران", "الف", "20", kLetter, "20", "0"},
    {"2", "اراك", "خنجين", "بهار", "20", "", "0", "0"},
    {"3", "ساوه", "ده", "پارس", "12.5", "M7", "12.5", "12.5"},
    {"", "", "", kTotal, "52.5", "", "32.5", "12.5"},
};

// A second workstation on the same database: its own connection, Ui and bitumen window.
struct Workstation {
    Tdm dm;
    ScriptedUi ui;
    AppContext ctx;
    std::unique_ptr<Tghir_src> window;
    explicit Workstation(Fixture &f)
    {
        dm.connectMain(f.dm.mainProfile());
        ctx.dm = &dm;
        ctx.ui = &ui;
        ctx.CurrentUser = f.ctx.CurrentUser;
        window = std::make_unique<Tghir_src>(ctx);
        Tghir_reports::attach(ctx, window.get());
    }
    ~Workstation()
    {
        window.reset();
        dm.disconnectAll();
    }
};

// A Ui whose save dialog lets something happen before it answers.
class PausingUi : public ScriptedUi {
public:
    std::function<void()> whileAsking;
    QString saveFileName(const QString &c, const QString &p, const QString &f, QWidget *w) override
    {
        if (whileAsking)
            whileAsking();
        return ScriptedUi::saveFileName(c, p, f, w);
    }
};

} // namespace

class GhirReportsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void reportFilterTakesEnabledBoxesOnly()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_src>();
        QVariantList binds;
        QCOMPARE(ReportFilterClause(w, binds), QString());
        QVERIFY(binds.isEmpty());

        // The window's own county list plays no part; each ticked box adds its line.
        click(w, "CheckBox2");
        child<QComboBox>(w, "city")->setEditText("اراك");
        click(w, "add_city");
        click(w, "CheckBox3");
        child<QComboBox>(w, "rosta")->setEditText("نو");
        click(w, "CheckBox1");
        child<QComboBox>(w, "peymankar")->setEditText("it's");
        click(w, "CheckBox4");
        child<QLineEdit>(w, "reg_dat1")->setText("1403/01/01");
        child<QLineEdit>(w, "reg_dat2")->setText("1403/06/31");
        click(w, "CheckBox5");
        child<QLineEdit>(w, "sal")->setText("14");
        click(w, "CheckBox6");
        child<QComboBox>(w, "prj_typ")->setEditText("آسفالت");
        QCOMPARE(ReportFilterClause(w, binds), QString("\n and city like ?\n and rosta like ?\n and peymankar like ?"
                                                       "\n and reg_dat>=? and reg_dat<=?\n and sal=?\n and prj_typ=?"));
        QCOMPARE(binds, (QVariantList{"%اراك%", "%نو%", "%it's%", "1403/01/01", "1403/06/31", "14  ", "آسفالت"}));

        // Against the rows: a quote in a box is only a value; an unfilled year sends its blanks.
        const qint64 hit = addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "it's ok"}, {"reg_dat", "1403/02/01"},
                                       {"sal", "14  "}});
        addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "it's ok"}, {"reg_dat", "1403/07/01"}, {"sal", "14  "}});
        addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "its"}, {"reg_dat", "1403/02/01"}, {"sal", "14  "}});
        addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "it's ok"}, {"reg_dat", "1403/02/01"}, {"sal", "1403"}});
        QCOMPARE(f.scalar("select count(*) from ghir where id<>-1 " + ReportFilterClause(w, binds = {}), binds)
                     .toLongLong(),
                 1);
        QCOMPARE(f.scalar("select min(id) from ghir where id<>-1 " + ReportFilterClause(w, binds = {}), binds)
                     .toLongLong(),
                 hit);

        // Unticking a box takes it out again.
        for (const char *box : {"CheckBox2", "CheckBox3", "CheckBox1", "CheckBox5", "CheckBox6"})
            click(w, box);
        QCOMPARE(ReportFilterClause(w, binds = {}), QString("\n and reg_dat>=? and reg_dat<=?"));
    }

    void webReportListsItsRowsAndTotals()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f); // the user's county is اراك; ساوه is listed all the same
        auto *w = f.form<Tghir_src>();
        const QString file = m_dir.filePath("rep.htm");
        f.ui.saveFiles << file;
        click(w, "N19");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(htmlFileRows(file), kWebRows);
        QCOMPARE(f.ui.openedFiles, QStringList{file});
        QCOMPARE(column(f, "select moarefi_no from ghir_rep2"), (QStringList{kLetter, "", "M7"}));
        QCOMPARE(column(f, "select sum(ghir_naft) from ghir_rep2"), QStringList{"32.5"});

        // A second run with a filter leaves only its own rows; Cancel in the save dialog writes
        // and opens nothing but keeps the table filled.
        click(w, "CheckBox1");
        child<QComboBox>(w, "peymankar")->setEditText("بهار");
        click(w, "N19");
        QCOMPARE(column(f, "select rosta from ghir_rep2"), QStringList{"خنجين"});
        QCOMPARE(f.ui.openedFiles, QStringList{file});

        // A filter that matches nothing: the header, no rows, the totals row with empty totals.
        child<QComboBox>(w, "peymankar")->setEditText("هيچ");
        f.ui.saveFiles << file;
        click(w, "N19");
        QCOMPARE(htmlFileRows(file), (QList<QStringList>{kWebHeader, {"", "", "", kTotal, "", "", "", ""}}));
        QCOMPARE(f.count("ghir_rep2"), 0);

        // Cancel in the progress bar changes nothing.
        click(w, "CheckBox1");
        f.ui.cancelProgressAt = 0;
        f.ui.saveFiles << m_dir.filePath("never.htm");
        click(w, "N19");
        QCOMPARE(f.count("ghir_rep2"), 0);
        QVERIFY(!QFile::exists(m_dir.filePath("never.htm")));
    }

    void progressReportListsIntroducedAllocations()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addGhir(f, {{"peymankar", "الف"}, {"ghir_tahatori", 20}, {"pishraft", 35}, {"moarefi_no", "M1"}});
        addGhir(f, {{"peymankar", "ب"}, {"ghir_tahatori", 20}, {"pishraft", 50}});            // no letter
        addGhir(f, {{"peymankar", "ت"}, {"ghir_tahatori", 0}, {"pishraft", 50}, {"moarefi_no", "M2"}}); // 0 t
        addGhir(f, {{"peymankar", "ث"}, {"ghir_tahatori", 12.5}, {"pishraft", 33}, {"moarefi_no", "M3"},
                    {"tehran_paper_no", "T3"}});
        const QString file = m_dir.filePath("progress.htm");
        f.ui.saveFiles << file;
        click(f.form<Tghir_src>(), "N20");
        // 20 t at 35% realised 7 t; 12.5 t at 33% realised 4.125 t.
        QCOMPARE(htmlFileRows(file),
                 (QList<QStringList>{{"رديف", "شهرستان", "روستا", "پيمانکار", "معرفي به شرکت نفت", "تاييديه دفتر مرکزي",
                                      "درصد پيشرفت فيزيکي", "قير محقق شده"},
                                     {"1", "اراك", "روستا", "الف", "20", "0", "35", "7"},
                                     {"2", "اراك", "روستا", "ث", "12.5", "12.5", "33", "4.125"},
                                     {"", "", "", kTotal, "32.5", "12.5", "", "11.125"}}));
        QCOMPARE(f.count("ghir_rep1"), 4);
    }

    void minutesReportSkipsRowsWithoutMinutes()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addGhir(f, {{"peymankar", "الف"}, {"ghir_tahatori", 20}, {"pishraft", 50}, {"moarefi_no", "M1"},
                    {"jalase_dat", "1403/06/01"}, {"ghir_t", "3.5"}});
        // The minutes date is the empty date: listed and totalled, no body row.
        addGhir(f, {{"peymankar", "ب"}, {"ghir_tahatori", 8}, {"pishraft", 100}, {"moarefi_no", "M2"},
                    {"ghir_t", "9"}});
        // An exchange figure that is not a number leaves the row out without a word.
        addGhir(f, {{"peymankar", "پ"}, {"ghir_tahatori", 30}, {"pishraft", 10}, {"moarefi_no", "M3"},
                    {"jalase_dat", "1403/06/02"}, {"ghir_t", "سه"}});
        addGhir(f, {{"peymankar", "ت"}, {"ghir_tahatori", 4}, {"pishraft", 25}, {"moarefi_no", "M4"},
                    {"jalase_dat", "1403/06/03"}, {"ghir_t", "2"}, {"tehran_paper_no", "T4"}});
        const QString file = TempExportPath("Tobrenhal.htm");
        click(f.form<Tghir_src>(), "N21");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(htmlFileRows(file),
                 (QList<QStringList>{{"رديف", "شهرستان", "روستا", "پيمانکار", "معرفي به شرکت نفت", "تاييديه دفتر مرکزي",
                                      "قير محقق شده", "صورتجلسه مصرف قير"},
                                     {"1", "اراك", "روستا", "الف", "20", "0", "10", "3.5"},
                                     {"3", "اراك", "روستا", "ت", "4", "4", "1", "2"},
                                     {"", "", "", kTotal, "32", "4", "19", "5.5"}}));
        QCOMPARE(f.ui.openedFiles, QStringList{file});
        QCOMPARE(f.count("ghir_rep1"), 3);
    }

    // Cancel in the middle of a long run: the rows already sent are taken back, the table
    // keeps what it held and nothing is written.
    void longRunCancelledHalfWay()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        click(f.form<Tghir_src>(), "N19"); // cancelled in the save dialog: the table holds 3 rows
        f.dm.exec("insert into ghir (peymankar, ghir_tahatori, moarefi_no) with recursive n(i) as "
                  "(select 1 union all select i+1 from n where i<2500) select 'z', i, 'M' from n");
        f.ui.cancelProgressAt = 2000;
        f.ui.saveFiles << m_dir.filePath("half.htm");
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.count("ghir_rep2"), 3);
        QVERIFY(!QFile::exists(m_dir.filePath("half.htm")));
        // The connections serve the next run.
        f.ui.cancelProgressAt = -1;
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(f.count("ghir_rep2"), 2503);
    }

    // The server ends the report's sessions in the middle of the fill: the Persian message with
    // the driver's text below, the table as it was, nothing written; the next run works.
    void serverGoneDuringTheFill()
    {
        if (!testing_support::usePostgres())
            QSKIP("only a server goes away");
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        click(f.form<Tghir_src>(), "N19"); // cancelled in the save dialog: the table holds 3 rows
        f.dm.exec("insert into ghir (peymankar, ghir_tahatori, moarefi_no) select 'z', i, 'M' from generate_series(1, 2500) i");
        QSqlQuery reader = dbconn::execute(f.dm.readerConnection(), "select pg_backend_pid()", {});
        const QVariantList sessions{f.scalar("select pg_backend_pid()"), reader.next() ? reader.value(0) : QVariant()};
        f.ui.onProgress = [&](qint64 done) {
            if (done != 1000)
                return;
            Fixture admin(f, false);
            for (const QVariant &pid : sessions)
                QVERIFY(admin.scalar("select pg_terminate_backend(?)", {pid}).toBool());
        };
        f.ui.saveFiles << m_dir.filePath("gone.htm");
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(f.ui.messages.size(), 1);
        QCOMPARE(f.ui.messages.first().section('\n', 0, 0), texts::kServerUnreachable);
        QVERIFY2(!f.ui.messages.first().section('\n', 1).trimmed().isEmpty(), qPrintable(f.ui.messages.first()));
        QVERIFY(!QFile::exists(m_dir.filePath("gone.htm")));
        f.ui.onProgress = nullptr;
        QCOMPARE(f.count("ghir_rep2"), 3);
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(f.count("ghir_rep2"), 2503);
    }

    void provinceReportsRefuseOtherLevels()
    {
        Fixture f(true);
        addWebRows(f);
        f.dm.exec("insert into ghir_rep2 (city, rosta, peymankar, ghir_tahatori, moarefi_no, ghir_naft, tehran) "
                  "values ('x','y','z',1,'k',1,1)");
        auto *w = f.form<Tghir_src>();
        for (const QString &level : {"admin", "city", "Ostan"}) {
            f.signInAs(f.addUser("u" + level, "pw", level), "u", level);
            for (const char *item : {"N19", "N20", "N21", "N27", "N34", "N46"}) {
                f.ui.clear();
                click(w, item);
                QCOMPARE(f.ui.messages, QStringList{kRefused});
                QCOMPARE(f.ui.openedFiles, QStringList());
            }
        }
        QCOMPARE(column(f, "select rosta from ghir_rep2"), QStringList{"y"});
        QCOMPARE(f.count("ghir_rep1"), 0);
    }

    // Workstation B runs the web report while A waits in its save dialog: A's file still lists
    // A's rows, B's lists B's, and the table holds what B wrote last.
    void interleavedRunsEachListTheirOwnRows()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        Workstation b(f);
        PausingUi ui;
        f.ctx.ui = &ui;
        const QString fileA = m_dir.filePath("a.htm"), fileB = m_dir.filePath("b.htm");
        ui.saveFiles << fileA;
        ui.whileAsking = [&] {
            click(b.window.get(), "CheckBox1");
            child<QComboBox>(b.window.get(), "peymankar")->setEditText("بهار");
            b.ui.saveFiles << fileB;
            click(b.window.get(), "N19");
        };
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(htmlFileRows(fileA), kWebRows);
        QCOMPARE(htmlFileRows(fileB).mid(1),
                 (QList<QStringList>{{"1", "اراك", "خنجين", "بهار", "20", "", "0", "0"},
                                     {"", "", "", kTotal, "20", "", "0", "0"}}));
        QCOMPARE(column(f, "select rosta from ghir_rep2"), QStringList{"خنجين"});
        f.ctx.ui = &f.ui;
    }

    // Workstation B starts filling while A holds the table: B waits for A's commit, then empties
    // what A wrote; each is handed exactly its own rows.
    void aRunWaitsForTheOtherToCommit()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        const DbProfile profile = f.dm.mainProfile();
        QStringList rowsB;
        QString errorB;
        std::unique_ptr<QThread> b;
        f.ui.onProgress = [&](qint64) {
            if (b)
                return;
            b.reset(QThread::create([&] {
                Tdm dm;
                ScriptedUi ui;
                AppContext ctx;
                ctx.dm = &dm;
                ctx.ui = &ui;
                try {
                    dm.connectMain(profile);
                    ScratchFill fill = ProvinceProgressFill("\n and peymankar like ?", {"%بهار%"});
                    fill.written = [&](const QVariantList &row) { rowsB << row.at(1).toString(); };
                    ReplaceScratchRows(ctx, fill);
                } catch (const AppError &e) {
                    errorB = e.message();
                }
                dm.disconnectAll();
            }));
            b->start();
            // A holds the table until B is seen waiting for it (PostgreSQL), or for a moment.
            for (int i = 0; i < (f.dm.isPostgres() ? 250 : 15); ++i) {
                QThread::msleep(20);
                if (f.dm.isPostgres()
                    && f.scalar("select count(*) from pg_stat_activity where wait_event_type='Lock'").toInt() > 0)
                    break;
            }
            QCOMPARE(column(f, "select rosta from ghir_rep2").size(), 3);
        };
        const QString fileA = m_dir.filePath("locked.htm");
        f.ui.saveFiles << fileA;
        click(f.form<Tghir_src>(), "N19");
        QVERIFY(b);
        QVERIFY(b->wait(20000));
        QCOMPARE(errorB, QString());
        QCOMPARE(htmlFileRows(fileA), kWebRows);
        QCOMPARE(rowsB, QStringList{"خنجين"});
        QCOMPARE(column(f, "select rosta from ghir_rep2"), QStringList{"خنجين"});
    }
};

VARNOSET_DB_TEST_MAIN(GhirReportsTest)
#include "db_ghir_reports.moc"
