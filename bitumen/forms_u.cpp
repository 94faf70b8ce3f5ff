#include "bitumen/forms_u.h"

#include "bitumen/forms_rows.h"

#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "db/values.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/numwords.h"
#include "shared/ui.h"

#include <QAction>
#include <cmath>
#include <limits>

namespace {

// ghir_tahatori in words without a unit word; "0" when there is none. A tonnage that is not a
// whole number gets no words, as the letter's total does: words of a rounded figure would not
// say what the figure says (15.5 t is not "شانزده"). Empty as well beyond the words' range.
QVariant ghirTahatoriHorof(const DataSet &ds, int row)
{
    const QString field = QStringLiteral("ghir_tahatori");
    if (ds.fieldIndex(field) < 0 || ds.isNull(field, row))
        return QStringLiteral("0");
    const double tons = ds.toDouble(field, row);
    if (tons != std::trunc(tons) || !(tons >= std::numeric_limits<qint32>::min() && tons <= std::numeric_limits<qint32>::max()))
        return QString();
    return NumberToWords(qint32(tons));
}

// The oil company letter prints each allocation's tonnage in words as well.
const bool kNaftWords = Tdm::addQuerySetup([](Tdm &dm) {
    dm.ADOQ_naft->addCalculatedField(QStringLiteral("ghir_tahatoriHOROF"), &ghirTahatoriHorof);
});

} // namespace

using report::FormFill;
using report::FormInput;
using report::FormLabel;
using report::FormRow;

// ---------------------------------------------------------------------------------------------
// The allocation's frame

const QString TghirFormFrame::kOstan = QStringLiteral("ostan");
const QString TghirFormFrame::kGhir = QStringLiteral("ghir");
const QString TghirFormFrame::kPeymankar = QStringLiteral("peymankar");

TghirFormFrame::TghirFormFrame(AppContext &ctx, QWidget *window)
    : report::FormFrame(ctx, window)
{
    setSource(kGhir, [this](const QString &column) { return current(column); });
    setSource(kPeymankar, [this](const QString &column) { return contractor(column); });
    setDataSet(QStringLiteral("ADOQuery1"), ctx.dm->ADOQuery1);
    setDataSet(QStringLiteral("ADOQ_naft"), ctx.dm->ADOQ_naft);
    setDataSet(QStringLiteral("ADOQuery2"), ctx.dm->ADOQuery2);
    setDataSet(QStringLiteral("ADOQ_ghir"), ctx.dm->ADOQ_ghir);
    setHistory([this](const QString &text) { writeHistoryFor(currentId(), text); });
}

bool TghirFormFrame::run(const FormRow &row)
{
    bool ok = false;
    guarded(m_ctx, [&] {
        if (!hasCurrent())
            return;
        for (const FormLabel &l : row.labels) {
            if (l.source == kPeymankar) {
                readContractor();
                break;
            }
        }
        ok = true;
    });
    return ok && report::FormFrame::run(row);
}

bool TghirFormFrame::hasCurrent() const
{
    if (m_ctx.dm->ADOQ_ghir->eof()) {
        m_ctx.ui->message(msg::kEmptyList, m_window);
        return false;
    }
    return true;
}

QVariant TghirFormFrame::currentId() const
{
    return m_ctx.dm->ADOQ_ghir->value(QStringLiteral("id"));
}

QString TghirFormFrame::current(const QString &column) const
{
    return m_ctx.dm->ADOQ_ghir->text(column);
}

void TghirFormFrame::readContractor() const
{
    DataSet *q = m_ctx.dm->ADOQ_peymankar;
    q->close();
    q->open(QStringLiteral("select * from peymankaran where id=?"),
            {m_ctx.dm->ADOQ_ghir->value(QStringLiteral("peymankar_id"))});
}

QString TghirFormFrame::contractor(const QString &column) const
{
    DataSet *q = m_ctx.dm->ADOQ_peymankar;
    return q->eof() ? QString() : q->text(column);
}

