// The province forms of the bitumen window: the undertaking, the guarantee introductions on A4
// and A5 and the oil company letter, driven from the window's menu as a province user does:
// their labels worked out by hand for one contractor's batch, the history rows of requests and
// prints, the level gate and the per-record words of the letter's rows.
#include "support/drive.h"
#include "support/report_support.h"

#include "bitumen/forms_u.h"
#include "bitumen/ghir_src_u.h"
#include "core/dates.h"

namespace {

const QString kContractor = QStringLiteral("شرکت راه گستران البرز");

const QString kTaahodView = QStringLiteral("مشاهده فرم تعهدنامه پيمانکار");
const QString kTaahodPrint = QStringLiteral("چاپ فرم تعهدنامه پيمانکار");
const QString kZemanatView = QStringLiteral("مشاهده فرم معرفي ضمانتنامه");
const QString kZemanatPrint = QStringLiteral("چاپ فرم معرفي ضمانتنامه");
const QString kSumTonaj = QStringLiteral(" مجموع تناژ ");
const QString kSumZemanat = QStringLiteral("مجموع ضمانت");
const QString kNaftView = QStringLiteral("مشاهده فرم معرفي نامه شرکت نفت");
const QString kNaftPrint = QStringLiteral("چاپ فرم معرفي نامه شرکت نفت");
const QString kRefused = QStringLiteral("عدم دسترسي به اين صفحه");
const QString kBankDefault = QStringLiteral("بانکي/معتبر");
// The history's sums of the batch below.
const QString kSums = QStringLiteral("20") + kSumTonaj + QStringLiteral("91,200,000") + kSumZemanat;

using Call = ScriptedUi::ReportCall;
using Labels = QList<QPair<QString, QString>>;

struct Batch {
    qint64 contractor = 0;
    qint64 a = 0, b = 0;   // the batch: the contractor's allocations registered on one day
};

qint64 addContractor(Fixture &f)
{
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, sh_no, sodor, sabt, eghtesadi, shenase, "
                             "haml_name, haml_cod, phone, mobile, fax, adr, takhliye, zipcode) "
                             "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {kContractor, "محمد رضايي", "علي", "1234", "اراك", "5678", "411111111111", "10100000001",
               "حمل و نقل سپهر", "7788", "086-33333333", "09120000000", "086-34444444",
               "اراك، خيابان شهيد بهشتي، پلاك 12", "کارخانه آسفالت جاده خمين", "3813777777"});
    return f.scalar("select max(id) from peymankaran").toLongLong();
}

QVariantMap allocation(qint64 contractor, const QString &village, const QVariant &tons, const QVariant &price)
{
    return {{"city", "اراك"}, {"rosta", village}, {"peymankar", kContractor}, {"peymankar_id", contractor},
            {"reg_dat", "1403/05/06"}, {"ghir_tahatori", tons}, {"bors_price", price}, {"prot_no", "ق-11"},
            {"prot_dat", "1403/03/01"}, {"city_paper_no", "452/ش"}, {"city_paper_dat", "1403/04/20"},
            {"z_no", "Z-1001"}, {"z_dat", "1403/05/01"}, {"z_bank", "بانک ملي"}, {"comp_naft_name", "منطقه اراك"},
            {"palayeshgah_name", "امام خميني شازند"}};
}

// Two allocations of 12 t at 3,500,000 and 8 t at 4,250,000 rials a tonne: tonnage 20,
// guarantees 12 x 3,500,000 x 1.2 = 50,400,000 and 8 x 4,250,000 x 1.2 = 40,800,000,
// together 91,200,000. Not in the batch: the same contractor on another day, another
// contractor on the same day.
Batch addBatch(Fixture &f)
{
    Batch b;
    b.contractor = addContractor(f);
    b.a = addGhir(f, allocation(b.contractor, "ده نو", 12, 3500000));
    b.b = addGhir(f, allocation(b.contractor, "کرهرود", 8, 4250000));
    QVariantMap later = allocation(b.contractor, "سنجان", 100, 5000000);
    later["reg_dat"] = "1403/06/01";
    addGhir(f, later);
    QVariantMap other = allocation(-1, "ساروق", 30, 5000000);
    other["peymankar"] = "شرکت ديگر";
    addGhir(f, other);
    return b;
}

// The batch and the signatories; a user of the level signed in, one of the batch current.
Batch setUpBatch(Fixture &f, bool second = false, const QString &level = "ostan", const QString &user = "2280000011")
{
    const Batch b = addBatch(f);
    addSettings(f, {{"معاون عمران روستايي", "مهندس احمدي"}, {"مدير کل", "دکتر کريمي"}, {"معاون ذيحساب", "حسين موسوي"}});
    signInWithCounty(f, level, user);
    makeCurrent(f, second ? b.b : b.a);
    return b;
}

