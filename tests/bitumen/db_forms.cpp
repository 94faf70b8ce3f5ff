// The bitumen window's printed forms driven from its menu: the undertaking, the guarantee
// introductions, the oil company letter, the minutes and sheets, the refunds and memoranda:
// labels and sums worked out by hand, history rows per request and completed print, the gate.
#include "support/report_support.h"
#include "support/texts.h"
#include "support/readback.h"

#include "bitumen/forms_rows.h"
#include "bitumen/forms_u.h"
#include "core/dates.h"

#include <QComboBox>

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
const QString kCommitteeView = QStringLiteral("مشاهده فرم صورتجلسه کميته توزيع قير");
const QString kCommitteePrint = QStringLiteral("چاپ فرم صورتجلسه کميته توزيع قير");
const QString kMasrafView = QStringLiteral("مشاهده فرم صورتجلسه مصرف قير");
const QString kMasrafPrint = QStringLiteral("چاپ فرم صورتجلسه مصرف قير");
const QString kTahatorView = QStringLiteral("مشاهده فرم صورتجلسه تهاتر قير");
const QString kTahatorPrint = QStringLiteral("چاپ فرم صورتجلسه تهاتر قير");
const QString kSheetView = QStringLiteral("مشاهده فرم محاسبات مصرف قير");
const QString kSheetPrint = QStringLiteral("چاپ فرم محاسبات مصرف قير");
const QString kRefundView = QStringLiteral("مشاهده فرم استرداد تضمين");
// The history's sums of the batch below.
const QString kSums = QStringLiteral("20") + kSumTonaj + QStringLiteral("91,200,000") + kSumZemanat;

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
            {"palayeshgah_name", "امام خميني شازند"}, {"ghir_t", "3"}, {"ghir_jam", "4"}};
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

