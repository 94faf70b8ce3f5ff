// The province forms of the bitumen window: the undertaking, the guarantee introductions on A4
// and A5 and the oil company letter, driven from the window's menu as a province user does:
// their labels worked out by hand for one contractor's batch, the history rows of requests and
// prints, the level gate and the per-record words of the letter's rows.
#include "support/fixture.h"
#include "ghir_rows.h"

#include "bitumen/forms_u.h"
#include "bitumen/ghir_src_u.h"
#include "report/filled_report.h"
#include "report/preview.h"
#include "report/printing.h"
#include "shared/dates.h"
#include "shared/qtui.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kContractor = QStringLiteral("شرکت راه گستران البرز");
const QString kRegDat = QStringLiteral("1403/05/06");

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

using Call = ScriptedUi::ReportCall;

struct Batch {
    qint64 contractor = 0;
    qint64 a = 0, b = 0;   // the batch: the contractor's allocations registered on kRegDat
    qint64 later = 0;      // the same contractor on another day
    qint64 other = 0;      // another contractor on the same day
};

// A province user with the county of the allocations, signed in.
qint64 signIn(Fixture &f, const QString &level, const QString &name = QStringLiteral("2280000011"))
{
    const qint64 u = f.addUser(name, QStringLiteral("p"), level);
    f.addCounty(u, QStringLiteral("اراك"));
    f.signInAs(u, name, level);
    return u;
}

qint64 addContractor(Fixture &f)
{
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, sh_no, sodor, sabt, eghtesadi, shenase, "
                             "haml_name, haml_cod, phone, mobile, fax, adr, takhliye, zipcode) "
                             "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {kContractor, QStringLiteral("محمد رضايي"), QStringLiteral("علي"), QStringLiteral("1234"),
               QStringLiteral("اراك"), QStringLiteral("5678"), QStringLiteral("411111111111"),
               QStringLiteral("10100000001"), QStringLiteral("حمل و نقل سپهر"), QStringLiteral("7788"),
               QStringLiteral("086-33333333"), QStringLiteral("09120000000"), QStringLiteral("086-34444444"),
               QStringLiteral("اراك، خيابان شهيد بهشتي، پلاك 12"), QStringLiteral("کارخانه آسفالت جاده خمين"),
               QStringLiteral("3813777777")});
    return f.scalar(QStringLiteral("select max(id) from peymankaran")).toLongLong();
}

QVariantMap allocation(qint64 contractor, const QString &village, double tons, qint64 price)
{
    return {{QStringLiteral("city"), QStringLiteral("اراك")},
            {QStringLiteral("rosta"), village},
            {QStringLiteral("peymankar"), kContractor},
            {QStringLiteral("peymankar_id"), contractor},
            {QStringLiteral("reg_dat"), kRegDat},
            {QStringLiteral("ghir_tahatori"), tons},
            {QStringLiteral("bors_price"), price},
            {QStringLiteral("prot_no"), QStringLiteral("ق-11")},
            {QStringLiteral("prot_dat"), QStringLiteral("1403/03/01")},
            {QStringLiteral("city_paper_no"), QStringLiteral("452/ش")},
            {QStringLiteral("city_paper_dat"), QStringLiteral("1403/04/20")},
            {QStringLiteral("z_no"), QStringLiteral("Z-1001")},
            {QStringLiteral("z_dat"), QStringLiteral("1403/05/01")},
            {QStringLiteral("z_bank"), QStringLiteral("بانک ملي")},
            {QStringLiteral("comp_naft_name"), QStringLiteral("منطقه اراك")},
            {QStringLiteral("palayeshgah_name"), QStringLiteral("امام خميني شازند")}};
}

// Two allocations of 12 t at 3,500,000 and 8 t at 4,250,000 rials a tonne: tonnage 20,
// guarantees 12 x 3,500,000 x 1.2 = 50,400,000 and 8 x 4,250,000 x 1.2 = 40,800,000,
// together 91,200,000.
Batch addBatch(Fixture &f)
{
    Batch b;
    b.contractor = addContractor(f);
    b.a = ghir_rows::add(f, allocation(b.contractor, QStringLiteral("ده نو"), 12, 3500000));
    b.b = ghir_rows::add(f, allocation(b.contractor, QStringLiteral("کرهرود"), 8, 4250000));
    QVariantMap later = allocation(b.contractor, QStringLiteral("سنجان"), 100, 5000000);
    later[QStringLiteral("reg_dat")] = QStringLiteral("1403/06/01");
    b.later = ghir_rows::add(f, later);
    QVariantMap other = allocation(-1, QStringLiteral("ساروق"), 30, 5000000);
    other[QStringLiteral("peymankar")] = QStringLiteral("شرکت ديگر");
    b.other = ghir_rows::add(f, other);
    return b;
}

