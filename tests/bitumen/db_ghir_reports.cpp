// The bitumen window's reports and exports: the province web reports with
// the scratch tables they leave and two workstations running one at once, the status report,
// the workbooks, the general web listing and the central office report: rows, titles and
// totals worked out by hand, read back from the files written.
#include "support/exports_read.h"
#include "support/report_support.h"
#include "support/readback.h"
#include "support/texts.h"

#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "core/connection.h"
#include "core/dates.h"
#include "core/errors.h"
#include "shared/exports.h"
#include "shared/scratch_table.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QThread>

namespace {

const QString kTotal = "جمع کل";
const QString kLetter = "1234/ص";

// The titles of the reports' and exports' columns, as the users read them (the grid's
// workbooks and web listing title a column by its name; a column without a title keeps its name).
const QString kRowNumber = "رديف";
const QStringList kWebTitles = {"شهرستان", "روستا", "پيمانکار", "معرفي به ضمانتنامه", "شماره معرفي نامه", "معرفي به شرکت نفت", "تاييديه دفتر مرکزي"};
const QStringList kProgressTitles = {"شهرستان", "روستا", "پيمانکار", "معرفي به شرکت نفت", "تاييديه دفتر مرکزي", "درصد پيشرفت فيزيکي", "قير محقق شده"};
const QStringList kMinutesTitles = {"شهرستان", "روستا", "پيمانکار", "معرفي به شرکت نفت", "تاييديه دفتر مرکزي", "قير محقق شده", "صورتجلسه مصرف قير"};
const QStringList kStatusTitles = {"شهرستان", "روستا", "نوع پروژه", "سال تخصيص قير", "پيمانکار", "قير تهاتري", "قيمت روز بورس", "قيمت قير جهت معادل سازي - ريال", "مساحت طبق صورتجلسه", "ميزان آسفالت اجرا شده - تن", "شماره قرارداد", "مبلغ خريد آسفالت", "شماره قرارداد اجرا", "مبلغ اجراي آسفالت"};
const QStringList kSupervisionTitles = {"شهرستان", "روستا", "نوع پروژه", "ميزان قير حواله", "سطح طبق صورتجلسه - متر مربع", "(مبلغ ريالي)ميزان قير حواله*قيمت قير دريافتي از شرکت"};
const QStringList kTehranSheetTitles = {"شهرستان", "روستا", "جمع طول معبر انجام شده-متر", "مساحت آسفالت-مترمربع", "مقدار قير تامين شده از سوي شرکت قيرساز-تن", "معادل سازي-تن", "مصرف مستقيم-تن", "تاريخ تنظيم صورتجلسه مصرف قير", "خودياري نقدي", "معادل ريالي عمليات اجرايي دهياري و مردم", "جمع", "مختصات و موقعيت معابر اجرا شده"};
const QStringList kTehranPrintTitles = {"شهرستان", "روستا", "جمع طول معبر انجام شده-متر", "مساحت آسفالت-مترمربع", "مقدار قير تامين شده از سوي شرکت قيرساز-تن", "معادل سازي تن", "مصرف مستقيم تن", "تاريخ تنظيم صورتجلسه مصرف قير", "خودياري نقدي", "معادل ريالي عمليات اجرايي دهياري و مردم", "جمع", "مختصات و موقعيت معابر اجرا شده"};
const QString kTehranHeading = "عملکرد آسفالت اجرا شده در روستاها با قير رايگان سال";
const QString kProvinceName = "Qelmarin";
const QHash<QString, QString> kFullTitles = {{"id", "شناسه"}, {"sorat_area", "مساحت طبق صورتجلسه"}, {"city", "شهرستان"}, {"ghir_daryafti", "ميزان قير دريافتي از شرکت"}, {"rosta", "روستا"}, {"az_name", "نام آزمايشگاه"}, {"prj_typ", "نوع پروژه"}, {"rep_no", "شماره گزارش"}, {"prot_no", "شماره قرارداد"}, {"rep_dat", "تاريخ گزارش"}, {"prot_dat", "تاريخ قرارداد"}, {"zekhamat_m", "ميانگين ضخامت"}, {"peymankar", "پيمانکار"}, {"vazn", "وزن"}, {"prot_mablagh", "مبلغ قرارداد"}, {"ghir_masrafi_m", "ميانگين قير مصرفي"}, {"city_paper_no", "شماره نامه شهرستان"}, {"ghir_prim", "قير پريمکت"}, {"city_paper_dat", "تاريخ نامه شهرستان"}, {"bors_m", "ميانگين بورس"}, {"tafahomname_dat", "تاريخ تفاهمنامه"}, {"asfalt_price", "قيمت آسفالت"}, {"prj_area", "مساحت تقريبي پروژه"}, {"ghir_tahvili", "قير تحويلي"}, {"tonaj", "تناژ تقريبي کار"}, {"ghir60", "قير 70-60"}, {"zekhamat", "ضخامت تقريبي"}, {"ghir_m_p", "قير مصرفي پريمکت"}, {"bors_price", "قيمت روز بورس"}, {"ghir_jam", "جمع قير"}, {"ghir_masrafi", "قير مصرفي"}, {"reg_dat", "تاريخ ثبت"}, {"ghir_tahatori", "ميزان قير حواله"}, {"ghir_t", "قير تهاتري"}, {"tozi_dat", "تاريخ کميته توزيع"}, {"peymankar_id", "شناسه پيمانکار"}, {"z_no", "شماره ضمانتنامه"}, {"tehran_paper_no", "شماره نامه تهران"}, {"z_dat", "تاريخ ضمانتنامه"}, {"jalase_no", "شماره جلسه"}, {"z_bank", "بانک ضمانتنامه"}, {"jalase_dat", "تاريخ جلسه"}, {"z_typ", "نوع ضمانتنامه"}, {"prot_no_ejra", "شماره قرارداد اجرا"}, {"z_mablagh", "مبلغ ضمانتنامه"}, {"prot_dat_ejra", "تاريخ قرارداد اجرا"}, {"taahod_dat", "تاريخ تعهدنامه"}, {"prot_mablagh_ejra", "مبلغ قرارداد اجرا"}, {"moarefi_dat", " تاريخ معرفي نامه"}, {"zarib", "ضريب"}, {"moarefi_no", "شماره معرفي نامه"}, {"asfalt_ejra", "ميزان آسفالت اجرا شده - تن"}, {"sorat_no", "شماره صورتحساب"}, {"ghir_moadel", "قيمت قير جهت معادل سازي - ريال"}, {"sorat_dat", "تاريخ صورتحساب"}, {"pishraft", "پيشرفت فيزيکي"}, {"sal", "سال تخصيص قير"}, {"status", "وضعيت"}, {"cmt", "توضيحات"}, {"comp_naft_name", "نام شرکت نفت"}, {"palayeshgah_name", "نام پالايشگاه"}, {"mosharekat", "مشارکت مردمي و دهياري"}, {"ghir_tagh_tah", "ميزان تقريبي قير تهاتري"}};
const QHash<QString, QString> kCountyTitles = {{"city", "شهرستان"}, {"rosta", "روستا"}, {"prj_typ", "نوع پروژه"}, {"peymankar", "پيمانکار"}, {"ghir_tahatori", "ميزان قير حواله"}, {"pishraft", "پيشرفت فيزيکي"}};

// A header row: the row number's title, then the columns' titles.
QStringList header(const QStringList &titles) { return QStringList{kRowNumber} + titles; }

// The header of the grid's workbooks (and, after the row number, of its web listing): each
// column of the grid's list under its title, or under its own name.
QStringList gridTitles(const DataSet *ds, const QHash<QString, QString> &titles)
{
    QStringList out;
    for (const QString &field : ds->fieldNames())
        out << titles.value(field, field);
    return out;
}

// The web report's three allocations: A introduced to the oil company with a letter number
// holding "/", B with neither letter, C (another county) with both. Its rows under the header.
void addWebRows(Fixture &f)
{
    addGhir(f, {{"peymankar", "پارس"}, {"city", "ساوه"}, {"rosta", "ده"}, {"ghir_tahatori", 12.5},
                {"moarefi_no", "M7"}, {"tehran_paper_no", "T1"}});
    addGhir(f, {{"peymankar", "الف"}, {"rosta", "نوبران"}, {"ghir_tahatori", 20}, {"moarefi_no", kLetter},
                {"tehran_paper_no", ""}});
    addGhir(f, {{"peymankar", "بهار"}, {"rosta", "خنجين"}, {"ghir_tahatori", 20}});
}

const QList<QStringList> kWebRows = {
    {"1", "اراك", "نوبران", "الف", "20", kLetter, "20", "0"},
    {"2", "اراك", "خنجين", "بهار", "20", "", "0", "0"},
    {"3", "ساوه", "ده", "پارس", "12.5", "M7", "12.5", "12.5"},
    {"", "", "", kTotal, "52.5", "", "32.5", "12.5"},
};

// Allocations whose scratch rows hold every conversion of a fill: contractors with the Persian
// "ی" and the Arabic "ي" yeh and the keheh "ک", a null county, null tonnes and progress, fractional
// and large tonnes, a letter number of one blank, an empty and a null letter.
void addScratchSources(Fixture &f)
{
    addGhir(f, {{"peymankar", QString::fromUtf8("\u0639\u0644\u06CC")}, {"rosta", "کليبر"}, {"ghir_tahatori", 12.375},
                {"pishraft", 33}, {"moarefi_no", kLetter}, {"tehran_paper_no", "T1"}});
    addGhir(f, {{"peymankar", QString::fromUtf8("\u0639\u0644\u064A")}, {"ghir_tahatori", 7.3}, {"pishraft", 33},
                {"moarefi_no", QVariant()}, {"tehran_paper_no", ""}});
    addGhir(f, {{"peymankar", "کاوه"}, {"city", QVariant()}, {"ghir_tahatori", QVariant()}, {"pishraft", QVariant()},
                {"moarefi_no", "M9"}, {"tehran_paper_no", "T9"}});
    addGhir(f, {{"peymankar", "ياس"}, {"ghir_tahatori", 9876543210.5}, {"pishraft", 7}, {"moarefi_no", " "}});
    addGhir(f, {{"peymankar", "بهمن"}, {"ghir_tahatori", 0.1}, {"pishraft", 3}, {"moarefi_no", "M"}});
    addGhir(f, {{"peymankar", "تاك"}, {"ghir_tahatori", 0.001}, {"pishraft", 1}, {"moarefi_no", "M2"}});
}

// A scratch table's rows, sorted, each "city|rosta|peymankar|tonnes|letter|oil|central"; a number
// in its shortest exact text, so that a difference in the last bit shows.
QStringList scratchRows(Fixture &f, const char *table)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open(QString("select city,rosta,peymankar,ghir_tahatori,moarefi_no,ghir_naft,tehran from %1").arg(table));
    QStringList out;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList cells;
        for (const QString &field : q->fieldNames()) {
            const QVariant v = q->value(field, r);
            cells << (v.isNull()                            ? QString("null")
                      : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest)
                                                        : v.toString());
        }
        out << cells.join('|');
    }
    out.sort();
    return out;
}

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

