// The province forms of the bitumen window: the undertaking, the guarantee introductions on A4
// and A5 and the oil company letter, driven from the window's menu as a province user does:
// their labels worked out by hand for one contractor's batch, the history rows of requests and
// prints, the level gate and the per-record words of the letter's rows.
#include "support/report_support.h"
#include "support/texts.h"
#include "support/readback.h"

#include "bitumen/forms_u.h"
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
const QString kBankDefault = QStringLiteral("بانکي/معتبر");
// The history's sums of the batch below.
const QString kSums = QStringLiteral("20") + kSumTonaj + QStringLiteral("91,200,000") + kSumZemanat;

struct Batch {
    qint64 contractor = 0;
    qint64 a = 0, b = 0;   // the batch: the contractor's allocations registered on one day
};

qint64 addContractor(Fixture &f)
{
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, sabt, haml_name, haml_cod, phone) "
                             "values (?,?,?,?,?,?,?)"),
              {kContractor, "محمد رضايي", "علي", "5678", "حمل و نقل سپهر", "7788", "086-33333333"});
    return f.scalar("select max(id) from peymankaran").toLongLong();
}

QVariantMap allocation(qint64 contractor, const QString &village, const QVariant &tons, const QVariant &price)
{
    return {{"city", "اراك"}, {"rosta", village}, {"peymankar", kContractor}, {"peymankar_id", contractor},
            {"reg_dat", "1403/05/06"}, {"ghir_tahatori", tons}, {"bors_price", price}, {"prot_no", "ق-11"},
            {"z_no", "Z-1001"}};
}

// Two allocations of 12 t at 3,500,000 and 8 t at 4,250,000 rials a tonne: tonnage 20,
// guarantees 12 x 3,500,000 x 1.2 = 50,400,000 and 8 x 4,250,000 x 1.2 = 40,800,000,
// together 91,200,000. Not in the batch: the same contractor on another day, another
// contractor on the same day. The signatories listed; a user of the level signed in, one of
// the batch current.
Batch setUpBatch(Fixture &f, bool second = false, const QString &level = "ostan", const QString &user = "2280000011")
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
    addSettings(f, {{"معاون عمران روستايي", "مهندس احمدي"}, {"مدير کل", "دکتر کريمي"}, {"معاون ذيحساب", "حسين موسوي"}});
    signInWithCounty(f, level, user);
    makeCurrent(f, second ? b.b : b.a);
    return b;
}