// An allocation of the contractor under letter 452/ق registered on 1403/05/06, `values` over it.
qint64 underLetter(Fixture &f, const QVariantMap &values = {})
{
    QVariantMap row{{"peymankar", kContractor}, {"moarefi_no", "452/ق"}, {"moarefi_dat", "1403/05/20"},
                    {"reg_dat", "1403/05/06"}, {"prj_typ", "آسفالت معابر"}, {"sal", "1403"}};
    row.insert(values);
    return addGhir(f, row);
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
        QVERIFY(f.ui.reports.size() == 1 && f.ui.reports.at(0).kind == ScriptedUi::ReportCall::Preview);
        // The villages of the batch in the database's order, each after " * "; the other day's
        // allocation and the other contractor's are not in it. The contractor's register row.
        const report::FilledReport &r = shown(f, "TTAAHODNAME_PEYMANKAR",
            {{"dat", "1403/05/10"}, {"rosta", " * ده نو * کرهرود"}, {"name", "محمد رضايي"}, {"farher", "علي"},
             {"phone", "086-33333333"}, {"z_no", "Z-1001"}, {"sh_no", "1234"}, {"sodor", "اراك"}, {"peymankar", kContractor},
             {"adr", "اراك، خيابان شهيد بهشتي، پلاك 12"}, {"takhliye", "کارخانه آسفالت جاده خمين"}, {"mobile", "09120000000"},
             {"city_paper_no", "452/ش"}, {"city_paper_dat", "1403/04/20"}, {"z_bank", "بانک ملي"}});
        QCOMPARE(r.fontSize("rosta"), 14.0);
        QCOMPARE(f.ui.messages, QStringList());
        // One request row, then one row per completed print.
        QCOMPARE(historyTexts(f), QStringList({kTaahodView, kTaahodPrint, kTaahodPrint}));
        historyRowsAreFor(f, b.b);
        // A typed contractor has no register row: its labels stay empty.
        QVariantMap typed = allocation(-1, "ساروق", 12, 3500000);
        typed["peymankar"] = "شرکت تايپ شده";
        makeCurrent(f, addGhir(f, typed));
        choose(f, "N8");
        shown(f, "TTAAHODNAME_PEYMANKAR", {{"name", ""}, {"farher", ""}, {"phone", ""}, {"rosta", " * ساروق"}, {"sh_no", ""},
                                           {"sodor", ""}, {"peymankar", ""}, {"adr", ""}, {"takhliye", ""}, {"mobile", ""}});
        QCOMPARE(historyTexts(f).mid(3), QStringList({kTaahodView}));
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
             {"sum_tonaj", "20"}, {"sum_zemanat", "91,200,000"}, {"peymankar", kContractor}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(reportColumn(r, "city"), QStringList({"اراك", "اراك"}));
        QCOMPARE(reportColumn(r, "ghir_tahatori"), QStringList({"12", "8"}));
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
             {"ghir_tahatori_horofi", " بيست  تن"}, {"city", "اراك"}, {"peymankar", kContractor}, {"peymankar2", kContractor},
             {"eghtesadi", "411111111111"}, {"shenase", "10100000001"}, {"phone", "086-33333333"}, {"fax", "086-34444444"},
             {"mobile", "09120000000"}, {"adr", "اراك، خيابان شهيد بهشتي، پلاك 12"}, {"zipcode", "3813777777"},
             {"takhliye", "کارخانه آسفالت جاده خمين"}, {"z_no", "Z-1001"}, {"z_dat", "1403/05/01"},
             {"comp_naft_name", "منطقه اراك"}, {"palayeshgah_name", "امام خميني شازند"}});
        QCOMPARE(reportColumn(r, "ghir_tahatoriHOROF"), QStringList({" دوازده ", " هشت "}));
        const QList<QPair<QString, QStringList>> columns{
            {"ghir_tahatori", {"12", "8"}}, {"rosta", {"ده نو", "کرهرود"}}, {"peymankar", {kContractor, kContractor}},
            {"haml_cod", {"7788", "7788"}}, {"prot_no", {"ق-11", "ق-11"}}};
        for (const auto &[name, cells] : columns)
            QCOMPARE(reportColumn(r, name), cells);
        QCOMPARE(reportColumn(r, "haml_name"), QStringList({"حمل و نقل سپهر", "حمل و نقل سپهر"}));
        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint}));
        historyRowsAreFor(f, b.a);
        // Straight print: three copies after one printer dialog, no preview.
        choose(f, "N45");
        QCOMPARE(f.ui.reports.size(), 2);
        QCOMPARE(f.ui.reports.last().kind, ScriptedUi::ReportCall::Print);
        QCOMPARE(f.ui.reports.last().printed, 3);
        QCOMPARE(historyTexts(f).mid(2), QStringList({kNaftView, kNaftPrint, kNaftPrint, kNaftPrint}));
    }

    // The same name typed on the same day without the register's id is in the guarantee batch
    // but not in the letter, whose total follows the rows it lists; the typed name's own letter
    // lists its row without register data.
    void batchWithFractionsNullsAndATypedName()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        const qint64 c = addContractor(f);
        const qint64 a = addGhir(f, allocation(c, "ده نو", 1234.5, 2000000));
        addGhir(f, allocation(c, "کرهرود", 10, QVariant()));
        const qint64 typed = addGhir(f, allocation(-1, "ساروق", 5, 1000000));
        addGhir(f, allocation(c, "سنجان", QVariant(), 1000000));
        makeCurrent(f, a);
        choose(f, "N9");
        // 1234.5 x 2,000,000 x 1.2 = 2,962,800,000 and 5 x 1,000,000 x 1.2 = 6,000,000; a null
        // price or tonnage gives no guarantee and the sum leaves it out. No signatory: empty.
        const report::FilledReport &r = shown(f, "TZEMANATNAME",
            {{"sum_tonaj", "1,249.5"}, {"sum_zemanat", "2,968,800,000"}, {"moaven_omran", ""}});
        QCOMPARE(reportColumn(r, "z_mablagh2"), QStringList({"2,962,800,000", "", "6,000,000", ""}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + "1,249.5" + kSumTonaj + "2,968,800,000" + kSumZemanat}));
        // A fractional total: the figure as it is, no words. Rows in words: none for 1234.5 t,
        // "0" for a null tonnage.
        choose(f, "N44");
        const report::FilledReport &l = shown(f, "TMOAREFI_NAFT", {{"ghir_tahatori", "1244.5"}, {"ghir_tahatori_horofi", ""}});
        QCOMPARE(reportColumn(l, "rosta"), QStringList({"ده نو", "کرهرود", "سنجان"}));
        QCOMPARE(reportColumn(l, "ghir_tahatoriHOROF"), QStringList({"", " ده ", "0"}));
        makeCurrent(f, typed);
        choose(f, "N44");
        const report::FilledReport &t = shown(f, "TMOAREFI_NAFT",
            {{"ghir_tahatori", "5"}, {"ghir_tahatori_horofi", " پنج  تن"}, {"name", ""}});
        QCOMPARE(reportColumn(t, "peymankar") + reportColumn(t, "haml_name"), QStringList({kContractor, ""}));
    }

    // Below the province level (the level compared exactly) every province form asks its boxes,
    // records its request and is refused; "admin" only gets the guarantee refund.
    void levelGateRecordsTheRequestAndRefuses()
    {
        const QList<const char *> items{"N8", "A51", "N9", "N44", "N45", "N7", "N50", "N49", "N11", "N23",
                                        "N12", "N16", "N31", "N32", "N25", "N51"};
        for (const char *level : {"city", "admin", "keshvar", "Ostan"}) {
            Fixture f(true);
            setUpBatch(f, false, level);
            const QList<const char *> refused = items.mid(0, qstrcmp(level, "admin") ? 16 : 15);
            for (const char *item : refused)
                choose(f, item);
            // The refunds ask five each, their letter's number among them.
            QCOMPARE(f.ui.prompts.size(), refused.size() == 16 ? 32 : 27);
            QCOMPARE(f.ui.messages, QStringList(refused.size(), texts::kFormRefused));
            QCOMPARE(f.ui.reports.size(), 0);
            QCOMPARE(historyTexts(f), QStringList({kTaahodView, kZemanatView + "20" + kSumTonaj, kZemanatView + kSums,
                                                   kNaftView, kNaftView, kCommitteeView, kCommitteeView, kCommitteeView,
                                                   kMasrafView, kSheetView, kSheetView, kTahatorView, kTahatorView,
                                                   kSheetView, kRefundView, kRefundView})
                                          .mid(0, refused.size()));
        }
        // A user name longer than the history's column: refused before anything is written.
        Fixture f(true);
        setUpBatch(f, false, "ostan", QString(31, 'u'));
        choose(f, "N8");
        QVERIFY(f.ui.messages.size() == 1 && f.ui.messages.at(0).contains("karbar"));
        QCOMPARE(f.ui.prompts.size(), 2);
        QCOMPARE(f.ui.reports.size() + f.count("ghir_history"), 0);
    }

    void wordsFieldOfTheLetterRows()
    {
        Fixture f;
        const qint64 c = addContractor(f);
        for (const QVariant &tons : {QVariant(1001), QVariant(3.5), QVariant(0), QVariant(3e9), QVariant(2.5), QVariant()})
            addGhir(f, allocation(c, "ده نو", tons, 0));
        DataSet *naft = f.dm.ADOQ_naft;
        naft->open("select * from ghir left join peymankaran on ghir.peymankar_id=peymankaran.id order by ghir.id");
        QCOMPARE(naft->recordCount(), 6);
        // Words only of a whole tonnage within range: 3.5 t is neither "سه" nor "چهار", 2.5 t
        // neither "دو" nor "سه"; "0" for none.
        QStringList words;
        for (int r = 0; r < 6; ++r)
            words << naft->text("ghir_tahatoriHOROF", r);
        QCOMPARE(words, QStringList({" يک هزار و  يک ", "", "", "", "", "0"}));
        // Computed again whenever the rows are loaded; the join's repeated name is the allocation's.
        f.dm.exec("update ghir set ghir_tahatori=?, peymankar=?", {40, "نام تايپ شده"});
        naft->reopen();
        QCOMPARE(naft->text("ghir_tahatorihorof", 0) + naft->text("peymankar", 0),
                 QStringLiteral(" چهل") + QChar(0x200C) + " نام تايپ شده");
        QCOMPARE(naft->text("id", 0), f.scalar("select min(id) from ghir").toString());
    }

    // The meeting group: the contractor's rows under one letter registered the same day. The
    // consumption minutes ask three boxes, sum area and tonnage, list the rows, sign with the
    // seven members and record each completed print; the control form lists the same rows.
    void committeeMinutesAndControlForm()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        addSettings(f, {{"مدير کل", "دکتر کريمي"}, {"معاون عمران روستايي", "مهندس احمدي"}, {"معاون ذيحساب", "حسين موسوي"},
                        {"رئيس حراست", "رضا نوري"}, {"کارشناس مسئول امور حقوقي", "مريم صادقي"},
                        {"كارشناس مسئول نظارت", "سعيد رحيمي"}, {"کارشناس مسئول قراردادها", "علي رضايي"}});
        const qint64 a = underLetter(f, {{"rosta", "ده نو"}, {"prj_area", 4500.5}, {"ghir_tahatori", 12.5}, {"prot_no", "ق-11"},
                                         {"prot_dat", "1403/03/01"}});
        underLetter(f, {{"rosta", "کرهرود"}, {"prj_area", 3000}, {"ghir_tahatori", 8}});
        underLetter(f, {{"rosta", "سنجان"}, {"moarefi_no", "453/ق"}, {"ghir_tahatori", 100}});
        underLetter(f, {{"rosta", "ساروق"}, {"reg_dat", "1403/06/01"}, {"ghir_tahatori", 100}});
        makeCurrent(f, a);
        f.ui.inputs << ScriptedUi::kCancel << "1403/05/12" << ScriptedUi::kCancel;
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::PrintCancelled, Ui::Printed});
        choose(f, "N7");
        const QString ghirType = "مصرفي و معادلسازي (باستناد نظريه شوراي هماهنگي دستگاه هاي نظارتي استان مورخ 1401/04/10)";
        QCOMPARE(f.ui.prompts, QStringList({"Jalase No|شماره جلسه|م/ت", "Date|تاريخ جلسه|" + SolarDateText(),
                                            "Ghir Type|نوع قير|" + ghirType}));
        // 4500.5 + 3000 m2 and 12.5 + 8 t; the other letter and the other day are not in it.
        const report::FilledReport &r = shown(f, "TSORATJALASE_TOZI",
            {{"jalase_no", "م/ت"}, {"jalase_dat", "1403/05/12"}, {"sath_sum", "7500.5"}, {"ghir_sum", "20.5"}, {"modirkol", "دکتر کريمي"},
             {"moaven_omran", "مهندس احمدي"}, {"moaven_zihesab", "حسين موسوي"}, {"herasat", "رضا نوري"},
             {"hoghoghi", "مريم صادقي"}, {"karmasol_nezarat", "سعيد رحيمي"}, {"gharardad", "علي رضايي"},
             {"prj_typ", "آسفالت معابر"}, {"peymankar", kContractor}, {"sal", "1403"}, {"masrafi", ghirType}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(reportColumn(r, "prj_area"), QStringList({"4500.5", "3000"}));
        QCOMPARE(reportColumn(r, "prot_no"), QStringList({"ق-11", ""}));
        QCOMPARE(historyTexts(f), QStringList({kCommitteeView, kCommitteePrint, kCommitteePrint}));
        f.ui.prompts.clear();
        f.ui.inputs << "1403/05/14";
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N49");
        QCOMPARE(f.ui.prompts, QStringList({"Date|تاريخ|" + SolarDateText()}));
        const report::FilledReport &c = shown(f, "TGHIR_FRM_CONTROL",
            {{"dat", "1403/05/14"}, {"sath_sum", "7500.5"}, {"ghir_sum", "20.5"}, {"herasat", "رضا نوري"},
             {"moaven_zihesab", "حسين موسوي"}, {"karmasol_nezarat", "سعيد رحيمي"}, {"gharardad", "علي رضايي"}});
        QCOMPARE(reportColumn(c, "rosta"), QStringList({"ده نو", "کرهرود"}));
        // The control form records its request under the minutes' title, and no print.
        QCOMPARE(historyTexts(f).mid(3), QStringList({kCommitteeView}));
    }

    // The exchange minutes print the window's list as it stands, and their totals are the
    // totals of that list: not the rows of another county, not a filter edited since the search.
    void exchangeMinutesTotalTheListedRows()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        // Remainders: 12.5 + 3 - 10 = 5.5; an empty consumption counts 0: 0 + 2 - 8 = -6;
        // an unreadable equalisation counts 0: 4 + 0 - 1 = 3. Together 2.5; areas 1200.25 + 800 + 0.
        const qint64 a = underLetter(f, {{"rosta", "ده نو"}, {"sorat_area", 1200.25}, {"ghir_jam", "12.5"}, {"ghir_t", "3"},
                                        {"ghir_tahatori", 10}});
        underLetter(f, {{"rosta", "کرهرود"}, {"sorat_area", 800}, {"ghir_t", "2"}, {"ghir_tahatori", 8}});
        underLetter(f, {{"rosta", "سنجان"}, {"ghir_jam", "4"}, {"ghir_t", "؟"}, {"ghir_tahatori", 1}});
        underLetter(f, {{"city", "شازند"}, {"rosta", "آستانه"}, {"sorat_area", 5000}, {"ghir_jam", "50"}, {"ghir_tahatori", 1}});
        makeCurrent(f, a);
        // A filter ticked and typed after the search does not change the list or its totals.
        auto *w = f.form<Tghir_src>();
        click(w, "CheckBox1");
        child<QComboBox>(w, "peymankar")->setCurrentText("ديگر");
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N50");
        QCOMPARE(f.ui.prompts.size(), 2);
        const report::FilledReport &r = shown(f, "TSORATJALASE_TOZI2",
            {{"sath_sum", "2000.25"}, {"mande_sum", "2.5"}, {"jalase_no", "م/ت"}, {"sal", "1403"}});
        QCOMPARE(reportColumn(r, "rosta"), QStringList({"ده نو", "سنجان", "کرهرود"}));
        QCOMPARE(reportColumn(r, "mande"), QStringList({"5.5", "3", "-6"}));
        // No print history for this layout.
        QCOMPARE(historyTexts(f), QStringList({kCommitteeView}));
    }

    // The consumption and exchange papers: their boxes, their history, and the current row's
    // figures as stored (the sheets print ghir60 31.06 whatever the density).
    void consumptionAndExchangePapers_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<Labels>("labels");
        QTest::addColumn<QStringList>("history"); // after a preview with two completed prints
        const QString today = SolarDateText();
        const QString letter = "Date|تاريخ نامه|" + today;
        // The site and laboratory figures each of them copies, the sheets' figures as well.
        const Labels site{{"rosta", "ده نو"}, {"city", "اراك"}, {"sal", "1403"}, {"rep_no", "آ/2157"}, {"rep_dat", "1403/07/02"},
                          {"az_name", "آزمايشگاه فني استان"}, {"sorat_area", "4520.5"}, {"zekhamat_m", "5.5"}};
        const Labels sheet = site.mid(3) + Labels{{"dat", today}, {"ghir60", "31.06"}, {"vazn", "2.31"}, {"ghir_jam", "37.36"},
            {"prj_typ", "آسفالت معابر"}, {"peymankar", kContractor}, {"ghir_m_p", "6.3"}, {"ghir_masrafi_m", "5.2"},
            {"ghir_prim", "1.1"}, {"asfalt_ejra", "597.32"}, {"rosta", "ده نو"}, {"city", "اراك"}};
        QTest::newRow("consumption minutes") << QByteArray("N11") << "TSORATJALASE_MASRAF"
                << QStringList{"Bazdid Date|تاريخ بازديد|" + today}
                << site + Labels{{"dat", today}, {"ghir_jam", "37.36"}, {"ghir_masrafi_m", "5.2"}}
                << QStringList{kMasrafView, kMasrafPrint, kMasrafPrint};
        QTest::newRow("exchange minutes") << QByteArray("N16") << "TSORATJALASE_TAHATOR"
                << QStringList{"Date|تاريخ|" + today}
                << site + Labels{{"asfalt_ejra", "597.32"}, {"ghir_t", "85"}, {"peymankar", kContractor}}
                << QStringList{kTahatorView, kTahatorPrint, kTahatorPrint};
        QTest::newRow("consumption sheet") << QByteArray("N23") << "TTAHATOR_GHIR" << QStringList{letter}
                << sheet + Labels{{"sorat_area_f", "1210"}, {"zekhamat_m_f", "4.5"}} << QStringList{kSheetView};
        QTest::newRow("development sheet") << QByteArray("N32") << "TTAHATOR_GHIR2"
                << QStringList{"Title|عنوان|عمراني/دهياري", letter}
                << sheet + Labels{{"ghir_tahatori", "40"}, {"ghir_tahatori_ghir_jam", "85"}, {"titr_lbl", "عمراني/دهياري"}}
                << QStringList{kSheetView};
        // Equalised plus consumed bitumen: 85 + 37.36.
        QTest::newRow("development minutes") << QByteArray("N31") << "TSORATJALASE_TAHATOR2"
                << QStringList{"Date|تاريخ|" + today, "Title|عنوان|عمراني/دهياري"}
                << site + Labels{{"ghir_t_ghir_jam", "85"}, {"ghir_tahatori", "122.36"}, {"ghir_jam", "37.36"},
                                 {"asfalt_ejra", "597.32"}, {"peymankar", kContractor}, {"titr_lbl", "عمراني/دهياري"}}
                << QStringList{kTahatorView};
    }
    void consumptionAndExchangePapers()
    {
        QFETCH(QByteArray, item);
        QFETCH(QString, layout);
        QFETCH(QStringList, prompts);
        QFETCH(Labels, labels);
        QFETCH(QStringList, history);
        Fixture f(true);
        signInWithCounty(f, "ostan");
        const qint64 id = underLetter(f, {{"sorat_area_f", 1210}, {"vazn", "2.31"}, {"asfalt_ejra", "597.32"},
                                         {"ghir60", "31.06"}, {"ghir_jam", "37.36"}, {"ghir_t", "85"}, {"ghir_tahatori", 40},
                                         {"rosta", "ده نو"}, {"rep_no", "آ/2157"}, {"rep_dat", "1403/07/02"},
                                         {"az_name", "آزمايشگاه فني استان"}, {"sorat_area", 4520.5}, {"zekhamat_m", "5.5"},
                                         {"zekhamat_m_f", "4.5"}, {"ghir_masrafi_m", "5.2"}, {"ghir_prim", "1.1"},
                                         {"ghir_m_p", "6.3"}});
        makeCurrent(f, id);
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::Printed});
        choose(f, item.constData());
        QCOMPARE(f.ui.prompts, prompts);
        const report::FilledReport &r = shown(f, layout, labels);
        if (r.layout().labelNames().contains("serial"))
            QCOMPARE(r.text("serial"), QString::number(id));
        QCOMPARE(historyTexts(f), history);
        QCOMPARE(f.scalar("select count(*) from ghir_history where ghir_key<>?", {id}).toInt(), 0);
    }

    // The exchange sheet's chain of amounts, grouped; zarib takes no part.
    void exchangeSheetAmounts_data()
    {
        QTest::addColumn<QVariantMap>("row");
        QTest::addColumn<Labels>("labels");
        // 2,000,000 x 150 = 300,000,000; 150 x 500,000 = 75,000,000; together 375,000,000.
        QTest::newRow("whole amounts") << QVariantMap{{"prot_mablagh", 2000000}, {"asfalt_ejra", "150"},
                {"prot_mablagh_ejra", 500000}, {"ghir_t", "85"}, {"ghir_moadel", 185000000}, {"zarib", "1.3"}}
            << Labels{{"prot_mablagh", "2,000,000"}, {"asfalt_ejra2", "150"}, {"mablagh_khales1", "300,000,000"},
                      {"prot_mablagh_ejra", "500,000"}, {"mablagh_kol1", "300,000,000"}, {"mablagh_kol2", "75,000,000"},
                      {"mablagh_khales2", "75,000,000"}, {"khales_sum", "375,000,000"}, {"ghir_moadel", "185,000,000"},
                      {"ghir_moadel_mizan", "85"}};
        // Billions with a fractional volume: 45,000,000 x 1250.5 = 56,272,500,000;
        // 1250.5 x 12,500,000 = 15,631,250,000; together 71,903,750,000. 1250 t grouped.
        QTest::newRow("billions") << QVariantMap{{"prot_mablagh", 45000000}, {"asfalt_ejra", "1250.5"},
                {"prot_mablagh_ejra", 12500000}, {"ghir_t", "1250"}}
            << Labels{{"mablagh_kol1", "56,272,500,000"}, {"mablagh_kol2", "15,631,250,000"},
                      {"khales_sum", "71,903,750,000"}, {"ghir_moadel_mizan", "1,250"}};
        // 3,333,333 x 0.33335 = 1,111,166.555... read to four decimals: 3,333,333 x 0.3334 = 1,111,333.2222.
        QTest::newRow("four decimals") << QVariantMap{{"prot_mablagh", 3333333}, {"asfalt_ejra", "0.33335"},
                {"prot_mablagh_ejra", 0}, {"ghir_t", "99.5"}}
            << Labels{{"mablagh_kol1", "1,111,333.2222"}, {"mablagh_kol2", "0"}, {"khales_sum", "1,111,333.2222"},
                      {"ghir_moadel_mizan", "99.5"}};
        QTest::newRow("no asphalt yet") << QVariantMap{{"prot_mablagh", 2000000}, {"asfalt_ejra", ""},
                {"prot_mablagh_ejra", 500000}, {"ghir_t", "3"}}
            << Labels{{"asfalt_ejra2", ""}, {"mablagh_kol1", "0"}, {"mablagh_kol2", "0"}, {"khales_sum", "0"},
                      {"mablagh_khales1", "0"}, {"mablagh_khales2", "0"}};
    }
    void exchangeSheetAmounts()
    {
        QFETCH(QVariantMap, row);
        QFETCH(Labels, labels);
        Fixture f(true);
        signInWithCounty(f, "ostan");
        makeCurrent(f, underLetter(f, row));
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N12");
        QCOMPARE(f.ui.prompts, QStringList({"Date|تاريخ نامه|" + SolarDateText()}));
        shown(f, "TMOHASEBAT_GHIR", labels);
        QCOMPARE(historyTexts(f), QStringList({kSheetView, kSheetPrint}));
    }

    // An equalised figure that is not a number ends the exchange sheet before its request row
    // (the development sheet prints "?" for it); no consumption yet ends the development minutes.
    // Each names the box of the complementary data by its caption and says they come first.
    void unreadableFigures()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        const QString equalised = texts::boxName("قير تهاتري");
        for (const auto &[ghirT, said] : {std::pair{"", texts::figureEmpty(equalised)}, {"سه", texts::notANumber("سه", equalised)}}) {
            makeCurrent(f, underLetter(f, {{"ghir_t", ghirT}, {"asfalt_ejra", "150"}, {"prot_mablagh", 1000}}));
            f.ui.messages.clear();
            choose(f, "N12");
            QCOMPARE(f.ui.messages, QStringList{said + texts::kComplementFirst});
            choose(f, "N32");
            shown(f, "TTAHATOR_GHIR2", {{"ghir_tahatori_ghir_jam", "?"}});
        }
        makeCurrent(f, underLetter(f, {{"ghir_t", "3"}}));
        choose(f, "N31");
        QCOMPARE(f.ui.messages.last(), texts::figureEmpty(texts::boxName("جمع کل قير مصرفي - تن")) + texts::kComplementFirst);
        QCOMPARE(f.ui.reports.size(), 2);
        QCOMPARE(historyTexts(f), QStringList(2, kSheetView));
    }

    // The refund lists the contractor's villages and counties under the letter confirmed in its
    // box, each once; its number is the year and the Tehran letter number.
    void guaranteeRefund()
    {
        Fixture f(true);
        signInWithCounty(f, "admin");
        const qint64 a = underLetter(f, {{"rosta", "ده نو"}, {"city", "اراك"}, {"sal", "1402"}});
        underLetter(f, {{"rosta", "کرهرود"}, {"city", "اراك"}});
        underLetter(f, {{"rosta", "ده نو"}, {"city", "اراك"}});
        underLetter(f, {{"rosta", "آستانه"}, {"city", "شازند"}});
        underLetter(f, {{"rosta", "سنجان"}, {"moarefi_no", "460/ق"}});
        underLetter(f, {{"rosta", "ساروق"}, {"peymankar", "شرکت ديگر"}});
        makeCurrent(f, a);
        f.ui.inputs << "1403/09/01" << "12" << "1250/پ" << ScriptedUi::kCancel << ScriptedUi::kCancel;
        choose(f, "N51");
        const QString today = SolarDateText();
        QCOMPARE(f.ui.prompts, QStringList({"Date|تاريخ تعهدنامه|" + today, "Font Size|سايز فونت نام روستاها|10",
                                            "Peymankar Paper No|شماره نامه پيمانکار|؟",
                                            "Peymankar Paper Date|تاريخ نامه پيمانکار|؟",
                                            "City & Rosta|شماره معرفي نامه پيمانکار|452/ق"}));
        const report::FilledReport &r = shown(f, "TESTERDAD_TAZMIN2",
            {{"dat", "1403/09/01"}, {"num", "1402/"}, {"peymankar_paper_no", "1250/پ"}, {"peymankar_paper_dat", "؟"},
             {"tehran_paper_no", "452/ق"}, {"tehran_paper_dat", "1403/05/20"}, {"peymankar", kContractor},
             {"tehran_paper_no2", "452/ق"}, {"tehran_paper_dat2", "1403/05/20"}});
        QCOMPARE(r.fontSize("rosta"), 12.0);
        // The database's order: compared as lists of names, each once.
        auto names = [](const QString &joined) {
            QStringList n = joined.startsWith(" * ") ? joined.mid(3).split(" * ") : QStringList{joined};
            n.sort();
            return n;
        };
        QCOMPARE(names(r.text("rosta")), QStringList({"آستانه", "ده نو", "کرهرود"}));
        QCOMPARE(names(r.text("city")), QStringList({"اراك", "شازند"}));
        // Another letter typed in the box: its villages, the current letter's number unchanged.
        f.ui.inputs << "" << "" << "" << "" << "460/ق";
        choose(f, "N51");
        shown(f, "TESTERDAD_TAZMIN2", {{"rosta", " * سنجان"}, {"city", " * اراك"}, {"tehran_paper_no", "452/ق"}});
        QCOMPARE(historyTexts(f), QStringList(2, kRefundView));
    }

    // The county memoranda open for every level and record nothing.
    void countyMemoranda()
    {
        Fixture f(true);
        signInWithCounty(f, "city");
        makeCurrent(f, underLetter(f, {{"rosta", "ده نو"}, {"city", "اراك"}, {"prj_area", 5250.5}, {"tolemasir", 0}}));
        f.ui.inputs << "1403/02/18";
        choose(f, "N33");
        QCOMPARE(f.ui.prompts, QStringList({"Date|تاريخ تفاهمنامه|" + SolarDateText()}));
        // Never edited: the route length as stored, 0.
        shown(f, "TTAFAHOMNAME", {{"city2", "اراك"}, {"prj_area", "5250.5"}, {"tolemasir", "0"}, {"dat", "1403/02/18"},
                                  {"rosta", "ده نو"}, {"city", "اراك"}});
        // The district always empty.
        choose(f, "N110");
        shown(f, "TGHIR_TAFAHOMNAME1", {{"city", "اراك"}, {"city2", "اراك"}, {"city3", "اراك"}, {"rosta", "ده نو"},
                                        {"rosta2", "ده نو"}, {"bakhsh", ""}});
        choose(f, "N210");
        shown(f, "TGHIR_TAFAHOMNAME2", {{"city1", "اراك"}});
        QCOMPARE(f.ui.reports.size(), 3);
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.count("ghir_history"), qint64(0));
    }

    // The sheets' products of four decimals rounded half to even, not cut; a product past the
    // range fails its step alone.
    void fixedPointAmounts_data()
    {
        QTest::addColumn<QStringList>("args");     // prot_mablagh, asfalt_ejra2, asfalt_ejra, prot_mablagh_ejra
        QTest::addColumn<QStringList>("expected"); // kol1, kol2, khales_sum
        // 1.5 x 0.3333 = 0.49995 -> 0.5; 2.5 x 0.0001 = 0.00025 -> 0.0002 (even);
        // 0.0003 x 0.5 = 0.00015 -> 0.0002; 0.0001 x 0.7 = 0.00007 -> 0.0001.
        QTest::newRow("halves") << QStringList{"1.5", "0.3333", "0.0001", "2.5"} << QStringList{"0.5", "0.0002", "0.5002"};
        QTest::newRow("odd half, above half") << QStringList{"0.0003", "0.5", "0.7", "0.0001"}
                                              << QStringList{"0.0002", "0.0001", "0.0003"};
        QTest::newRow("past the range") << QStringList{"900000000000", "900000", "2", "1000"} << QStringList{"0", "2000", "2000"};
    }
    void fixedPointAmounts()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expected);
        const ExchangeAmounts x = exchangeAmounts(args[0], args[1], args[2], args[3]);
        QCOMPARE(QStringList({x.kol1, x.kol2, x.khalesSum}), expected);
    }

    // Only a whole-number total of the oil company letter is put into words.
    void lettersTotalInWords()
    {
        QCOMPARE(Tghir_forms::tonnageWords(QStringLiteral("0")), QStringLiteral(" تن"));
        for (const char *notWhole : {"20.5", "", "1,200", "2147483648", "abc"})
            QCOMPARE(Tghir_forms::tonnageWords(QLatin1String(notWhole)), QString());
    }

    // The font size box: 4 to 72 taken, Persian digits and blanks around them too; else 10.
    void fontSizeAnswers()
    {
        const QList<QPair<QString, int>> answers{
            {"10", 10}, {"4", 4}, {"72", 72}, {" 12 ", 12}, {"۱۴", 14}, {"3", 10}, {"73", 10},
            {"-8", 10}, {"1e3", 10}, {"12.5", 10}, {"abc", 10}, {QString(), 10}, {"99999999999", 10}};
        for (const auto &a : answers)
            QCOMPARE(report::FormFrame::fontSizeAnswer(a.first), a.second);
    }
};

VARNOSET_DB_TEST_MAIN(FormsTest)
#include "db_forms.moc"