void TghirFormFrame::writeHistoryFor(const QVariant &ghirKey, const QString &text) const
{
    const QString table = QStringLiteral("ghir_history");
    // Every value checked against its column before the insert runs.
    const QVariantList values{
        ghirKey,
        db::columnValue(table, QStringLiteral("cmt"), text),
        db::columnValue(table, QStringLiteral("dat"), today()),
        db::columnValue(table, QStringLiteral("karbar"), m_ctx.CurrentUser.karbar),
    };
    m_ctx.dm->ADOQuery1->exec(QStringLiteral("Insert Into Ghir_History (ghir_key,cmt,dat,karbar) Values(?,?,?,?)"),
                              values);
}

std::function<void()> TghirFormFrame::afterPrint(std::function<QString()> printText) const
{
    if (!printText)
        return {};
    const QVariant requested = currentId();
    return [this, printText, requested] {
        // A print completes while the preview is open: a failing insert is shown here and
        // does not end the preview.
        guarded(m_ctx, [&] {
            DataSet *ghir = m_ctx.dm->ADOQ_ghir;
            writeHistoryFor(ghir->eof() ? requested : ghir->value(QStringLiteral("id")), printText());
        });
    };
}

// ---------------------------------------------------------------------------------------------
// The province forms

namespace {

const QString kGhir = TghirFormFrame::kGhir;
const QString kPey = TghirFormFrame::kPeymankar;

// Form titles of the history rows.
const QString kTaahodView = QStringLiteral("مشاهده فرم تعهدنامه پيمانکار");
const QString kTaahodPrint = QStringLiteral("چاپ فرم تعهدنامه پيمانکار");
const QString kZemanatView = QStringLiteral("مشاهده فرم معرفي ضمانتنامه");
const QString kZemanatPrint = QStringLiteral("چاپ فرم معرفي ضمانتنامه");
const QString kSumTonaj = QStringLiteral(" مجموع تناژ ");
const QString kSumZemanat = QStringLiteral("مجموع ضمانت");
const QString kNaftView = QStringLiteral("مشاهده فرم معرفي نامه شرکت نفت");
const QString kNaftPrint = QStringLiteral("چاپ فرم معرفي نامه شرکت نفت");

// Input boxes.
const FormInput kTaahodDate{QStringLiteral("dat"), QStringLiteral("Date"), QStringLiteral("تاريخ تعهدنامه"), {}, true};
const FormInput kRostaFont{QStringLiteral("rosta"), QStringLiteral("Font Size"), QStringLiteral("سايز فونت نام روستاها"),
                           QStringLiteral("10"), false, FormInput::FontSize};
const QString kZemanatPrompt = QStringLiteral("ضمانتنامه");
const QString kZemanatDefault = QStringLiteral("بانکي/معتبر");
const FormInput kZemanatA4{QStringLiteral("zemanatname_typ"), QStringLiteral("Zemanatname"), kZemanatPrompt, kZemanatDefault};
const FormInput kZemanatA5{QStringLiteral("zemanatname_typ"), QStringLiteral("zemanatname2"), kZemanatPrompt, kZemanatDefault};
const FormInput kPeyNo{QStringLiteral("pey_no"), QStringLiteral("Peymankar Paper Number"), QStringLiteral("شماره نامه پيمانکار"),
                       QStringLiteral("?")};
const FormInput kPeyDat{QStringLiteral("pey_dat"), QStringLiteral("Peymankar Paper Dat"), QStringLiteral("تاريخ نامه پيمانکار"),
                        {}, true};

// Signatories' value lists.
const QString kMoavenOmran = QStringLiteral("معاون عمران روستايي");
const QString kModirKol = QStringLiteral("مدير کل");
const QString kMoavenZihesab = QStringLiteral("معاون ذيحساب");

// The batch of the current allocation: its contractor's allocations registered the same day.
const QString kBatchRows = QStringLiteral("select * from ghir where peymankar=?\n And reg_dat=?");
const QString kBatchSums = QStringLiteral(
    "select sum(ghir_tahatori) as t,sum(ghir_tahatori*bors_price*1.2) as z from ghir where peymankar=?\n"
    " And reg_dat=?");
const QString kBatchGuarantees = QStringLiteral(
    "select *,ghir_tahatori*bors_price*1.2 as z_mablagh2 from ghir where peymankar=?\n And reg_dat=?");
// The oil company letter lists the batch rows of the contractor's register id as well; its total
// is taken over exactly those rows.
const QString kNaftRows = QStringLiteral(
    "select * from ghir left join peymankaran on ghir.peymankar_id=peymankaran.id where ghir.peymankar_id=?\n"
    " and ghir.peymankar=?\n And ghir.reg_dat=?");
const QString kNaftSum = QStringLiteral(
    "select sum(ghir_tahatori) as t from ghir where peymankar_id=?\n and peymankar=?\n And reg_dat=?");

QList<FormLabel> from(const QString &source, std::initializer_list<const char *> labels)
{
    return formLabels(source, labels);
}

TghirFormFrame &frameOf(FormFill &f)
{
    return allocationFrame(f);
}

DataSet *scratch(FormFill &f)
{
    return f.frame.context().dm->ADOQuery1;
}

QVariantList batch(FormFill &f)
{
    return {frameOf(f).current(QStringLiteral("peymankar")), frameOf(f).current(QStringLiteral("reg_dat"))};
}

FormRow undertaking()
{
    FormRow row;
    row.layout = QStringLiteral("TTAAHODNAME_PEYMANKAR");
    row.inputs = {kTaahodDate, kRostaFont};
    row.labels = QList<FormLabel>{{QStringLiteral("name"), kPey, {}}, {QStringLiteral("farher"), kPey, QStringLiteral("father")}}
                 + from(kPey, {"sh_no", "sodor", "peymankar", "adr", "takhliye", "phone", "mobile"})
                 + from(kGhir, {"city_paper_no", "city_paper_dat", "z_no", "z_bank"});
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = kTaahodView;
    row.printText = kTaahodPrint;
    row.compute = [](FormFill &f) {
        DataSet *q = scratch(f);
        q->open(kBatchRows, batch(f));
        f.report.set(QStringLiteral("rosta"), report::FormFrame::starJoined(*q, QStringLiteral("rosta")));
    };
    return row;
}

// The guarantee introduction on either page; the A4 page adds the guarantee sum and records
// its prints with both sums.
FormRow guarantee(bool a4)
{
    FormRow row;
    row.layout = a4 ? QStringLiteral("TZEMANATNAME") : QStringLiteral("TZEMANATNAME2");
    row.today = {QStringLiteral("dat")};
    row.labels = from(kGhir, {"peymankar"});
    row.inputs = {a4 ? kZemanatA4 : kZemanatA5};
    row.signatories = {{QStringLiteral("moaven_omran"), kMoavenOmran}};
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = kZemanatView;
    row.printText = a4 ? kZemanatPrint : QString();
    row.detail = QStringLiteral("ADOQuery1");
    row.money = {QStringLiteral("bors_price"), QStringLiteral("z_mablagh2")};
    row.compute = [a4](FormFill &f) {
        DataSet *q = scratch(f);
        q->open(kBatchSums, batch(f));
        f.report.set(QStringLiteral("sum_tonaj"), GroupDigits(q->text(QStringLiteral("t"))));
        QString sums = f.report.text(QStringLiteral("sum_tonaj")) + kSumTonaj;
        if (a4) {
            f.report.set(QStringLiteral("sum_zemanat"), GroupDigits(q->text(QStringLiteral("z"))));
            sums += f.report.text(QStringLiteral("sum_zemanat")) + kSumZemanat;
            f.printText += sums;
        }
        f.viewText += sums;
        q->open(kBatchGuarantees, batch(f));
    };
    return row;
}

// The oil company letter: previewed, or `copies` straight prints.
FormRow oilLetter(int copies)
{
    FormRow row;
    row.layout = QStringLiteral("TMOAREFI_NAFT");
    row.inputs = {kPeyNo, kPeyDat};
    row.labels = from(kGhir, {"city"}) + from(kPey, {"name", "peymankar"})
                 + QList<FormLabel>{{QStringLiteral("peymankar2"), kPey, QStringLiteral("peymankar")},
                                    {QStringLiteral("sabt_no"), kPey, QStringLiteral("sabt")}}
                 + from(kPey, {"eghtesadi", "shenase", "phone", "fax", "mobile", "adr", "zipcode", "takhliye"})
                 + from(kGhir, {"z_no", "z_dat", "comp_naft_name", "palayeshgah_name"});
    row.signatories = {{QStringLiteral("moaven_zihesab"), kMoavenZihesab}, {QStringLiteral("modirkol"), kModirKol}};
    row.levels = {TghirFormFrame::kOstan};
    row.viewText = kNaftView;
    row.printText = kNaftPrint;
    row.copies = copies;
    row.detail = QStringLiteral("ADOQ_naft");
    row.compute = [](FormFill &f) {
        const QVariantList rows{f.frame.context().dm->ADOQ_ghir->value(QStringLiteral("peymankar_id")),
                                frameOf(f).current(QStringLiteral("peymankar")),
                                frameOf(f).current(QStringLiteral("reg_dat"))};
        DataSet *q = scratch(f);
        q->open(kNaftSum, rows);
        f.report.set(QStringLiteral("ghir_tahatori"), q->text(QStringLiteral("t")));
        f.report.set(QStringLiteral("ghir_tahatori_horofi"),
                     Tghir_forms::tonnageWords(f.report.text(QStringLiteral("ghir_tahatori"))));
        f.frame.context().dm->ADOQ_naft->open(kNaftRows, rows);
    };
    return row;
}

} // namespace