void addSignatories(Fixture &f)
{
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("معاون عمران روستايي"), QStringLiteral("مهندس احمدي")},
        {QStringLiteral("مدير کل"), QStringLiteral("دکتر کريمي")},
        {QStringLiteral("معاون ذيحساب"), QStringLiteral("حسين موسوي")},
    };
    for (const auto &v : values)
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {v.first, v.second});
}

Tghir_src *window(Fixture &f) { return f.form<Tghir_src>(); }

// Lists the user's allocations as the window does and makes `id` the current one.
void makeCurrent(Fixture &f, qint64 id)
{
    window(f)->search();
    QVERIFY(f.dm.ADOQ_ghir->locate(QStringLiteral("id"), id));
}

void choose(Fixture &f, const char *item) { child<QAction>(window(f), QLatin1String(item))->trigger(); }

struct HistoryRow {
    qint64 key;
    QString cmt, dat, karbar;
};

QList<HistoryRow> history(Fixture &f)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open(QStringLiteral("select ghir_key, cmt, dat, karbar from ghir_history order by pk"));
    QList<HistoryRow> out;
    for (int r = 0; r < q->recordCount(); ++r)
        out << HistoryRow{q->toInt64(QStringLiteral("ghir_key"), r), q->text(QStringLiteral("cmt"), r),
                          q->text(QStringLiteral("dat"), r), q->text(QStringLiteral("karbar"), r)};
    return out;
}

QStringList historyTexts(Fixture &f)
{
    QStringList out;
    for (const HistoryRow &h : history(f))
        out << h.cmt;
    return out;
}

// Cells of one column of a report's rows.
QStringList column(const report::FilledReport &r, const QString &name)
{
    QStringList out;
    for (int row = 0; row < r.rowCount(); ++row)
        out << r.cell(row, name);
    return out;
}

// The program's Ui with a printer that answers from a queue, its input boxes answered with
// their defaults and its messages recorded.
class FakePrintJob : public report::PrintJob {
public:
    QList<Ui::PrintResult> results;
    Ui::PrintResult print(const report::FilledReport &, QWidget *) override
    {
        return results.isEmpty() ? Ui::Printed : results.takeFirst();
    }
};

