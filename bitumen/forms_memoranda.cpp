// The county memoranda on supplying bitumen for a village's streets, previewed for every level
// with no history: the older bilateral memorandum (N33) and the two pages of the tripartite
// one (N110, N210).
#include "bitumen/forms_rows.h"

#include "bitumen/forms_u.h"

using report::FormFill;
using report::FormInput;
using report::FormLabel;
using report::FormRow;

namespace {

FormRow memorandum(const QString &layout, const QList<FormLabel> &labels)
{
    FormRow row;
    row.layout = layout;
    row.labels = labels;
    return row;
}

// The county in several places of a page.
QList<FormLabel> county(std::initializer_list<const char *> labels)
{
    QList<FormLabel> out;
    for (const char *l : labels)
        out << FormLabel{QLatin1String(l), TghirFormFrame::kGhir, QStringLiteral("city")};
    return out;
}

} // namespace

FormRows memorandaForms()
{
    const QString ghir = TghirFormFrame::kGhir;
    FormRow old = memorandum(QStringLiteral("TTAFAHOMNAME"),
                             formLabels(ghir, {"rosta", "city", "prj_area", "tolemasir"}) + county({"city2"}));
    old.inputs = {FormInput{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ تفاهمنامه"), {}, true}};

    FormRow first = memorandum(QStringLiteral("TGHIR_TAFAHOMNAME1"),
                               county({"city", "city2", "city3"}) + formLabels(ghir, {"rosta"})
                                   + QList<FormLabel>{{QStringLiteral("rosta2"), ghir, QStringLiteral("rosta")}});
    // The district is left for the county office to write in.
    first.compute = [](FormFill &f) { f.report.set(QStringLiteral("bakhsh"), QString()); };

    return {
        {QStringLiteral("N33"), old},
        {QStringLiteral("N110"), first},
        {QStringLiteral("N210"), memorandum(QStringLiteral("TGHIR_TAFAHOMNAME2"), county({"city1"}))},
    };
}
