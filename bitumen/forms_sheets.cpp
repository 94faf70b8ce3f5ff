// The forms printed once an allocation's asphalt is laid: the consumption minutes (N11), the
// exchange minutes (N16), the equalisation minutes of development projects (N31), the
// consumption sheets (N23, N32) and the exchange sheet with its contract amounts (N12).
#include "core/text_rules.h"
#include "bitumen/forms_rows.h"

#include "bitumen/forms_u.h"
#include "bitumen/ghir_ins2_u.h"
#include "core/errors.h"
#include "core/money.h"
#include "db/refusal.h"
#include "shared/numwords.h"

using report::FormFill;
using report::FormInput;
using report::FormLabel;
using report::FormRow;

namespace {

const QString kMasrafView = QStringLiteral("مشاهده فرم صورتجلسه مصرف قير");
const QString kMasrafPrint = QStringLiteral("چاپ فرم صورتجلسه مصرف قير");
const QString kTahatorView = QStringLiteral("مشاهده فرم صورتجلسه تهاتر قير");
const QString kTahatorPrint = QStringLiteral("چاپ فرم صورتجلسه تهاتر قير");
const QString kSheetView = QStringLiteral("مشاهده فرم محاسبات مصرف قير");
const QString kSheetPrint = QStringLiteral("چاپ فرم محاسبات مصرف قير");

const FormInput kVisitDate{QStringLiteral("dat"), QStringLiteral("Bazdid Date"), QStringLiteral("تاريخ بازديد"), {}, true};
const FormInput kDate{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ"), {}, true};
const FormInput kLetterDate{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ نامه"), {}, true};
const FormInput kTitle{QStringLiteral("titr_lbl"), QStringLiteral("Title"), QStringLiteral("عنوان"),
                       QStringLiteral("عمراني/دهياري")};

// A figure of the complementary data as a number. An empty or unreadable one ends the form,
// naming its box in the complementary data window and saying that those data come first.
const QString kEmptyFigure = QStringLiteral("خطا! %1 اين پروژه خالي است");
const QString kComplementFirst = QStringLiteral("؛ ابتدا اطلاعات تکميلي را در «%1» ثبت نماييد");

double complementFigure(FormFill &f, const QString &column)
{
    const QString t = allocationFrame(f).current(column);
    double d = 0;
    if (textrule::parseNumber(t, &d))
        return d;
    const QString caption = Tghir_ins2::caption(column);
    const QString fault = t.trimmed().isEmpty()
                              ? kEmptyFigure.arg(QStringLiteral("«%1»").arg(caption))
                              : db::Refusal(db::Refusal::NotANumber, column, t).named(caption).message();
    throw InputError(fault + kComplementFirst.arg(Tghir_ins2::kSection));
}

// The text of ghir_t when it reads as a number, else the fallback.
QString equalised(FormFill &f, const QString &fallback)
{
    const QString t = allocationFrame(f).current(QStringLiteral("ghir_t"));
    double d = 0;
    return textrule::parseNumber(t, &d) ? t : fallback;
}

FormRow sheet(const QString &layout, const QList<FormInput> &inputs, const QList<FormLabel> &labels, const QString &view,
              const QString &print = {})
{
    FormRow row;
    row.layout = layout;
    row.inputs = inputs;
    row.labels = labels;
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = view;
    row.printText = print;
    return row;
}

} // namespace

ExchangeAmounts exchangeAmounts(const QString &protMablagh, const QString &asfaltEjra2, const QString &asfaltEjra,
                                const QString &protMablaghEjra)
{
    // A money column without a value counts 0; a text read as an amount must be one.
    auto stored = [](const QString &t, qint64 *v) {
        *v = 0;
        return t.trimmed().isEmpty() || money::read(t, v);
    };
    auto product = [&](const QString &moneyText, const QString &amount) {
        qint64 a = 0, b = 0, p = 0;
        return stored(moneyText, &a) && money::read(amount, &b) && money::multiply(a, b, &p) ? money::text(p)
                                                                                              : QStringLiteral("0");
    };
    ExchangeAmounts x;
    x.kol1 = product(protMablagh, asfaltEjra2);
    x.khales1 = x.kol1;
    x.kol2 = product(protMablaghEjra, asfaltEjra);
    x.khales2 = x.kol2;
    qint64 a = 0, b = 0, sum = 0;
    x.khalesSum = money::read(x.khales1, &a) && money::read(x.khales2, &b) && money::add(a, b, &sum) ? money::text(sum)
                                                                                                    : QStringLiteral("0");
    return x;
}

namespace {

// The exchange sheet's amounts and the equalised bitumen; an unreadable ghir_t ends the form.
void exchangeSheet(FormFill &f)
{
    TghirFormFrame &frame = allocationFrame(f);
    report::FilledReport &r = f.report;
    const ExchangeAmounts x = exchangeAmounts(frame.current(QStringLiteral("prot_mablagh")), r.text(QStringLiteral("asfalt_ejra2")),
                                              frame.current(QStringLiteral("asfalt_ejra")),
                                              frame.current(QStringLiteral("prot_mablagh_ejra")));
    r.set(QStringLiteral("mablagh_kol1"), x.kol1);
    r.set(QStringLiteral("mablagh_khales1"), x.khales1);
    r.set(QStringLiteral("mablagh_kol2"), x.kol2);
    r.set(QStringLiteral("mablagh_khales2"), x.khales2);
    r.set(QStringLiteral("khales_sum"), x.khalesSum);
    const QString ghirT = frame.current(QStringLiteral("ghir_t"));
    r.set(QStringLiteral("ghir_moadel_mizan"), ghirT);
    for (const char *label : {"prot_mablagh", "prot_mablagh_ejra", "ghir_moadel", "mablagh_kol1", "mablagh_kol2",
                              "mablagh_khales1", "mablagh_khales2", "khales_sum"})
        r.set(QLatin1String(label), GroupDigits(r.text(QLatin1String(label))));
    if (complementFigure(f, QStringLiteral("ghir_t")) > 99)
        r.set(QStringLiteral("ghir_moadel_mizan"), GroupDigits(ghirT));
}

} // namespace

FormRows sheetsForms()
{
    const QString &kGhir = TghirFormFrame::kGhir;
    const FormLabel kSerial{QStringLiteral("serial"), kGhir, QStringLiteral("id")};
    const QList<FormLabel> minutes = formLabels(kGhir, {"sal", "rosta", "city", "rep_no", "rep_dat", "az_name", "sorat_area",
                                                         "zekhamat_m"});
    const QList<FormLabel> project = QList<FormLabel>{kSerial} + formLabels(kGhir, {"prj_typ", "city", "rosta", "peymankar"});
    const QList<FormLabel> laboratory = formLabels(kGhir, {"az_name", "rep_no", "rep_dat", "sorat_area", "zekhamat_m"});
    const QList<FormLabel> density = formLabels(kGhir, {"vazn", "ghir_masrafi_m", "ghir_prim", "asfalt_ejra"});
    const QList<FormLabel> consumed = formLabels(kGhir, {"ghir60", "ghir_m_p", "ghir_jam"});

    FormRow masraf = sheet(QStringLiteral("TSORATJALASE_MASRAF"), {kVisitDate},
                           minutes + formLabels(kGhir, {"ghir_masrafi_m", "ghir_jam"}), kMasrafView, kMasrafPrint);

    FormRow tahator = sheet(QStringLiteral("TSORATJALASE_TAHATOR"), {kDate},
                            minutes + formLabels(kGhir, {"asfalt_ejra", "peymankar", "ghir_t"}), kTahatorView, kTahatorPrint);

    // Equalised plus consumed bitumen: both must read as numbers, or the form ends here.
    FormRow omrani = sheet(QStringLiteral("TSORATJALASE_TAHATOR2"), {kDate, kTitle},
                           minutes + formLabels(kGhir, {"asfalt_ejra", "peymankar", "ghir_jam"}), kTahatorView);
    omrani.compute = [](FormFill &f) {
        f.report.set(QStringLiteral("ghir_t_ghir_jam"), equalised(f, QStringLiteral("0")));
        const double total = complementFigure(f, QStringLiteral("ghir_t")) + complementFigure(f, QStringLiteral("ghir_jam"));
        f.report.set(QStringLiteral("ghir_tahatori"), textrule::numberText(total));
    };

    FormRow masrafSheet = sheet(QStringLiteral("TTAHATOR_GHIR"), {kLetterDate},
                                project + consumed + laboratory + formLabels(kGhir, {"sorat_area_f", "zekhamat_m_f"}) + density,
                                kSheetView);

    FormRow omraniSheet = sheet(QStringLiteral("TTAHATOR_GHIR2"), {kTitle, kLetterDate},
                                project + consumed + laboratory + density + formLabels(kGhir, {"ghir_tahatori"}), kSheetView);
    omraniSheet.compute = [](FormFill &f) {
        f.report.set(QStringLiteral("ghir_tahatori_ghir_jam"), equalised(f, QStringLiteral("?")));
    };

    FormRow exchange = sheet(QStringLiteral("TMOHASEBAT_GHIR"), {kLetterDate},
                             project + formLabels(kGhir, {"prot_no", "prot_mablagh", "prot_no_ejra", "prot_mablagh_ejra"})
                                 + laboratory + density
                                 + QList<FormLabel>{{QStringLiteral("asfalt_ejra2"), kGhir, QStringLiteral("asfalt_ejra")}}
                                 + formLabels(kGhir, {"ghir_moadel"}),
                             kSheetView, kSheetPrint);
    exchange.compute = exchangeSheet;

    return {
        {QStringLiteral("N11"), masraf},     {QStringLiteral("N23"), masrafSheet}, {QStringLiteral("N12"), exchange},
        {QStringLiteral("N16"), tahator},    {QStringLiteral("N31"), omrani},      {QStringLiteral("N32"), omraniSheet},
    };
}
