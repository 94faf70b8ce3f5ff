// The guarantee refund: the authorisation to return the guarantee a contractor gave for its
// bitumen, for every village and county under one oil company introduction letter (N51), and
// the older wording of it (N25, hidden in the menu).
#include "bitumen/forms_rows.h"

#include "bitumen/forms_u.h"
#include "core/context.h"
#include "core/dm_u.h"

using report::FormFill;
using report::FormInput;
using report::FormLabel;
using report::FormRow;

namespace {

const QString kRefundView = QStringLiteral("مشاهده فرم استرداد تضمين");

const FormInput kDate{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ تعهدنامه"), {}, true};
const FormInput kRostaFont{QStringLiteral("rosta"), QStringLiteral("Font Size"), QStringLiteral("سايز فونت نام روستاها"),
                           QStringLiteral("10"), false, FormInput::FontSize};
const FormInput kPaperNo{QStringLiteral("peymankar_paper_no"), QStringLiteral("Peymankar Paper No"),
                         QStringLiteral("شماره نامه پيمانکار"), QStringLiteral("؟")};
const FormInput kPaperDat{QStringLiteral("peymankar_paper_dat"), QStringLiteral("Peymankar Paper Date"),
                          QStringLiteral("تاريخ نامه پيمانکار"), QStringLiteral("؟")};

// The villages and the counties of the contractor under one letter number.
const QString kLetterVillages = QStringLiteral("select Distinct rosta from ghir where peymankar=?\n And moarefi_no=?");
const QString kLetterCounties = QStringLiteral("select Distinct city from ghir where peymankar=?\n And moarefi_no=?");

void listLetter(FormFill &f)
{
    TghirFormFrame &frame = allocationFrame(f);
    f.report.set(QStringLiteral("num"), frame.current(QStringLiteral("sal")) + QLatin1Char('/')
                                            + frame.current(QStringLiteral("tehran_paper_no")));
    // The letter whose villages are listed; the current allocation's letter unless changed.
    const QString letter = frame.ask(QStringLiteral("City & Rosta"), QStringLiteral("شماره معرفي نامه پيمانکار"),
                                     frame.current(QStringLiteral("moarefi_no")));
    const QString peymankar = frame.current(QStringLiteral("peymankar"));
    DataSet *q = f.frame.context().dm->ADOQuery1;
    q->open(kLetterVillages, {peymankar, letter});
    f.report.set(QStringLiteral("rosta"), report::FormFrame::starJoined(*q, QStringLiteral("rosta")));
    q->open(kLetterCounties, {peymankar, letter});
    f.report.set(QStringLiteral("city"), report::FormFrame::starJoined(*q, QStringLiteral("city")));
}

FormRow refund(bool current)
{
    const QString ghir = TghirFormFrame::kGhir;
    FormRow row;
    row.layout = current ? QStringLiteral("TESTERDAD_TAZMIN2") : QStringLiteral("TESTERDAD_TAZMIN");
    row.inputs = {kDate, kRostaFont, kPaperNo, kPaperDat};
    // The introduction letter's number and date stand in two places.
    row.labels = QList<FormLabel>{{QStringLiteral("peymankar"), ghir, {}},
                                  {QStringLiteral("tehran_paper_no"), ghir, QStringLiteral("moarefi_no")},
                                  {QStringLiteral("tehran_paper_no2"), ghir, QStringLiteral("moarefi_no")},
                                  {QStringLiteral("tehran_paper_dat"), ghir, QStringLiteral("moarefi_dat")},
                                  {QStringLiteral("tehran_paper_dat2"), ghir, QStringLiteral("moarefi_dat")}};
    row.levels = current ? QStringList{QStringLiteral("admin"), TghirFormFrame::kOstan} : QStringList{TghirFormFrame::kOstan};
    row.viewText = kRefundView;
    row.compute = listLetter;
    return row;
}

} // namespace

FormRows refundForms()
{
    return {{QStringLiteral("N51"), refund(true)}, {QStringLiteral("N25"), refund(false)}};
}