class ProgramUi : public QtUi {
public:
    QStringList messages;
    QStringList saveAnswers;
    void message(const QString &text, QWidget *) override { messages << text; }
    QString inputBox(const QString &, const QString &, const QString &def, QWidget *) override { return def; }
    QString saveFileName(const QString &, const QString &, const QString &, QWidget *) override
    {
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

} // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void undertakingOfTheBatch()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.b);
        f.ui.inputs << QStringLiteral("1403/05/10") << QStringLiteral("14");
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::Printed});
        choose(f, "N8");

        const QString today = SolarDateText();
        QCOMPARE(f.ui.prompts, QStringList({QStringLiteral("Date|تاريخ تعهدنامه|") + today,
                                            QStringLiteral("Font Size|سايز فونت نام روستاها|10")}));
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.kind, Call::Preview);
        QCOMPARE(c.problems, QStringList());
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), QStringLiteral("TTAAHODNAME_PEYMANKAR"));
        QCOMPARE(r.text("dat"), QStringLiteral("1403/05/10"));
        QCOMPARE(r.fontSize("rosta"), 14.0);
        // The villages of the batch in the database's order, each after " * "; the other day's
        // allocation and the other contractor's are not in it.
        QCOMPARE(r.text("rosta"), QStringLiteral(" * ده نو * کرهرود"));
        QCOMPARE(r.text("name"), QStringLiteral("محمد رضايي"));
        QCOMPARE(r.text("farher"), QStringLiteral("علي"));
        QCOMPARE(r.text("sh_no"), QStringLiteral("1234"));
        QCOMPARE(r.text("sodor"), QStringLiteral("اراك"));
        QCOMPARE(r.text("peymankar"), kContractor);
        QCOMPARE(r.text("adr"), QStringLiteral("اراك، خيابان شهيد بهشتي، پلاك 12"));
        QCOMPARE(r.text("takhliye"), QStringLiteral("کارخانه آسفالت جاده خمين"));
        QCOMPARE(r.text("phone"), QStringLiteral("086-33333333"));
        QCOMPARE(r.text("mobile"), QStringLiteral("09120000000"));
        QCOMPARE(r.text("city_paper_no"), QStringLiteral("452/ش"));
        QCOMPARE(r.text("city_paper_dat"), QStringLiteral("1403/04/20"));
        QCOMPARE(r.text("z_no"), QStringLiteral("Z-1001"));
        QCOMPARE(r.text("z_bank"), QStringLiteral("بانک ملي"));

        // One request row, then one row per completed print, all for the current allocation.
        const QList<HistoryRow> h = history(f);
        QCOMPARE(h.size(), 3);
        QCOMPARE(historyTexts(f), QStringList({kTaahodView, kTaahodPrint, kTaahodPrint}));
        for (const HistoryRow &row : h) {
            QCOMPARE(row.key, b.b);
            QCOMPARE(row.dat, today);
            QCOMPARE(row.karbar, QStringLiteral("2280000011"));
        }
    }

    void undertakingFontSizeAndMissingContractor()
    {
        Fixture f(true);
        signIn(f, QStringLiteral("ostan"));
        // Typed contractor: no register row, so the contractor's labels stay empty.
        const qint64 id = ghir_rows::add(f, allocation(-1, QStringLiteral("ده نو"), 12, 3500000));
        makeCurrent(f, id);
        const QList<QPair<QString, double>> answers{
            {QStringLiteral("abc"), 10}, {QString(), 10},      {QStringLiteral("3"), 10}, {QStringLiteral("73"), 10},
            {QStringLiteral("4"), 4},    {QStringLiteral(" 72 "), 72}, {QStringLiteral("۱۲"), 12}, {QStringLiteral("12.5"), 10},
        };
        for (const auto &a : answers) {
            f.ui.inputs << QStringLiteral("1403/05/10") << a.first;
            choose(f, "N8");
            QCOMPARE(f.ui.reports.last().report->fontSize("rosta"), a.second);
        }
        QCOMPARE(f.ui.reports.size(), answers.size());
        const report::FilledReport &r = *f.ui.reports.last().report;
        for (const char *l : {"name", "farher", "sh_no", "sodor", "peymankar", "adr", "takhliye", "phone", "mobile"})
            QCOMPARE(r.text(QLatin1String(l)), QString());
        QCOMPARE(r.text("rosta"), QStringLiteral(" * ده نو"));
        QCOMPARE(f.ui.reports.last().problems, QStringList());
        QCOMPARE(f.count("ghir_history"), qint64(answers.size()));
    }

    void guaranteeIntroductionA4()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        addSignatories(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.a);
        // Printed once; a second try fails and a third is cancelled: one print row.
        f.ui.previewPrints.enqueue({Ui::Printed, Ui::PrintFailed, Ui::PrintCancelled});
        choose(f, "N9");

        QCOMPARE(f.ui.prompts, QStringList({QStringLiteral("Zemanatname|ضمانتنامه|") + kBankDefault}));
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.problems, QStringList());
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), QStringLiteral("TZEMANATNAME"));
        QCOMPARE(r.text("dat"), SolarDateText());
        QCOMPARE(r.text("peymankar"), kContractor);
        // Cancelled kind-of-guarantee box: its default.
        QCOMPARE(r.text("zemanatname_typ"), kBankDefault);
        QCOMPARE(r.text("moaven_omran"), QStringLiteral("مهندس احمدي"));
        QCOMPARE(r.text("sum_tonaj"), QStringLiteral("20"));
        // Eight digits: a comma after the second and the fifth.
        QCOMPARE(r.text("sum_zemanat"), QStringLiteral("91,200,000"));
        QCOMPARE(r.rowCount(), 2);
        QCOMPARE(column(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(column(r, "city"), QStringList({"اراك", "اراك"}));
        QCOMPARE(column(r, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(column(r, "bors_price"), QStringList({"3,500,000", "4,250,000"}));
        QCOMPARE(column(r, "z_mablagh2"), QStringList({"50,400,000", "40,800,000"}));

        const QString sums = QStringLiteral("20") + kSumTonaj + QStringLiteral("91,200,000") + kSumZemanat;
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + sums, kZemanatPrint + sums}));
        QCOMPARE(c.printed, 1);
    }

    void guaranteeIntroductionA5()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        addSignatories(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.b);
        f.ui.inputs << QStringLiteral("ضمانتنامه بانکي");
        // This layout keeps no print history.
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "A51");

        QCOMPARE(f.ui.prompts, QStringList({QStringLiteral("zemanatname2|ضمانتنامه|") + kBankDefault}));
        QCOMPARE(f.ui.reports.size(), 1);
        QCOMPARE(f.ui.reports.at(0).problems, QStringList());
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(r.layoutName(), QStringLiteral("TZEMANATNAME2"));
        QCOMPARE(r.layout().pageSize, QPageSize::A5);
        QCOMPARE(r.text("zemanatname_typ"), QStringLiteral("ضمانتنامه بانکي"));
        QCOMPARE(r.text("sum_tonaj"), QStringLiteral("20"));
        QVERIFY(!r.layout().labelNames().contains(QStringLiteral("sum_zemanat")));
        QCOMPARE(column(r, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + QStringLiteral("20") + kSumTonaj}));
    }

    void guaranteeSumsWithFractionsAndNullPrice()
    {
        Fixture f(true);
        signIn(f, QStringLiteral("ostan"));
        const qint64 c = addContractor(f);
        // 1234.5 t at 2,000,000: 1234.5 x 2,000,000 x 1.2 = 2,962,800,000; a null price gives
        // no guarantee for its row and the sum leaves it out.
        const qint64 a = ghir_rows::add(f, allocation(c, QStringLiteral("ده نو"), 1234.5, 2000000));
        QVariantMap nul = allocation(c, QStringLiteral("کرهرود"), 10, 0);
        nul[QStringLiteral("bors_price")] = QVariant();
        ghir_rows::add(f, nul);
        makeCurrent(f, a);
        choose(f, "N9");
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(r.text("sum_tonaj"), QStringLiteral("1,244.5"));
        QCOMPARE(r.text("sum_zemanat"), QStringLiteral("2,962,800,000"));
        QCOMPARE(column(r, "z_mablagh2"), QStringList({"2,962,800,000", ""}));
        // No signatory in the list: empty.
        QCOMPARE(r.text("moaven_omran"), QString());
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + QStringLiteral("1,244.5") + kSumTonaj
                                               + QStringLiteral("2,962,800,000") + kSumZemanat}));
    }

    void oilCompanyLetterPreview()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        addSignatories(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.a);
        f.ui.inputs << QStringLiteral("1250/پ");
        f.ui.previewPrints.enqueue({Ui::Printed});
        choose(f, "N44");

        const QString today = SolarDateText();
        QCOMPARE(f.ui.prompts, QStringList({QStringLiteral("Peymankar Paper Number|شماره نامه پيمانکار|?"),
                                            QStringLiteral("Peymankar Paper Dat|تاريخ نامه پيمانکار|") + today}));
        QCOMPARE(f.ui.reports.size(), 1);
        const Call &c = f.ui.reports.at(0);
        QCOMPARE(c.kind, Call::Preview);
        QCOMPARE(c.problems, QStringList());
        const report::FilledReport &r = *c.report;
        QCOMPARE(r.layoutName(), QStringLiteral("TMOAREFI_NAFT"));
        QCOMPARE(r.text("pey_no"), QStringLiteral("1250/پ"));
        QCOMPARE(r.text("pey_dat"), today);
        QCOMPARE(r.text("city"), QStringLiteral("اراك"));
        QCOMPARE(r.text("name"), QStringLiteral("محمد رضايي"));
        QCOMPARE(r.text("peymankar"), kContractor);
        QCOMPARE(r.text("peymankar2"), kContractor);
        QCOMPARE(r.text("sabt_no"), QStringLiteral("5678"));
        QCOMPARE(r.text("eghtesadi"), QStringLiteral("411111111111"));
        QCOMPARE(r.text("shenase"), QStringLiteral("10100000001"));
        QCOMPARE(r.text("phone"), QStringLiteral("086-33333333"));
        QCOMPARE(r.text("fax"), QStringLiteral("086-34444444"));
        QCOMPARE(r.text("mobile"), QStringLiteral("09120000000"));
        QCOMPARE(r.text("zipcode"), QStringLiteral("3813777777"));
        QCOMPARE(r.text("takhliye"), QStringLiteral("کارخانه آسفالت جاده خمين"));
        QCOMPARE(r.text("z_no"), QStringLiteral("Z-1001"));
        QCOMPARE(r.text("z_dat"), QStringLiteral("1403/05/01"));
        QCOMPARE(r.text("comp_naft_name"), QStringLiteral("منطقه اراك"));
        QCOMPARE(r.text("palayeshgah_name"), QStringLiteral("امام خميني شازند"));
        QCOMPARE(r.text("moaven_zihesab"), QStringLiteral("حسين موسوي"));
        QCOMPARE(r.text("modirkol"), QStringLiteral("دکتر کريمي"));
        // 12 + 8 tonnes, in words with the unit; each row in words without it.
        QCOMPARE(r.text("ghir_tahatori"), QStringLiteral("20"));
        QCOMPARE(r.text("ghir_tahatori_horofi"), QStringLiteral(" بيست  تن"));
        QCOMPARE(column(r, "ghir_tahatori"), QStringList({"12", "8"}));
        QCOMPARE(column(r, "ghir_tahatoriHOROF"), QStringList({" دوازده ", " هشت "}));
        QCOMPARE(column(r, "rosta"), QStringList({"ده نو", "کرهرود"}));
        QCOMPARE(column(r, "peymankar"), QStringList({kContractor, kContractor}));
        QCOMPARE(column(r, "haml_name"), QStringList({"حمل و نقل سپهر", "حمل و نقل سپهر"}));
        QCOMPARE(column(r, "haml_cod"), QStringList({"7788", "7788"}));
        QCOMPARE(column(r, "prot_no"), QStringList({"ق-11", "ق-11"}));

        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint}));
        for (const HistoryRow &h : history(f))
            QCOMPARE(h.key, b.a);
    }

    void oilCompanyLetterListsTheContractorsRows()
    {
        Fixture f(true);
        signIn(f, QStringLiteral("ostan"));
        const qint64 c = addContractor(f);
        // The same name typed on the same day without the register's id: in the guarantee
        // batch, but not in the letter, whose total follows the rows it lists.
        const qint64 a = ghir_rows::add(f, allocation(c, QStringLiteral("ده نو"), 12.5, 1000000));
        ghir_rows::add(f, allocation(c, QStringLiteral("کرهرود"), 8, 1000000));
        ghir_rows::add(f, allocation(-1, QStringLiteral("ساروق"), 5, 1000000));
        QVariantMap nul = allocation(c, QStringLiteral("سنجان"), 0, 1000000);
        nul[QStringLiteral("ghir_tahatori")] = QVariant();
        ghir_rows::add(f, nul);
        makeCurrent(f, a);
        choose(f, "N44");
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(r.rowCount(), 3);
        QCOMPARE(column(r, "rosta"), QStringList({"ده نو", "کرهرود", "سنجان"}));
        // A fractional total: the figure as it is, no words.
        QCOMPARE(r.text("ghir_tahatori"), QStringLiteral("20.5"));
        QCOMPARE(r.text("ghir_tahatori_horofi"), QString());
        // Rows in words: rounded to a whole number half to even; none for a null tonnage.
        QCOMPARE(column(r, "ghir_tahatoriHOROF"), QStringList({" دوازده ", " هشت ", "0"}));
        QCOMPARE(f.ui.reports.at(0).problems, QStringList());

        // The typed contractor's own letter lists its row with its name and no register data.
        makeCurrent(f, f.scalar(QStringLiteral("select id from ghir where peymankar_id=-1")).toLongLong());
        choose(f, "N44");
        const report::FilledReport &t = *f.ui.reports.at(1).report;
        QCOMPARE(column(t, "rosta"), QStringList({"ساروق"}));
        QCOMPARE(column(t, "peymankar"), QStringList({kContractor}));
        QCOMPARE(column(t, "haml_name"), QStringList({""}));
        QCOMPARE(t.text("ghir_tahatori"), QStringLiteral("5"));
        QCOMPARE(t.text("ghir_tahatori_horofi"), QStringLiteral(" پنج  تن"));
        QCOMPARE(t.text("name"), QString());
        QCOMPARE(f.ui.reports.at(1).problems, QStringList());
    }

    void oilCompanyLetterStraightPrint()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.a);

        // Two copies, no preview: one request row and two print rows.
        choose(f, "N45");
        QCOMPARE(f.ui.reports.size(), 2);
        for (const Call &c : f.ui.reports) {
            QCOMPARE(c.kind, Call::Print);
            QCOMPARE(c.printed, 1);
            QCOMPARE(c.problems, QStringList());
        }
        QCOMPARE(historyTexts(f), QStringList({kNaftView, kNaftPrint, kNaftPrint}));

        // A failed first copy: the second is not tried and no print is recorded.
        f.ui.reports.clear();
        f.ui.directPrints << Ui::PrintFailed;
        choose(f, "N45");
        QCOMPARE(f.ui.reports.size(), 1);
        QCOMPARE(f.ui.reports.at(0).printed, 0);
        QCOMPARE(historyTexts(f).mid(3), QStringList({kNaftView}));

        // The second copy fails: one print row.
        f.ui.reports.clear();
        f.ui.directPrints << Ui::Printed << Ui::PrintFailed;
        choose(f, "N45");
        QCOMPARE(f.ui.reports.size(), 2);
        QCOMPARE(historyTexts(f).mid(4), QStringList({kNaftView, kNaftPrint}));

        // Previewing only: the request row alone.
        f.ui.reports.clear();
        f.ui.previewPrints.enqueue({});
        choose(f, "N44");
        QCOMPARE(f.ui.reports.size(), 1);
        QCOMPARE(f.ui.reports.at(0).printed, 0);
        QCOMPARE(historyTexts(f).mid(6), QStringList({kNaftView}));
    }

    void levelGateRecordsTheRequestAndRefuses()
    {
        for (const QString &level : {QStringLiteral("city"), QStringLiteral("admin"), QStringLiteral("keshvar"),
                                     QStringLiteral("Ostan")}) {
            Fixture f(true);
            const Batch b = addBatch(f);
            signIn(f, level);
            makeCurrent(f, b.a);
            for (const char *item : {"N8", "A51", "N9", "N44", "N45"})
                choose(f, item);
            // The input boxes are asked, the request is recorded, then the refusal; nothing is
            // previewed or printed.
            QCOMPARE(f.ui.prompts.size(), 2 + 1 + 1 + 2 + 2);
            QCOMPARE(f.ui.messages, QStringList(5, kRefused));
            QCOMPARE(f.ui.reports.size(), 0);
            const QString sums = QStringLiteral("20") + kSumTonaj;
            QCOMPARE(historyTexts(f), QStringList({kTaahodView, kZemanatView + sums,
                                                   kZemanatView + sums + QStringLiteral("91,200,000") + kSumZemanat,
                                                   kNaftView, kNaftView}));
        }
    }

    void noCurrentAllocationDoesNothing()
    {
        Fixture f(true);
        signIn(f, QStringLiteral("ostan"));
        window(f)->search(); // nothing listed
        QVERIFY(f.dm.ADOQ_ghir->eof());
        for (const char *item : {"N8", "A51", "N9", "N44", "N45"})
            choose(f, item);
        QCOMPARE(f.ui.messages, QStringList(5, Tghir_src::kEmptyList));
        QCOMPARE(f.ui.prompts, QStringList());
        QCOMPARE(f.ui.reports.size(), 0);
        QCOMPARE(f.count("ghir_history"), qint64(0));
    }

    void historyValuesAreChecked()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        // A user name longer than the history's column: refused before anything is written,
        // on both databases alike, and no preview opens.
        signIn(f, QStringLiteral("ostan"), QString(31, QLatin1Char('u')));
        makeCurrent(f, b.a);
        choose(f, "N8");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.at(0).contains(QStringLiteral("karbar")));
        QVERIFY(f.ui.prompts.size() == 2);
        QCOMPARE(f.ui.reports.size(), 0);
        QCOMPARE(f.count("ghir_history"), qint64(0));
    }

    void wordsFieldOfTheLetterRows()
    {
        Fixture f;
        const qint64 c = addContractor(f);
        for (const QVariant &tons : {QVariant(1001), QVariant(2.5), QVariant(3.5), QVariant(0), QVariant(),
                                     QVariant(3e9)}) {
            QVariantMap row = allocation(c, QStringLiteral("ده نو"), 0, 0);
            row[QStringLiteral("ghir_tahatori")] = tons;
            ghir_rows::add(f, row);
        }
        DataSet *naft = f.dm.ADOQ_naft;
        naft->open(QStringLiteral("select * from ghir left join peymankaran on ghir.peymankar_id=peymankaran.id "
                                  "order by ghir.id"));
        QCOMPARE(naft->recordCount(), 6);
        const QChar zwnj(0x200C);
        const QStringList expected{QStringLiteral(" يک هزار و  يک "), QStringLiteral(" دو "),
                                   QStringLiteral(" چهار") + zwnj + QLatin1Char(' '), QString(), QStringLiteral("0"),
                                   QString()};
        for (int r = 0; r < 6; ++r)
            QCOMPARE(naft->text(QStringLiteral("ghir_tahatoriHOROF"), r), expected.at(r));
        // The field is computed again whenever the rows are loaded; a join's repeated name
        // finds the allocation's column, not the contractor register's.
        f.dm.exec(QStringLiteral("update ghir set ghir_tahatori=?, peymankar=?"), {40, QStringLiteral("نام تايپ شده")});
        naft->reopen();
        QCOMPARE(naft->text(QStringLiteral("ghir_tahatorihorof"), 0), QStringLiteral(" چهل") + zwnj + QLatin1Char(' '));
        QCOMPARE(naft->text(QStringLiteral("peymankar"), 0), QStringLiteral("نام تايپ شده"));
        QCOMPARE(naft->text(QStringLiteral("id"), 0), f.scalar(QStringLiteral("select min(id) from ghir")).toString());
    }

    // Every label a form fills is shown by its layout, and every label its layout shows is filled.
    void labelsMatchTheirLayouts()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.a);
        for (const char *item : {"N8", "A51", "N9", "N44", "N45"})
            choose(f, item);
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.reports.size(), 6);
        for (const Call &c : f.ui.reports) {
            const report::FilledReport &r = *c.report;
            QStringList filled = r.labels().keys(), shown = r.layout().labelNames();
            filled.sort();
            shown.removeDuplicates();
            shown.sort();
            QCOMPARE(filled, shown);
            QCOMPARE(r.check(), QStringList());
            for (const QString &field : r.layout().fieldNames())
                QVERIFY2(r.columnIndex(field) >= 0, qPrintable(field));
        }
    }

    // The program's own preview: saving a PDF writes no history row, a failed print none, a
    // completed print one with the sums the letter shows.
    void programsPreviewRecordsCompletedPrintsOnly()
    {
        Fixture f(true);
        const Batch b = addBatch(f);
        signIn(f, QStringLiteral("ostan"));
        makeCurrent(f, b.a);
        ProgramUi ui;
        auto job = std::make_shared<FakePrintJob>();
        job->results = {Ui::PrintFailed, Ui::PrintCancelled, Ui::Printed};
        ui.setPrintJob(job);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
        ui.saveAnswers << pdf;
        f.ctx.ui = &ui;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *w = qobject_cast<report::ReportPreview *>(QApplication::activeModalWidget());
            if (!w)
                return;
            seen = true;
            child<QPushButton>(w, QStringLiteral("pdf_btn"))->click();
            for (int i = 0; i < 3; ++i)
                child<QPushButton>(w, QStringLiteral("print_btn"))->click();
            child<QPushButton>(w, QStringLiteral("close_btn"))->click();
        });
        choose(f, "N9");
        f.ctx.ui = &f.ui;
        QVERIFY(seen);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(ui.messages, QStringList{report::kPrintFailedMessage});
        const QString sums = QStringLiteral("20") + kSumTonaj + QStringLiteral("91,200,000") + kSumZemanat;
        QCOMPARE(historyTexts(f), QStringList({kZemanatView + sums, kZemanatPrint + sums}));
    }
};

VARNOSET_DB_TEST_MAIN(FormsTest)
#include "db_forms.moc"