// The fixed file of the web exports (in the temp folder the test runs with).
QString htmlFile() { return TempExportPath("Tobrenhal.htm"); }

// The page title of a written web page.
QString pageTitle(const QString &path)
{
    const QString text = QString::fromUtf8(readFile(path));
    const qsizetype from = text.indexOf("<title>"), to = text.indexOf("</title>");
    return from < 0 || to < from ? QString() : text.mid(from + 7, to - from - 7);
}

// The workbook the last command opened.
Sheet lastSheet(Fixture &f)
{
    if (f.ui.openedFiles.isEmpty())
        qFatal("no workbook was opened");
    return readXlsx(f.ui.openedFiles.last());
}

void run(Fixture &f, const char *item)
{
    f.ui.clear();
    click(f.form<Tghir_src>(), item);
}

} // namespace

class GhirReportsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // The progress (N20) and minutes (N21) reports list the allocations introduced to the oil
    // company with some bitumen: the realised tonnes (allocated x progress), and the minutes'
    // exchange tonnes; a row without a minutes date is totalled without a body row, one whose
    // exchange figure is not a number is left out without a word.
    void introducedAllocationsReports()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addGhir(f, {{"peymankar", "الف"}, {"ghir_tahatori", 20}, {"pishraft", 35}, {"moarefi_no", "M1"},
                    {"jalase_dat", "1403/06/01"}, {"ghir_t", "3.5"}});
        addGhir(f, {{"peymankar", "ب"}, {"ghir_tahatori", 20}, {"pishraft", 50}}); // no letter
        addGhir(f, {{"peymankar", "پ"}, {"ghir_tahatori", 30}, {"pishraft", 10}, {"moarefi_no", "M3"},
                    {"jalase_dat", "1403/06/02"}, {"ghir_t", "سه"}});
        addGhir(f, {{"peymankar", "ت"}, {"ghir_tahatori", 8}, {"pishraft", 100}, {"moarefi_no", "M5"}, {"ghir_t", "9"}});
        addGhir(f, {{"peymankar", "ث"}, {"ghir_tahatori", 0}, {"pishraft", 50}, {"moarefi_no", "M2"}}); // 0 t
        addGhir(f, {{"peymankar", "ج"}, {"ghir_tahatori", 12.5}, {"pishraft", 33}, {"moarefi_no", "M4"},
                    {"tehran_paper_no", "T4"}, {"jalase_dat", "1403/06/03"}, {"ghir_t", "2"}});
        // The progress report asks for its file; the minutes report writes the fixed one.
        const QString file = htmlFile();
        f.ui.saveFiles << file;
        click(f.form<Tghir_src>(), "N20");
        QCOMPARE(htmlFileRows(file), (QList<QStringList>{header(kProgressTitles),
                                                         {"1", "اراك", "روستا", "الف", "20", "0", "35", "7"},
                                                                {"2", "اراك", "روستا", "پ", "30", "0", "10", "3"},
                                                                {"3", "اراك", "روستا", "ت", "8", "0", "100", "8"},
                                                                {"4", "اراك", "روستا", "ج", "12.5", "12.5", "33", "4.125"},
                                                                {"", "", "", kTotal, "70.5", "12.5", "", "22.125"}}));
        QCOMPARE(f.count("ghir_rep1"), 6);
        QCOMPARE(pageTitle(file), texts::kBitumenExportTitle);
        click(f.form<Tghir_src>(), "N21");
        QCOMPARE(htmlFileRows(file), (QList<QStringList>{header(kMinutesTitles),
                                                         {"1", "اراك", "روستا", "الف", "20", "0", "7", "3.5"},
                                                                {"3", "اراك", "روستا", "ج", "12.5", "12.5", "4.125", "2"},
                                                                {"", "", "", kTotal, "40.5", "12.5", "19.125", "5.5"}}));
        QCOMPARE(f.count("ghir_rep1"), 5);
        QCOMPARE(pageTitle(file), texts::kBitumenExportTitle);
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.openedFiles, QStringList(2, file));
    }

    // A long run ended half way by Cancel, or by the server ending the report's sessions (the
    // Persian message with the driver's text below): the rows already sent are taken back, the
    // table keeps what it held, nothing is written; the connections serve the next run. Cancel
    // in the save dialog opens nothing and keeps the table filled.
    void longRunEndedHalfWay_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("cancelled") << false;
        QTest::newRow("server gone") << true;
    }
    void longRunEndedHalfWay()
    {
        QFETCH(bool, server);
        if (server && !testing_support::usePostgres())
            QSKIP("only a server goes away");
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        click(f.form<Tghir_src>(), "N19"); // cancelled in the save dialog: the table holds 3 rows
        // The letter number as its text; the allocated tonnes under the oil company and the central
        // office only with their letters.
        QCOMPARE(rows(f, "select city, rosta, peymankar, ghir_tahatori, moarefi_no, ghir_naft, tehran from ghir_rep2"
                         " order by ghir_naft desc"),
                 (QStringList{"اراك|نوبران|الف|20|" + kLetter + "|20|0", "ساوه|ده|پارس|12.5|M7|12.5|12.5",
                              "اراك|خنجين|بهار|20||0|0"}));
        f.dm.exec("insert into ghir (peymankar, ghir_tahatori, moarefi_no) with recursive n(i) as "
                  "(select 1 union all select i+1 from n where i<2500) select 'z', i, 'M' from n");
        QVariantList sessions;
        if (server) {
            QSqlQuery reader = dbconn::execute(f.dm.readerConnection(), "select pg_backend_pid()", {});
            sessions = {f.scalar("select pg_backend_pid()"), reader.next() ? reader.value(0) : QVariant()};
        }
        f.ui.onProgress = [&](qint64 done) {
            if (done != 1000 || !server)
                return;
            Fixture admin(f, false);
            for (const QVariant &pid : sessions)
                QVERIFY(admin.scalar("select pg_terminate_backend(?)", {pid}).toBool());
        };
        f.ui.cancelProgressAt = server ? -1 : 2000;
        const QString half = m_dir.filePath(server ? "gone.htm" : "half.htm");
        f.ui.saveFiles << half;
        click(f.form<Tghir_src>(), "N19");
        if (server) {
            QCOMPARE(f.ui.messages.size(), 1);
            QCOMPARE(f.ui.messages.first().section('\n', 0, 0), texts::kServerUnreachable);
            QVERIFY2(!f.ui.messages.first().section('\n', 1).trimmed().isEmpty(), qPrintable(f.ui.messages.first()));
        } else {
            QCOMPARE(f.ui.messages, QStringList());
        }
        QVERIFY(!QFile::exists(half));
        QCOMPARE(f.ui.openedFiles, QStringList());
        QCOMPARE(f.count("ghir_rep2"), 3);
        f.ui.onProgress = nullptr;
        f.ui.cancelProgressAt = -1;
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(f.count("ghir_rep2"), 2503);
    }

    // The scratch rows of the web report (also the progress workbook's) and of the physical
    // progress report, row for row as the fill has always made them: a null place or letter as an
    // empty text, null tonnes and progress as 0, a flag for any letter text (a blank too), the
    // realised tonnes rounded as a number is written (7.3 x 33 / 100 is 2.409, not the float
    // product's 2.4090000000000003). The listing shows the same rows; the window's filter values
    // choose the rows.
    void scratchRowsAsTheFillMakesThem()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addScratchSources(f);
        const QString file = m_dir.filePath("scratch.htm");
        f.ui.saveFiles << file;
        run(f, "N19");
        const QString ali = QString::fromUtf8("\u0639\u0644\u06CC"), aliArabic = QString::fromUtf8("\u0639\u0644\u064A");
        QStringList rep2 = {"|روستا|کاوه|0|M9|0|0", "اراك|روستا|بهمن|0.1|M|0.1|0", "اراك|روستا|تاك|0.001|M2|0.001|0",
                            "اراك|روستا|ياس|9876543210.5| |9876543210.5|0", "اراك|روستا|" + aliArabic + "|7.3||0|0",
                            "اراك|کليبر|" + ali + "|12.375|" + kLetter + "|12.375|12.375"};
        rep2.sort();
        QCOMPARE(scratchRows(f, "ghir_rep2"), rep2);
        QStringList listed;
        for (const QStringList &r : htmlFileRows(file).mid(1, 6))
            listed << r.mid(1).join('|');
        listed.sort();
        QCOMPARE(listed, rep2);
        f.ui.saveFiles << file;
        run(f, "N20");
        QStringList rep1 = {"|روستا|کاوه|0|0|0|0", "اراك|روستا|بهمن|0.003|3|0.1|0", "اراك|روستا|تاك|1e-05|1|0.001|0",
                            "اراك|روستا|ياس|691358024.735|7|9876543210.5|0", "اراك|روستا|" + aliArabic + "|2.409|33|0|0",
                            "اراك|کليبر|" + ali + "|4.08375|33|12.375|12.375"};
        rep1.sort();
        QCOMPARE(scratchRows(f, "ghir_rep1"), rep1);
        QCOMPARE(f.ui.messages, QStringList());
        // The contractor filter's value: one allocation.
        click(f.form<Tghir_src>(), "CheckBox1");
        setBox(f.form<Tghir_src>(), "peymankar", "بهم");
        f.ui.saveFiles << file;
        run(f, "N19");
        QCOMPARE(scratchRows(f, "ghir_rep2"), QStringList{"اراك|روستا|بهمن|0.1|M|0.1|0"});
    }

    // A village longer than the scratch column (only an embedded file written by another tool
    // holds one): the report names the value and the column, the table keeps the last run's rows,
    // no page is written; the province workbook likewise.
    void tooLongTextLeavesTheScratchTable()
    {
        if (testing_support::usePostgres())
            QSKIP("the server's own column refuses such a village");
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        const QString file = m_dir.filePath("long.htm");
        f.ui.saveFiles << file;
        run(f, "N19");
        QCOMPARE(f.count("ghir_rep2"), 3);
        QFile::remove(file);
        const QString village = QString(51, QChar(0x06CC));
        f.dm.exec("update ghir set rosta=? where peymankar=?", {village, "بهار"});
        for (const char *item : {"N19", "N27"}) {
            f.ui.saveFiles << file;
            run(f, item);
            QCOMPARE(f.ui.messages, QStringList{texts::tooLong(village, texts::columnName("rosta"), 50)});
            QCOMPARE(f.ui.openedFiles, QStringList());
            QVERIFY(!QFile::exists(file));
            QCOMPARE(rows(f, "select rosta from ghir_rep2 order by rosta"), (QStringList{"خنجين", "ده", "نوبران"}));
        }
    }

    void provinceReportsRefuseOtherLevels()
    {
        Fixture f(true);
        addWebRows(f);
        f.dm.exec("insert into ghir_rep2 (city, rosta, peymankar, ghir_tahatori, moarefi_no, ghir_naft, tehran) "
                  "values ('x','y','z',1,'k',1,1)");
        auto *w = f.form<Tghir_src>();
        for (const QString level : {"admin", "city", "Ostan"}) {
            f.signInAs(f.addUser("u" + level, "pw", level), "u", level);
            for (const char *item : {"N19", "N20", "N21", "N27", "N34", "N46"}) {
                f.ui.clear();
                click(w, item);
                QCOMPARE(f.ui.messages, QStringList{texts::kReportRefused});
                QCOMPARE(f.ui.openedFiles, QStringList());
            }
        }
        QCOMPARE(rows(f, "select rosta from ghir_rep2"), QStringList{"y"});
        QCOMPARE(f.count("ghir_rep1"), 0);
    }

    // The web report's rows and totals (the user's county is اراك; ساوه is listed all the same).
    // Workstation B runs it with a filter while A waits in its save dialog: A's file still lists
    // A's rows, B's its own, and the table holds what B wrote last. A filter matching nothing: no
    // rows, the totals row with empty totals.
    void webReportRuns()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        Fixture b(f, true);
        PausingUi ui;
        f.ctx.ui = &ui;
        const QString fileA = m_dir.filePath("a.htm"), fileB = m_dir.filePath("b.htm");
        ui.saveFiles << fileA;
        ui.whileAsking = [&] {
            click(b.form<Tghir_src>(), "CheckBox1");
            setBox(b.form<Tghir_src>(), "peymankar", "بهار");
            b.ui.saveFiles << fileB;
            click(b.form<Tghir_src>(), "N19");
        };
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(htmlFileRows(fileA), QList<QStringList>{header(kWebTitles)} + kWebRows);
        QCOMPARE(pageTitle(fileA), texts::kBitumenExportTitle);
        QCOMPARE(ui.messages + ui.openedFiles, QStringList{fileA});
        QCOMPARE(htmlFileRows(fileB).mid(1),
                 (QList<QStringList>{{"1", "اراك", "خنجين", "بهار", "20", "", "0", "0"},
                                     {"", "", "", kTotal, "20", "", "0", "0"}}));
        QCOMPARE(rows(f, "select rosta from ghir_rep2"), QStringList{"خنجين"});
        ui.whileAsking = nullptr;
        click(f.form<Tghir_src>(), "CheckBox1");
        setBox(f.form<Tghir_src>(), "peymankar", "هيچ");
        ui.saveFiles << fileA;
        click(f.form<Tghir_src>(), "N19");
        QCOMPARE(htmlFileRows(fileA), (QList<QStringList>{header(kWebTitles), {"", "", "", kTotal, "", "", "", ""}}));
        QCOMPARE(f.count("ghir_rep2"), 0);
        f.ctx.ui = &f.ui;
    }

    // Workstation B starts filling while A holds the table: B waits for A's commit, then empties
    // what A wrote; each is handed exactly its own rows.
    void aRunWaitsForTheOtherToCommit()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addWebRows(f);
        QStringList rowsB;
        QString errorB;
        std::unique_ptr<QThread> b;
        f.ui.onProgress = [&](qint64) {
            if (b)
                return;
            b.reset(QThread::create([&] {
                Fixture other(f, false);
                // B waits as long as A needs, however slow the machine: the wait is what is tested.
                DbProfile slow = other.profile();
                slow.bounds.lockMs = 120000;
                other.dm.connectMain(slow);
                try {
                    ScratchFill fill = ProvinceProgressFill("\n and peymankar like ?", {"%بهار%"});
                    fill.written = [&](const QVariantList &row) { rowsB << row.at(1).toString(); };
                    ReplaceScratchRows(other.ctx, fill);
                } catch (const AppError &e) {
                    errorB = e.message();
                }
            }));
            b->start();
            // A holds the table until B is seen waiting for it (PostgreSQL), or for a moment.
            for (int i = 0; i < (f.dm.isPostgres() ? 250 : 15); ++i) {
                QThread::msleep(20);
                if (f.dm.isPostgres()
                    && f.scalar("select count(*) from pg_stat_activity where wait_event_type='Lock'").toInt() > 0)
                    break;
            }
            QCOMPARE(f.count("ghir_rep2"), 3);
        };
        const QString fileA = m_dir.filePath("locked.htm");
        f.ui.saveFiles << fileA;
        click(f.form<Tghir_src>(), "N19");
        QVERIFY(b);
        QVERIFY(b->wait(20000));
        QCOMPARE(errorB, QString());
        QCOMPARE(htmlFileRows(fileA).mid(1), kWebRows);
        QCOMPARE(rowsB, QStringList{"خنجين"});
        QCOMPARE(rows(f, "select rosta from ghir_rep2"), QStringList{"خنجين"});
    }

    void statusReportAmountsAndTotals()
    {
        Fixture f(true);
        addGhir(f, {{"ghir_tahatori", 10}, {"bors_price", 2000000}, {"ghir_moadel", 900}, {"sorat_area", 1000},
                    {"asfalt_ejra", "115"}, {"prot_no", "101"}, {"prot_mablagh", 1250000}, {"prot_no_ejra", "E1"},
                    {"prot_mablagh_ejra", 300000}, {"zarib", "1.2"}});
        addGhir(f, {{"asfalt_ejra", ""}, {"prot_mablagh", 900000}, {"zarib", "1"}});
        addGhir(f, {{"asfalt_ejra", "2.5"}, {"prot_mablagh", 1000000}, {"prot_mablagh_ejra", QVariant()}});
        run(f, "N24");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.openedFiles, QStringList{htmlFile()});
        // 115 t x 1,250,000 and 115 t x 300,000 x 1.2; an empty tonnage is 0; no execution price,
        // no execution amount and nothing added to its total.
        QCOMPARE(htmlFileRows(htmlFile()),
                 (QList<QStringList>{
                     header(kStatusTitles),
                     {"1", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "10", "2000000", "900", "1000", "115", "101",
                      "143750000", "E1", "41400000"},
                     {"2", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "0", "0", "0", "0", "", "", "0", "", "0"},
                     {"3", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "0", "0", "0", "0", "2.5", "", "2500000", "", ""},
                     {"", "", "", "", "", "", "", "", "", "", "", "", "146250000", "", "41400000"}}));
        QCOMPARE(pageTitle(htmlFile()), texts::kBitumenExportTitle);
        // A tonnage that is not a number ends the report naming the allocation; the file stays.
        const QByteArray before = readFile(htmlFile());
        const qint64 bad = addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "بهار"}, {"asfalt_ejra", "12a"}});
        run(f, "N24");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «ميزان آسفالت اجرا شده - تن» پروژه نوبران - بهار (شناسه %1) عدد نيست: «12a»")
                                 .arg(bad)});
        QCOMPARE(f.ui.openedFiles, QStringList());
        QCOMPARE(readFile(htmlFile()), before);
    }

    // The status report's amounts are money: exact to the fourth decimal on both databases where
    // the factors are (1234.75 t x 987,654,321.5 = 1,218,765,432,731 + 740,740,741.125 =
    // 1,219,506,173,472.125, which 15 significant digits would print 1219506173472.13); each
    // product rounds half to even as the exchange sheet's: x 1.0004 adds 487,802,469.38885, so
    // 1,219,993,975,941.51385 prints .5138. A listed amount shows what the database keeps: the
    // server every digit, the embedded file 15 significant digits.
    void statusReportAmountsExact()
    {
        Fixture f(true);
        const QString bors = "1234567890123.4567";
        const qint64 first = addGhir(f, {{"asfalt_ejra", "1234.75"}, {"prot_mablagh", 987654321.5},
                                         {"prot_mablagh_ejra", 987654321.5}, {"zarib", "1.0004"}, {"bors_price", bors}});
        addGhir(f, {{"asfalt_ejra", "1234.75"}, {"prot_mablagh", 987654321.5}, {"prot_mablagh_ejra", QVariant()}});
        run(f, "N24");
        QCOMPARE(f.ui.messages, QStringList());
        const QStringList place = {"اراك", "روستا", "آسفالت", "1403", "پيمانكار", "0"};
        QCOMPARE(htmlFileRows(htmlFile()).mid(1),
                 (QList<QStringList>{
                     QStringList{"1"} + place + QStringList{usePostgres() ? bors : "1234567890123.46", "0", "0", "1234.75",
                                                           "", "1219506173472.125", "", "1219993975941.5138"},
                     QStringList{"2"} + place + QStringList{"0", "0", "0", "1234.75", "", "1219506173472.125", "", ""},
                     QStringList(12) + QStringList{"2439012346944.25", "", "1219993975941.5138"}}));
        // The grid's web listing shows the amount as the status report does.
        makeCurrent(f, first);
        run(f, "N6");
        const DataSet *listing = f.dm.ADOQ_ghir;
        QStringList listed;
        for (const QStringList &row : htmlFileRows(htmlFile()))
            if (row.value(listing->fieldIndex("id") + 1) == QString::number(first))
                listed << row.value(listing->fieldIndex("bors_price") + 1);
        QCOMPARE(listed, QStringList{usePostgres() ? bors : "1234567890123.46"});
        // A product past the money type's range ends the report naming the allocation.
        const qint64 big = addGhir(f, {{"asfalt_ejra", "1000000000"}, {"prot_mablagh", 987654321.5}});
        run(f, "N24");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «مبلغ خريد آسفالت» پروژه روستا - پيمانكار (شناسه %1) بزرگتر از حد مجاز است: "
                                     "«1000000000 × 987654321.5»").arg(big)});
        QCOMPARE(f.ui.openedFiles, QStringList());
        // The central office report adds the contributions as amounts: on the server
        // 1,234,567,890,123.4567 + 0.0001, on the embedded file what it keeps of the first.
        f.dm.exec("delete from ghir");
        addGhir(f, {{"khodyari", bors}, {"dehyari", "0.0001"}, {"ghir_jam", "0"}});
        run(f, "N29");
        const QString sum = usePostgres() ? "1,234,567,890,123.4568" : "1,234,567,890,123.4601";
        QCOMPARE(reportColumn(*f.ui.reports.last().report, "Jam"), QStringList{sum});
    }

    void provinceWorkbooksHoldTheirCells()
    {
        Fixture f(true);
        f.signInAs(f.addUser("1000000001", "pw", "ostan"), "ostan", "ostan");
        addGhir(f, {{"peymankar", "الف"}, {"rosta", "نوبران"}, {"ghir_tahatori", 20}, {"moarefi_no", "1234/ص"},
                    {"sorat_area", 1500}, {"ghir_daryafti", "900"}});
        addGhir(f, {{"peymankar", "بهار"}, {"ghir_tahatori", QVariant()}, {"tehran_paper_no", "T2"},
                    {"ghir_daryafti", ""}});
        addGhir(f, {{"peymankar", "پارس"}, {"ghir_tahatori", 7.5}, {"tehran_paper_no", "T3"}, {"ghir_daryafti", ""}});
        run(f, "N27");
        Sheet s = lastSheet(f);
        QCOMPARE((QList<QStringList>{s.row(1), s.row(2), s.row(3), s.row(4), s.row(5)}),
                 (QList<QStringList>{kWebTitles,
                                     {"اراك", "نوبران", "الف", "20", "1234/ص", "20", "0"},
                                     {"اراك", "روستا", "بهار", "0", "", "0", "0"},
                                     {"اراك", "روستا", "پارس", "7.5", "", "0", "7.5"}, {}}));
        QVERIFY(s.cells["D2"].number && !s.cells["E2"].number);
        QCOMPARE(f.count("ghir_rep2"), 3);
        // Supervision: tonnes times the company's price, in allocation order; no tonnes, no value.
        run(f, "N34");
        s = lastSheet(f);
        QCOMPARE(s.row(1), kSupervisionTitles);
        QCOMPARE(s.row(2), (QStringList{"اراك", "نوبران", "آسفالت", "20", "1500", "18000"}));
        QCOMPARE(s.row(3), (QStringList{"اراك", "روستا", "آسفالت", "", "0"}));
        QCOMPARE(s.row(4), (QStringList{"اراك", "روستا", "آسفالت", "7.5", "0", "0"}));
        const qint64 bad = addGhir(f, {{"peymankar", "ت"}, {"ghir_daryafti", "نهصد"}});
        run(f, "N34");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «ميزان قير دريافتي از شرکت» پروژه روستا - ت (شناسه %1) عدد نيست: «نهصد»").arg(bad)});
        QCOMPARE(f.ui.openedFiles, QStringList());
    }

    // The grid's exports take the grid's rows (the county restriction included) with every
    // column under its title, and leave the same allocation current. The general and the county
    // workbooks and the web listing serve every level.
    void gridExportsKeepTheCurrentAllocation()
    {
        Fixture f(true);
        const qint64 user = signInWithCounty(f, "ostan", "1000000002");
        const qint64 first = addGhir(f, {{"peymankar", "الف"}, {"ghir_tahatori", 12}});
        addGhir(f, {{"peymankar", "ب"}, {"ghir_t", "3"}});
        addGhir(f, {{"city", "ساوه"}});
        makeCurrent(f, first);
        DataSet *ds = f.dm.ADOQ_ghir;
        for (const char *item : {"N26", "N46", "N39", "N6"}) {
            run(f, item);
            // The web listing numbers its rows: one column more.
            const int web = QByteArray(item) == "N6" ? 1 : 0;
            QList<QStringList> rows = web ? htmlFileRows(htmlFile()) : QList<QStringList>();
            if (!web) {
                const Sheet s = lastSheet(f);
                for (int r = 1; r <= 4; ++r)
                    rows << s.row(r);
            }
            QCOMPARE(rows.at(0).size(), ds->fieldNames().size() + web);
            const QStringList titles = gridTitles(ds, QByteArray(item) == "N39" ? kCountyTitles : kFullTitles);
            QCOMPARE(rows.at(0), web ? header(titles) : titles);
            if (web)
                QCOMPARE(pageTitle(htmlFile()), texts::kBitumenExportTitle);
            QCOMPARE(rows.at(2).value(ds->fieldIndex("mande") + web), QString("3"));
            QCOMPARE(rows.value(3), QStringList());
            QCOMPARE(ds->value("id").toLongLong(), first);
        }
        for (const QString level : {"admin", "city"}) {
            f.signInAs(user, "u", level);
            for (const char *item : {"N26", "N39", "N6"}) {
                run(f, item);
                QCOMPARE(f.ui.messages, QStringList());
                QCOMPARE(f.ui.openedFiles.size(), 1);
            }
        }
    }

    void centralOfficeReportPrintsAndExports()
    {
        Fixture f(true);
        addGhir(f, {{"rosta", "نوبران"}, {"tolemasir", 1200}, {"sorat_area", 5000}, {"ghir_tahatori", 20},
                    {"ghir_jam", "6.55"}, {"jalase_dat", "1403/06/01"}, {"khodyari", 1000000}, {"dehyari", 2500000},
                    {"mokhtasat", "معبر اصلي"}});
        addGhir(f, {{"rosta", "خنجين"}, {"ghir_tahatori", 8}, {"ghir_jam", ""}, {"khodyari", QVariant()}});
        auto *w = f.form<Tghir_src>();
        child<QLineEdit>(w, "sal")->setText("1403"); // the year filter is not ticked
        run(f, "N29");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.reports.first().kind, ScriptedUi::ReportCall::Preview);
        const report::FilledReport r = shown(f, "TTEHRAN_CHAP", {{"sal", "1403"}, {"dat", SolarDateText()}});
        // 20 t supplied, 6.55 t used directly: 13.45 t equalised; an empty direct use equalises it all.
        const QStringList columns = {"city", "rosta", "tolemasir", "sorat_area", "ghir_tahatori", "Moadelsazi",
                                     "ghir_jam", "jalase_dat", "khodyari", "Dehyari", "Jam", "mokhtasat"};
        auto printedRow = [&](int row) {
            QStringList out;
            for (const QString &c : columns)
                out << r.cell(row, c);
            return out;
        };
        QCOMPARE(printedRow(0), (QStringList{"اراك", "نوبران", "1200", "5000", "20", "13.45", "6.55", "1403/06/01",
                                             "1,000,000", "2,500,000", "3,500,000", "معبر اصلي"}));
        QCOMPARE(printedRow(1), (QStringList{"اراك", "خنجين", "", "0", "8", "8", "", "    /  /  ", "", "", "", ""}));
        const QString pdf = renderPdf(r);
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY2(pdfInfo(pdf).contains("842 x 595 pts (A4)"), qPrintable(pdfInfo(pdf))); // landscape
        const QString printed = pdfText(pdf);
        for (const QString &t : {kTehranHeading, kProvinceName, QString("1405/09/15"), QString("مختصات و موقعيت"),
                                 QString("13.45")})
            QVERIFY2(containsText(printed, t), qPrintable(t));
        // The page header's own texts and the column titles as typed (the PDF's text folds the yeh).
        QStringList printedTitles;
        for (const report::Element &e : r.layout().band(report::BandKind::PageHeader).elements) {
            if (e.kind == report::ElementKind::Text)
                printedTitles << e.text;
            for (const report::Run &run : e.runs)
                if (!run.isLabel)
                    printedTitles << run.text;
        }
        QCOMPARE(printedTitles, (QStringList{kProvinceName, kTehranHeading}));
        printedTitles.clear();
        for (const report::Column &c : r.layout().table->columns)
            printedTitles << c.title;
        QCOMPARE(printedTitles, header(kTehranPrintTitles));
        run(f, "N30");
        const Sheet s = lastSheet(f);
        QCOMPARE(s.row(1), kTehranSheetTitles);
        QCOMPARE(s.row(2), (QStringList{"اراك", "نوبران", "1200", "5000", "20", "13.45", "6.55", "1403/06/01",
                                         "1000000", "2500000", "3500000", "معبر اصلي"}));
        // The empty minutes date as stored, its blanks kept.
        QCOMPARE(s.row(3).mid(0, 8), printedRow(1).mid(0, 8));
        // A direct use that is not a number: nothing is shown.
        const qint64 bad = addGhir(f, {{"peymankar", "ت"}, {"ghir_jam", "6.5 تن"}});
        run(f, "N29");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «جمع قير» پروژه روستا - ت (شناسه %1) عدد نيست: «6.5 تن»").arg(bad)});
        QCOMPARE(f.ui.reports.size(), 0);
    }
};

VARNOSET_DB_TEST_MAIN(GhirReportsTest)
#include "db_ghir_reports.moc"
