// forms_pages OUTDIR: every printed page of the program written as PDF from realistic data, to
// look at (scripts/look-at-forms.sh turns them into PNGs and searches their text). Not a test
// and not a benchmark: it asserts nothing.
//
// Four batches of allocations, each printed on every bitumen form: a contractor with a batch
// of thirty villages (amounts in billions, empty dates on some rows, villages stored with the
// Arabic yeh and kaf as the entry forms store them, a few with the Persian yeh, a haulage
// contractor's name of 46 letters), a contractor whose register row is mostly empty with two
// villages, one of four villages and one of ten (the long haulage name again, and 12,500 t of
// asphalt laid in each village: contract amounts in the tens of thousands of billions). Then the
// central office report of every allocation and the monthly technical-services table.
#include "support/drive.h"
#include "support/fixture.h"

#include "bitumen/ghir_src_u.h"
#include "core/text_rules.h"
#include "registers/khadamat_src_u.h"
#include "report/filled_report.h"
#include "report/printing.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <cstdio>

namespace {

// Thirty villages, stored as the entry form leaves them: the kaf normalised to the Arabic
// letter, the yeh as typed (mostly the Arabic letter, a few typed with the Persian keyboard).
const QStringList kVillages{
    "ده نو", "كرهرود", "سنجان", "ساروق", "فرمهين", "داودآباد", "مشهد ميقان", "خنجين", "ابراهيم آباد", "توره",
    "گاوخوني", "آستانه", "امام زاده عبدالله", "حسين آباد ميشيجان", "قاسم آباد", "جهان آباد", "عليشار", "ورچه",
    "لنجرود", "خسروبيگ", "سرسختی", "كزاز", "چهارچشمه", "مزرعه نو", "قلعه سرخ", "ميلاجرد", "شهرآباد", "دیزآباد",
    "سامان", "فيجان"};
const QStringList kCounties{"اراك", "شازند", "خمين", "محلات", "كميجان"};
// A haulage contractor's name of 46 letters, as the register holds some.
const QString kLongHaulage = QStringLiteral("شركت حمل و نقل بين المللي سپهر ترابر آذربايجان");

const char *const kForms[] = {"N8", "A51", "N9", "N44", "N45", "N7", "N50", "N49", "N11", "N23",
                              "N51", "N25", "N33", "N110", "N210", "N12", "N16", "N31", "N32"};

qint64 contractor(Fixture &f, const QVariantMap &values)
{
    const QString marks = QStringLiteral("?,").repeated(values.size()).chopped(1);
    f.dm.exec(QStringLiteral("insert into peymankaran (%1) values (%2)").arg(values.keys().join(QLatin1Char(',')), marks),
              values.values());
    return f.scalar(QStringLiteral("select max(id) from peymankaran")).toLongLong();
}

// A batch of `count` allocations of one contractor under one letter, `asphalt` tonnes laid in
// each; returns the first id.
qint64 batch(Fixture &f, qint64 c, const QString &name, int count, const QString &regDat, const QString &letter,
             const char *asphalt = "1250.5")
{
    qint64 first = 0;
    for (int i = 0; i < count; ++i) {
        const bool done = i % 5 != 4; // every fifth allocation not yet settled: empty dates
        const double tons = i == 2 ? 15.5 : 20 + 10 * (i % 4);
        const qint64 id = addGhir(f, {
            {"city", kCounties.at(i % 5)}, {"rosta", kVillages.at(i % kVillages.size())}, {"peymankar", name},
            {"peymankar_id", c}, {"reg_dat", regDat}, {"moarefi_no", letter}, {"moarefi_dat", "1404/05/20"},
            {"sal", "1404"}, {"prj_typ", "آسفالت معابر روستايي"}, {"prj_area", 12500 + i * 1137.25},
            {"ghir_tahatori", tons}, {"bors_price", 52000000 + 250000 * (i % 4)},
            {"prot_no", QStringLiteral("1404/ق/%1").arg(2310 + i)}, {"prot_dat", done ? "1404/03/12" : "    /  /  "},
            {"city_paper_no", "452/12/ش"}, {"city_paper_dat", i == 0 && count == 30 ? "    /  /  " : "1404/04/20"},
            {"z_no", "8802145"}, {"z_dat", "1404/05/01"}, {"z_bank", "بانك ملي شعبه مركزي اراك"},
            {"comp_naft_name", "منطقه اراك"}, {"palayeshgah_name", "امام خميني (ره) شازند"},
            {"tehran_paper_no", "1287"}, {"jalase_dat", done ? "1404/06/01" : "    /  /  "},
            {"sorat_area", 12400 + i * 1131.5}, {"tolemasir", 1750 + 10 * i},
            {"ghir_jam", done ? QString::number(17 + i % 6 + 0.5) : QString()}, {"ghir_t", QString::number(i % 4)},
            {"az_name", "آزمايشگاه فني و مكانيك خاك استان"}, {"rep_no", "آ/1404/2157"},
            {"rep_dat", done ? "1404/07/02" : "    /  /  "}, {"zekhamat_m", "5.5"}, {"sorat_area_f", 1210},
            {"zekhamat_m_f", "4.5"}, {"vazn", "2.31"}, {"ghir_masrafi_m", "5.2"}, {"ghir_prim", "1.1"},
            {"asfalt_ejra", asphalt}, {"ghir60", "31.06"}, {"ghir_m_p", "6.3"}, {"prot_mablagh", qint64(2450000000)},
            {"prot_no_ejra", "1404/ج/118"}, {"prot_mablagh_ejra", qint64(1812500000)}, {"ghir_moadel", qint64(1850000000)},
            {"khodyari", i % 3 ? qint64(2500000000) : qint64(12500000000)}, {"dehyari", qint64(1845204765)},
            {"mokhtasat", i % 3 ? "معبر اصلي از ميدان تا مسجد جامع" : "35.4521,51.2874"}});
        first = first ? first : id;
    }
    return first;
}

void write(const report::FilledReport &r, const QString &path)
{
    if (!report::writePdf(r, path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    else
        std::printf("%s\t%s\n", qPrintable(path), qPrintable(r.title()));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: forms_pages OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("."));
    Fixture f(true);
    const qint64 u = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
    for (const QString &county : kCounties)
        f.addCounty(u, county);
    f.signInAs(u, QStringLiteral("2280000011"), QStringLiteral("ostan"));
    addSettings(f, {{"مدير کل", "دكتر حسن كريمي"}, {"معاون عمران روستايي", "مهندس علي احمدي"},
                    {"معاون ذيحساب", "حسين موسوي"}, {"رئيس حراست", "رضا نوري"},
                    {"كارشناس مسئول نظارت", "مهندس مريم صادقي"}, {"کارشناس مسئول قراردادها", "سعيد رحيمي"},
                    {"کارشناس مسئول امور حقوقي", "علي محمدي"}});

    const QString full = QStringLiteral("راه و ساختمان پيشگامان توسعه البرز");
    const qint64 c1 = contractor(f, {{"peymankar", full}, {"name", "محمدرضا كاظمي"}, {"father", "عبدالله"},
                                     {"sh_no", "4520"}, {"sodor", "اراك"}, {"sabt", "11873"}, {"eghtesadi", "411345678912"},
                                     {"shenase", "10103456789"}, {"haml_name", kLongHaulage}, {"haml_cod", "88-1452"},
                                     {"phone", "086-32245678"}, {"mobile", "09181234567"}, {"fax", "086-32245679"},
                                     {"adr", "اراك، خيابان شهيد بهشتي، كوچه لاله، پلاك 12، طبقه دوم"},
                                     {"takhliye", "كيلومتر 15 جاده اراك - خمين، كارخانه آسفالت پيشگامان"},
                                     {"zipcode", "3813745871"}});
    const QString sparse = QStringLiteral("آسفالت نگين");
    const qint64 c2 = contractor(f, {{"peymankar", sparse}, {"name", "رضا احمدي"}});
    const QString small = QStringLiteral("راهسازان كوير");
    const qint64 c3 = contractor(f, {{"peymankar", small}, {"name", "حسن نوري"}, {"father", "علي"}, {"sh_no", "12"},
                                     {"sodor", "خمين"}, {"adr", "خمين، بلوار امام"}, {"phone", "086-1234567"},
                                     {"haml_name", "حمل و نقل زنجان بار"}, {"haml_cod", "12-345"}});
    const QString ten = QStringLiteral("آسفالت و راهسازي البرز");
    const qint64 c4 = contractor(f, {{"peymankar", ten}, {"name", "مهدي رحماني"}, {"father", "حسن"}, {"sh_no", "7781"},
                                     {"sodor", "اراك"}, {"sabt", "9034"}, {"haml_name", kLongHaulage}, {"haml_cod", "88-1452"},
                                     {"adr", "اراك، شهرك صنعتي"}, {"phone", "086-33445566"}});
    struct Batch {
        const char *name;
        qint64 first;
    };
    const Batch batches[] = {{"batch30", batch(f, c1, full, 30, "1404/05/06", "4521")},
                             {"empty", batch(f, c2, sparse, 2, "1404/06/11", "4602")},
                             {"four", batch(f, c3, small, 4, "1404/07/01", "4710")},
                             {"ten", batch(f, c4, ten, 10, "1404/07/12", "4733", "12500.5")}};
    for (const Batch &b : batches) {
        makeCurrent(f, b.first);
        for (const char *item : kForms) {
            f.ui.inputs.clear();
            const report::FilledReport &r = chooseForm(f, item);
            write(r, out.filePath(QStringLiteral("%1-%2.pdf").arg(QLatin1String(b.name), QLatin1String(item))));
        }
    }

    // The central office report of every allocation, the year box filled.
    auto *w = f.form<Tghir_src>();
    w->findChild<QLineEdit *>(QStringLiteral("sal"))->setText(QStringLiteral("1404"));
    write(chooseForm(f, "N29"), out.filePath(QStringLiteral("tehran-N29.pdf")));

    // The monthly table: the user's counties over three months, amounts in millions of rials.
    const char *const figures[] = {"dehyariha", "fani", "mablagh", "khalaf_par", "bi_par", "bi_est",
                                   "khalaf_bon", "dakhel_m", "kharej_m", "farmandari", "ostandari", "ehdasi"};
    const QStringList months{"مهر", "آبان", "آذر"};
    for (int i = 0; i < 15; ++i) {
        QStringList cols{"city", "sal", "mah"};
        QVariantList values{kCounties.at(i % 5), "1404", months.at(i / 5)};
        for (const char *col : figures) {
            cols << QLatin1String(col);
            values << (qstrcmp(col, "mablagh") == 0 ? qint64(125000 + 37531 * i) : qint64(3 + i * 7 % 40));
        }
        f.dm.exec(QStringLiteral("insert into khadamat (%1) values (?%2)").arg(cols.join(','), QString(",?").repeated(14)),
                  values);
    }
    f.ui.reports.clear();
    auto *k = f.form<Tkhadamat_src>();
    click(k, QStringLiteral("src"));
    click(k, QStringLiteral("N5"));
    if (!f.ui.reports.isEmpty())
        write(*f.ui.reports.last().report, out.filePath(QStringLiteral("khadamat-N5.pdf")));
    return 0;
}