const QList<QPair<QString, FormRow>> &Tghir_forms::rows()
{
    static const QList<QPair<QString, FormRow>> forms = QList<QPair<QString, FormRow>>{
        {QStringLiteral("N8"), undertaking()},
        {QStringLiteral("A51"), guarantee(false)},
        {QStringLiteral("N9"), guarantee(true)},
        {QStringLiteral("N44"), oilLetter(0)},
        // "Three-sheet print": three copies straight to the printer after one printer dialog,
        // without preview; each completed copy writes its print row.
        {QStringLiteral("N45"), oilLetter(3)},
    } + minutesForms() + sheetsForms() + refundForms() + memorandaForms();
    return forms;
}

Tghir_forms::Tghir_forms(AppContext &ctx, Tghir_src *window)
    : QObject(window)
    , m_frame(ctx, window)
{
    setObjectName(QStringLiteral("Tghir_forms"));
}

Tghir_forms *Tghir_forms::attach(AppContext &ctx, Tghir_src *window)
{
    auto *forms = new Tghir_forms(ctx, window);
    for (const auto &[item, row] : rows())
        window->onMenu(item, [forms, &row = row] { forms->m_frame.run(row); });
    return forms;
}

QString Tghir_forms::tonnageWords(const QString &caption)
{
    bool ok = false;
    const qint32 tons = caption.toInt(&ok);
    return ok ? GetNum(tons) : QString();
}

QList<FormLabel> formLabels(const QString &source, std::initializer_list<const char *> labels)
{
    QList<FormLabel> out;
    for (const char *l : labels)
        out << FormLabel{QLatin1String(l), source, {}};
    return out;
}

TghirFormFrame &allocationFrame(FormFill &f)
{
    return static_cast<TghirFormFrame &>(f.frame);
}