// Every history row is for the allocation, today, by the signed-in user.
void historyRowsAreFor(Fixture &f, qint64 key)
{
    QCOMPARE(f.scalar("select count(*) from ghir_history where ghir_key<>? or dat<>? or karbar<>?",
                      {key, SolarDateText(), "2280000011"}).toInt(), 0);
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
        QCOMPARE(f.ui.reports.size(), 1);
        QCOMPARE(f.ui.reports.at(0).kind, ScriptedUi::ReportCall::Preview);
        // The villages of the batch in the database's order, each after " * "; the other day's
        // allocation and the other contractor's are not in it. The contractor's register row.
        const report::FilledReport &r = shown(f, "TTAAHODNAME_PEYMANKAR",
            {{"dat", "1403/05/10"}, {"rosta", " * ده نو * کرهرود"}, {"name", "محمد رضايي"}, {"farher", "علي"},
             {"phone", "086-33333333"}, {"z_no", "Z-1001"}});
        QCOMPARE(r.fontSize("rosta"), 14.0);
        // One request row, then one row per completed print.
        QCOMPARE(historyTexts(f), QStringList({kTaahodView, kTaahodPrint, kTaahodPrint}));
        historyRowsAreFor(f, b.b);

        // A typed contractor has no register row: its labels stay empty.
        QVariantMap typed = allocation(-1, "ساروق", 12, 3500000);
        typed["peymankar"] = "شرکت تايپ شده";
        makeCurrent(f, addGhir(f, typed));
        choose(f, "N8");
        shown(f, "TTAAHODNAME_PEYMANKAR", {{"name", ""}, {"farher", ""}, {"phone", ""}, {"rosta", " * ساروق"}});
    }

    void guaranteeIntroductions()
    {
        Fixture f(true);
        setUpBatch(f);
        // Printed once; a second try fails and a third is cancelled: one print row.
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::PrintFailed, Ui::PrintCancelled});
        choose(f, "N9");
        QCOMPARE(f.ui.prompts, QStringList({"Zemanatname|ضمانتنامه|" + kBankDefault}));
        QCOMPARE(f.ui.reports.at(0).printed, 1);
        // Cancelled kind-of-guarantee box: its default. Eight digits: a comma after the second and the fifth.
        const report::FilledReport &r = shown(f, "TZEMANATNAME",
            {{"dat", SolarDateText()}, {"zemanatname_typ", kBankDefault}, {"moaven_omran", "مهندس احمدي"},
             {"sum_tonaj", "20"}, {"sum_zemanat", "91,200,000"}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(reportColumn(r, "bors_price"), QStringList({"3,500,000", "4,250,000"}));
        QCOMPARE(reportColumn(r, "z_mablagh2"), QStringList({"50,400,000", "40,800,000"}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + kSums, kZemanatPrint + kSums}));

        // A5: its own box; no print history.
        f.ui.inputs << "ضمانتنامه بانکي";
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "A51");
        QCOMPARE(f.ui.prompts.last(), "zemanatname2|ضمانتنامه|" + kBankDefault);
        const report::FilledReport &a5 = shown(f, "TZEMANATNAME2", {{"zemanatname_typ", "ضمانتنامه بانکي"}, {"sum_tonaj", "20"}});
        QCOMPARE(reportColumn(a5, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(historyTexts(f).mid(2), QStringList({kZemanatView + "20" + kSumTonaj}));
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
        // No signatory in the list: empty.
        const report::FilledReport &r = shown(f, "TZEMANATNAME",
            {{"sum_tonaj", "1,244.5"}, {"sum_zemanat", "2,962,800,000"}, {"moaven_omran", ""}});
        QCOMPARE(reportColumn(r, "z_mablagh2"), QStringList({"2,962,800,000", ""}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + "1,244.5" + kSumTonaj + "2,962,800,000" + kSumZemanat}));
    }

    void oilCompanyLetter()
    {
        Fixture f(true);
        const Batch b = setUpBatch(f);
        f.ui.inputs << "1250/پ";
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N44");
        const QString today = SolarDateText();
        QCOMPARE(f.ui.prompts, QStringList({"Peymankar Paper Number|شماره نامه پيمانکار|?",
                                            "Peymankar Paper Dat|تاريخ نامه پيمانکار|" + today}));
        // 12 + 8 tonnes, in words with the unit; each row in words without it.
        const report::FilledReport &r = shown(f, "TMOAREFI_NAFT",
            {{"pey_no", "1250/پ"}, {"pey_dat", today}, {"name", "محمد رضايي"}, {"sabt_no", "5678"},
             {"moaven_zihesab", "حسين موسوي"}, {"modirkol", "دکتر کريمي"}, {"ghir_tahatori", "20"},
             {"ghir_tahatori_horofi", " بيست  تن"}});
        QCOMPARE(reportColumn(r, "ghir_tahatoriHOROF"), QStringList({" دوازده ", " هشت "}));
        QCOMPARE(reportColumn(r, "haml_name"), QStringList({"حمل و نقل سپهر", "حمل و نقل سپهر"}));
        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint}));
        historyRowsAreFor(f, b.a);

        // Straight print: three copies after one printer dialog, no preview.
        choose(f, "N45");
        QCOMPARE(f.ui.reports.last().kind, ScriptedUi::ReportCall::Print);
        QCOMPARE(f.ui.reports.last().printed, 3);
        QCOMPARE(historyTexts(f).mid(2), QStringList({kNaftView, kNaftPrint, kNaftPrint, kNaftPrint}));
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
        // A fractional total: the figure as it is, no words. Rows in words: none for 12.5 t,
        // "0" for a null tonnage.
        const report::FilledReport &r = shown(f, "TMOAREFI_NAFT", {{"ghir_tahatori", "20.5"}, {"ghir_tahatori_horofi", ""}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود", "سنجان"}));
        QCOMPARE(reportColumn(r, "ghir_tahatoriHOROF"), QStringList({"", " هشت ", "0"}));

        // The typed contractor's own letter lists its row with its name and no register data.
        makeCurrent(f, typed);
        choose(f, "N44");
        const report::FilledReport &t = shown(f, "TMOAREFI_NAFT",
            {{"ghir_tahatori", "5"}, {"ghir_tahatori_horofi", " پنج  تن"}, {"name", ""}});
        QCOMPARE(reportColumn(t, "peymankar"), QStringList({kContractor}));
        QCOMPARE(reportColumn(t, "haml_name"), QStringList({""}));
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
            QCOMPARE(f.ui.messages, QStringList(5, texts::kFormRefused));
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
        // A tonnage that is not whole has no words (2.5 t is neither "دو" nor "سه").
        const QStringList expected{" يک هزار و  يک ", QString(), QString(), QString(), "0", QString()};
        for (int r = 0; r < 6; ++r)
            QCOMPARE(naft->text("ghir_tahatoriHOROF", r), expected.at(r));
        // The field is computed again whenever the rows are loaded; a join's repeated name
        // finds the allocation's column, not the contractor register's.
        f.dm.exec(QStringLiteral("update ghir set ghir_tahatori=?, peymankar=?"), {40, "نام تايپ شده"});
        naft->reopen();
        QCOMPARE(naft->text("ghir_tahatorihorof", 0), QStringLiteral(" چهل") + QChar(0x200C) + ' ');
        QCOMPARE(naft->text("peymankar", 0), "نام تايپ شده");
        QCOMPARE(naft->text("id", 0), f.scalar("select min(id) from ghir").toString());
    }
};

VARNOSET_DB_TEST_MAIN(FormsTest)
#include "db_forms.moc"
