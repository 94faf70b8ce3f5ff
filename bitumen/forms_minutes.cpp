// The distribution committee's forms: the minutes of a consumption allocation (N7), the minutes
// of an exchange settlement (N50) and the control form of a distribution's documents (N49).
#include "core/text_rules.h"
#include "bitumen/forms_rows.h"

#include "bitumen/forms_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "db/values.h"

using report::FormFill;
using report::FormInput;
using report::FormRow;
using report::FormSignatory;

namespace {

const QString kCommitteeView = QStringLiteral("مشاهده فرم صورتجلسه کميته توزيع قير");
const QString kCommitteePrint = QStringLiteral("چاپ فرم صورتجلسه کميته توزيع قير");

const FormInput kJalaseNo{QStringLiteral("jalase_no"), QStringLiteral("Jalase No"), QStringLiteral("شماره جلسه"),
                          QStringLiteral("م/ت")};
const FormInput kJalaseDat{QStringLiteral("jalase_dat"), QStringLiteral("Date"), QStringLiteral("تاريخ جلسه"), {}, true};
const FormInput kGhirType{
    QStringLiteral("masrafi"), QStringLiteral("Ghir Type"), QStringLiteral("نوع قير"),
    QStringLiteral("مصرفي و معادلسازي (باستناد نظريه شوراي هماهنگي دستگاه هاي نظارتي استان مورخ 1401/04/10)")};
const FormInput kControlDat{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ"), {}, true};

// The committee's members: their labels and value lists.
const FormSignatory kModirKol{QStringLiteral("modirkol"), QStringLiteral("مدير کل")};
const FormSignatory kMoavenOmran{QStringLiteral("moaven_omran"), QStringLiteral("معاون عمران روستايي")};
const FormSignatory kMoavenZihesab{QStringLiteral("moaven_zihesab"), QStringLiteral("معاون ذيحساب")};
const FormSignatory kHerasat{QStringLiteral("herasat"), QStringLiteral("رئيس حراست")};
const FormSignatory kHoghoghi{QStringLiteral("hoghoghi"), QStringLiteral("کارشناس مسئول امور حقوقي")};
const FormSignatory kNezarat{QStringLiteral("karmasol_nezarat"), QStringLiteral("كارشناس مسئول نظارت")};
const FormSignatory kGharardad{QStringLiteral("gharardad"), QStringLiteral("کارشناس مسئول قراردادها")};

// The meeting group of the current allocation: its contractor's allocations under one oil
// company letter, registered the same day.
const QString kGroupSums = QStringLiteral(
    "select sum(prj_area) as s,sum(ghir_tahatori) as g from ghir where peymankar=?\n and moarefi_no=?\n and reg_dat=?");
const QString kGroupRows = QStringLiteral("select * from ghir where peymankar=?\n and moarefi_no=?\n and reg_dat=?");

// The group's sums and rows on dm.ADOQuery2.
void openGroup(FormFill &f)
{
    TghirFormFrame &frame = allocationFrame(f);
    const QVariantList group{frame.current(QStringLiteral("peymankar")), frame.current(QStringLiteral("moarefi_no")),
                             frame.current(QStringLiteral("reg_dat"))};
    DataSet *q = f.frame.context().dm->ADOQuery2;
    q->open(kGroupSums, group);
    f.report.set(QStringLiteral("sath_sum"), q->text(QStringLiteral("s")));
    f.report.set(QStringLiteral("ghir_sum"), q->text(QStringLiteral("g")));
    q->open(kGroupRows, group);
}

// A listed row's figure as a number: an empty or unreadable text counts 0.
double figure(const DataSet &ds, const QString &column, int row)
{
    double d = 0;
    return textrule::parseNumber(ds.text(column, row), &d) ? d : 0;
}

FormRow committee(bool exchange)
{
    FormRow row;
    row.layout = exchange ? QStringLiteral("TSORATJALASE_TOZI2") : QStringLiteral("TSORATJALASE_TOZI");
    row.inputs = exchange ? QList<FormInput>{kJalaseNo, kJalaseDat} : QList<FormInput>{kJalaseNo, kJalaseDat, kGhirType};
    row.labels = formLabels(TghirFormFrame::kGhir, {"prj_typ", "peymankar", "sal"});
    row.signatories = {kModirKol, kMoavenOmran, kMoavenZihesab, kHerasat, kHoghoghi, kNezarat, kGharardad};
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = kCommitteeView;
    if (exchange) {
        // The exchange minutes list the window's own rows; their totals are those rows' totals.
        row.detail = QStringLiteral("ADOQ_ghir");
        row.compute = [](FormFill &f) {
            const DataSet &ds = *f.frame.context().dm->ADOQ_ghir;
            double area = 0, rest = 0;
            for (int r = 0; r < ds.recordCount(); ++r) {
                area += figure(ds, QStringLiteral("sorat_area"), r);
                rest += figure(ds, QStringLiteral("mande"), r);
            }
            f.report.set(QStringLiteral("sath_sum"), textrule::numberText(area));
            f.report.set(QStringLiteral("mande_sum"), textrule::numberText(rest));
        };
    } else {
        row.printText = kCommitteePrint;
        row.detail = QStringLiteral("ADOQuery2");
        row.compute = openGroup;
    }
    return row;
}

FormRow control()
{
    FormRow row;
    row.layout = QStringLiteral("TGHIR_FRM_CONTROL");
    row.inputs = {kControlDat};
    row.signatories = {kMoavenZihesab, kNezarat, kGharardad, kHerasat};
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = kCommitteeView;
    row.detail = QStringLiteral("ADOQuery2");
    row.compute = openGroup;
    return row;
}

} // namespace

FormRows minutesForms()
{
    return {
        {QStringLiteral("N7"), committee(false)},
        {QStringLiteral("N50"), committee(true)},
        {QStringLiteral("N49"), control()},
    };
}