void choose(Fixture &f, const char *item) { click(f.form<Tghir_src>(), item); }

// Every history row is for the allocation, today, by the signed-in user.
void historyRowsAreFor(Fixture &f, qint64 key)
{
    QCOMPARE(f.scalar("select count(*) from ghir_history where ghir_key<>? or dat<>? or karbar<>?",
                      {key, SolarDateText(), "2280000011"}).toInt(), 0);
}

// Every label the layout shows is filled (a design text left showing is a fault too), and
// the given ones hold their texts.
void compareLabels(const report::FilledReport &r, const Labels &expected)
{
    QStringList filled = r.labels().keys(), shown = r.layout().labelNames();
    filled.sort();
    shown.removeDuplicates();
    shown.sort();
    QCOMPARE(filled, shown);
    for (const auto &[label, text] : expected)
        QCOMPARE(r.text(label), text);
}

} // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void undertakingOfTheBatch()
    {
        Fixture f(true);
        const Batch b = setUpBatch(f, true);
        f.ui.inputs << "1403/05/10" << "14";
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::Printed});
        choose(f, "N8");

        QCOMPARE(f.ui.prompts, QStringList({"Date|تاريخ تعهدنامه|" + SolarDateText(), "Font Size|سايز فونت نام روستاها|10"}));
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.kind, Call::Preview);
        QCOMPARE(c.problems, QStringList());
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), "TTAAHODNAME_PEYMANKAR");
        QCOMPARE(r.fontSize("rosta"), 14.0);
        // The villages of the batch in the database's order, each after " * "; the other day's
        // allocation and the other contractor's are not in it.
        compareLabels(r, {{"dat", "1403/05/10"}, {"rosta", " * ده نو * کرهرود"}, {"name", "محمد رضايي"}, {"farher", "علي"},
                          {"sh_no", "1234"}, {"sodor", "اراك"}, {"peymankar", kContractor},
                          {"adr", "اراك، خيابان شهيد بهشتي، پلاك 12"}, {"takhliye", "کارخانه آسفالت جاده خمين"},
                          {"phone", "086-33333333"}, {"mobile", "09120000000"}, {"city_paper_no", "452/ش"},
                          {"city_paper_dat", "1403/04/20"}, {"z_no", "Z-1001"}, {"z_bank", "بانک ملي"}});
        // One request row, then one row per completed print.
        QCOMPARE(historyTexts(f), QStringList({kTaahodView, kTaahodPrint, kTaahodPrint}));
        historyRowsAreFor(f, b.b);
    }

    void undertakingWithTypedContractor()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        // Typed contractor: no register row, so the contractor's labels stay empty.
        makeCurrent(f, addGhir(f, allocation(-1, "ده نو", 12, 3500000)));
        f.ui.inputs << "1403/05/10" << "۱۲";
        choose(f, "N8");
        QCOMPARE(f.ui.reports.last().report->fontSize("rosta"), 12.0);
        const report::FilledReport &r = *f.ui.reports.last().report;
        for (const char *l : {"name", "farher", "sh_no", "sodor", "peymankar", "adr", "takhliye", "phone", "mobile"})
            QCOMPARE(r.text(l), QString());
        QCOMPARE(r.text("rosta"), " * ده نو");
        QCOMPARE(f.ui.reports.last().problems, QStringList());
        QCOMPARE(f.count("ghir_history"), qint64(1));
    }

    void guaranteeIntroductionA4()
    {
        Fixture f(true);
        setUpBatch(f);
        // Printed once; a second try fails and a third is cancelled: one print row.
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::PrintFailed, Ui::PrintCancelled});
        choose(f, "N9");

        QCOMPARE(f.ui.prompts, QStringList({"Zemanatname|ضمانتنامه|" + kBankDefault}));
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.problems, QStringList());
        QCOMPARE(c.printed, 1);
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), "TZEMANATNAME");
        // Cancelled kind-of-guarantee box: its default. Eight digits: a comma after the second and the fifth.
        compareLabels(r, {{"dat", SolarDateText()}, {"peymankar", kContractor}, {"zemanatname_typ", kBankDefault},
                          {"moaven_omran", "مهندس احمدي"}, {"sum_tonaj", "20"}, {"sum_zemanat", "91,200,000"}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(reportColumn(r, "city"), QStringList({"اراك", "اراك"}));
        QCOMPARE(reportColumn(r, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(reportColumn(r, "bors_price"), QStringList({"3,500,000", "4,250,000"}));
        QCOMPARE(reportColumn(r, "z_mablagh2"), QStringList({"50,400,000", "40,800,000"}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + kSums, kZemanatPrint + kSums}));
    }

    void guaranteeIntroductionA5()
    {
        Fixture f(true);
        setUpBatch(f, true);
        f.ui.inputs << "ضمانتنامه بانکي";
        // This layout keeps no print history.
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "A51");

        QCOMPARE(f.ui.prompts, QStringList({"zemanatname2|ضمانتنامه|" + kBankDefault}));
        QCOMPARE(f.ui.reports.size(), 1);
        QCOMPARE(f.ui.reports.at(0).problems, QStringList());
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(r.layoutName(), "TZEMANATNAME2");
        compareLabels(r, {{"zemanatname_typ", "ضمانتنامه بانکي"}, {"sum_tonaj", "20"}});
        QCOMPARE(reportColumn(r, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + "20" + kSumTonaj}));
    }

    void guaranteeSumsWithFractionsAndNullPrice()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        const qint64 c = addContractor(f);
        // 1234.5 t at 2,000,000: 1234.5 x 2,000,000 x 1.2 = 2,962,800,000; a null price gives
        // no guarantee for its row and the sum leaves it out.
        const qint64 a = addGhir(f, allocation(c, "ده نو", 1234.5, 2000000));
        addGhir(f, allocation(c, "کرهرود", 10, QVariant()));
        makeCurrent(f, a);
        choose(f, "N9");
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        // No signatory in the list: empty.
        compareLabels(r, {{"sum_tonaj", "1,244.5"}, {"sum_zemanat", "2,962,800,000"}, {"moaven_omran", ""}});
        QCOMPARE(reportColumn(r, "z_mablagh2"), QStringList({"2,962,800,000", ""}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + "1,244.5" + kSumTonaj + "2,962,800,000" + kSumZemanat}));
    }

    void oilCompanyLetterPreview()
    {
        Fixture f(true);
        const Batch b = setUpBatch(f);
        f.ui.inputs << "1250/پ";
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N44");

        const QString today = SolarDateText();
        QCOMPARE(f.ui.prompts, QStringList({"Peymankar Paper Number|شماره نامه پيمانکار|?",
                                            "Peymankar Paper Dat|تاريخ نامه پيمانکار|" + today}));
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.kind, Call::Preview);
        QCOMPARE(c.problems, QStringList());
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), "TMOAREFI_NAFT");
        // 12 + 8 tonnes, in words with the unit; each row in words without it.
        compareLabels(r, {{"pey_no", "1250/پ"}, {"pey_dat", today}, {"city", "اراك"}, {"name", "محمد رضايي"},
                          {"peymankar", kContractor}, {"peymankar2", kContractor}, {"sabt_no", "5678"},
                          {"eghtesadi", "411111111111"}, {"shenase", "10100000001"}, {"phone", "086-33333333"},
                          {"fax", "086-34444444"}, {"mobile", "09120000000"}, {"zipcode", "3813777777"},
                          {"takhliye", "کارخانه آسفالت جاده خمين"}, {"z_no", "Z-1001"}, {"z_dat", "1403/05/01"},
                          {"comp_naft_name", "منطقه اراك"}, {"palayeshgah_name", "امام خميني شازند"},
                          {"moaven_zihesab", "حسين موسوي"}, {"modirkol", "دکتر کريمي"}, {"ghir_tahatori", "20"},
                          {"ghir_tahatori_horofi", " بيست  تن"}});
        const QList<QPair<QString, QStringList>> columns{
            {"ghir_tahatori", {"12", "8"}}, {"ghir_tahatoriHOROF", {" دوازده ", " هشت "}}, {"rosta", {"ده نو", "کرهرود"}},
            {"peymankar", {kContractor, kContractor}}, {"haml_name", {"حمل و نقل سپهر", "حمل و نقل سپهر"}},
            {"haml_cod", {"7788", "7788"}}, {"prot_no", {"ق-11", "ق-11"}}};
        for (const auto &[name, cells] : columns)
            QCOMPARE(reportColumn(r, name), cells);
        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint}));
        historyRowsAreFor(f, b.a);
    }

    void oilCompanyLetterListsTheContractorsRows()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        const qint64 c = addContractor(f);
        // The same name typed on the same day without the register's id: in the guarantee
        // batch, but not in the letter, whose total follows the rows it lists.
        const qint64 a = addGhir(f, allocation(c, "ده نو", 12.5, 1000000));
        addGhir(f, allocation(c, "کرهرود", 8, 1000000));
        const qint64 typed = addGhir(f, allocation(-1, "ساروق", 5, 1000000));
        addGhir(f, allocation(c, "سنجان", QVariant(), 1000000));
        makeCurrent(f, a);
        choose(f, "N44");
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود", "سنجان"}));
        // A fractional total: the figure as it is, no words.
        compareLabels(r, {{"ghir_tahatori", "20.5"}, {"ghir_tahatori_horofi", ""}});
        // Rows in words: none for 12.5 t, "0" for a null tonnage.
        QCOMPARE(reportColumn(r, "ghir_tahatoriHOROF"), QStringList({"", " هشت ", "0"}));
        QCOMPARE(f.ui.reports.at(0).problems, QStringList());

        // The typed contractor's own letter lists its row with its name and no register data.
        makeCurrent(f, typed);
        choose(f, "N44");
        const report::FilledReport &t = *f.ui.reports.at(1).report;
        QCOMPARE(reportColumn(t, "rosta"), QStringList({"ساروق"}));
        QCOMPARE(reportColumn(t, "peymankar"), QStringList({kContractor}));
        QCOMPARE(reportColumn(t, "haml_name"), QStringList({""}));
        compareLabels(t, {{"ghir_tahatori", "5"}, {"ghir_tahatori_horofi", " پنج  تن"}, {"name", ""}});
        QCOMPARE(f.ui.reports.at(1).problems, QStringList());
    }

    void oilCompanyLetterStraightPrint()
    {
        Fixture f(true);
        setUpBatch(f);

        // Three copies after one printer dialog, no preview: one request row and three print rows.
        choose(f, "N45");
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.kind, Call::Print);
        QCOMPARE(c.printed, 3);
        QCOMPARE(c.problems, QStringList());
        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint, kNaftPrint, kNaftPrint}));
    }

    void levelGateRecordsTheRequestAndRefuses()
    {
        for (const char *level : {"city", "admin", "keshvar", "Ostan"}) {
            Fixture f(true);
            setUpBatch(f, false, level);
            for (const char *item : {"N8", "A51", "N9", "N44", "N45"})
                choose(f, item);
            // The input boxes are asked, the request is recorded, then the refusal; nothing is
            // previewed or printed.
            QCOMPARE(f.ui.prompts.size(), 2 + 1 + 1 + 2 + 2);
            QCOMPARE(f.ui.messages, QStringList(5, kRefused));
            QCOMPARE(f.ui.reports.size(), 0);
            QCOMPARE(historyTexts(f), QStringList({kTaahodView, kZemanatView + "20" + kSumTonaj, kZemanatView + kSums,
                                                   kNaftView, kNaftView}));
        }
    }

    void historyValuesAreChecked()
    {
        Fixture f(true);
        // A user name longer than the history's column: refused before anything is written,
        // on both databases alike, and no preview opens.
        setUpBatch(f, false, "ostan", QString(31, 'u'));
        choose(f, "N8");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.at(0).contains("karbar"));
        QCOMPARE(f.ui.prompts.size(), 2);
        QCOMPARE(f.ui.reports.size(), 0);
        QCOMPARE(f.count("ghir_history"), qint64(0));
    }

    void wordsFieldOfTheLetterRows()
    {
        Fixture f;
        const qint64 c = addContractor(f);
        for (const QVariant &tons : {QVariant(1001), QVariant(2.5), QVariant(3.5), QVariant(0), QVariant(), QVariant(3e9)})
            addGhir(f, allocation(c, "ده نو", tons, 0));
        DataSet *naft = f.dm.ADOQ_naft;
        naft->open(QStringLiteral("select * from ghir left join peymankaran on ghir.peymankar_id=peymankaran.id "
                                  "order by ghir.id"));
        QCOMPARE(naft->recordCount(), 6);
        const QChar zwnj(0x200C);
        // A tonnage that is not whole has no words (2.5 t is neither "دو" nor "سه").
        const QStringList expected{" يک هزار و  يک ", QString(), QString(), QString(), "0", QString()};
        for (int r = 0; r < 6; ++r)
            QCOMPARE(naft->text("ghir_tahatoriHOROF", r), expected.at(r));
        // The field is computed again whenever the rows are loaded; a join's repeated name
        // finds the allocation's column, not the contractor register's.
        f.dm.exec(QStringLiteral("update ghir set ghir_tahatori=?, peymankar=?"), {40, "نام تايپ شده"});
        naft->reopen();
        QCOMPARE(naft->text("ghir_tahatorihorof", 0), QStringLiteral(" چهل") + zwnj + ' ');
        QCOMPARE(naft->text("peymankar", 0), "نام تايپ شده");
        QCOMPARE(naft->text("id", 0), f.scalar("select min(id) from ghir").toString());
    }
};

VARNOSET_DB_TEST_MAIN(FormsTest)
#include "db_forms.moc"
