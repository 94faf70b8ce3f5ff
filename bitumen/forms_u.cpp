#include "bitumen/forms_u.h"

#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "db/values.h"
#include "shared/dates.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/numwords.h"
#include "shared/settings_list.h"
#include "shared/ui.h"

#include <QAction>
#include <cmath>
#include <limits>

namespace {

// Layouts.
const QString kTaahodLayout = QStringLiteral("TTAAHODNAME_PEYMANKAR");
const QString kZemanatLayout = QStringLiteral("TZEMANATNAME");
const QString kZemanat2Layout = QStringLiteral("TZEMANATNAME2");
const QString kNaftLayout = QStringLiteral("TMOAREFI_NAFT");

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
const QString kDateCaption = QStringLiteral("Date");
const QString kDatePrompt = QStringLiteral("تاريخ تعهدنامه");
const QString kFontCaption = QStringLiteral("Font Size");
const QString kFontPrompt = QStringLiteral("سايز فونت نام روستاها");
const QString kFontDefault = QStringLiteral("10");
const QString kZemanatCaption = QStringLiteral("Zemanatname");
const QString kZemanat2Caption = QStringLiteral("zemanatname2");
const QString kZemanatPrompt = QStringLiteral("ضمانتنامه");
const QString kZemanatDefault = QStringLiteral("بانکي/معتبر");
const QString kPeyNoCaption = QStringLiteral("Peymankar Paper Number");
const QString kPeyNoPrompt = QStringLiteral("شماره نامه پيمانکار");
const QString kPeyNoDefault = QStringLiteral("?");
const QString kPeyDatCaption = QStringLiteral("Peymankar Paper Dat");
const QString kPeyDatPrompt = QStringLiteral("تاريخ نامه پيمانکار");

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

// ghir_tahatori in words without a unit word, rounded to a whole number (half to even);
// "0" when there is none, empty when it is beyond the words' range.
QVariant ghirTahatoriHorof(const DataSet &ds, int row)
{
    const QString field = QStringLiteral("ghir_tahatori");
    if (ds.fieldIndex(field) < 0 || ds.isNull(field, row))
        return QStringLiteral("0");
    const double tons = std::nearbyint(ds.toDouble(field, row));
    if (!(tons >= std::numeric_limits<qint32>::min() && tons <= std::numeric_limits<qint32>::max()))
        return QString();
    return NumberToWords(qint32(tons));
}

// The oil company letter prints each allocation's tonnage in words as well.
const bool kNaftWords = Tdm::addQuerySetup([](Tdm &dm) {
    dm.ADOQ_naft->addCalculatedField(QStringLiteral("ghir_tahatoriHOROF"), &ghirTahatoriHorof);
});

// Rows of a data set for a report, with the money columns grouped by thousands.
void setGroupedRows(report::FilledReport &r, const DataSet &ds, const QStringList &money)
{
    const QStringList &fields = ds.fieldNames();
    QVector<bool> grouped(fields.size());
    for (int c = 0; c < fields.size(); ++c)
        grouped[c] = money.contains(fields.at(c), Qt::CaseInsensitive);
    QVector<QStringList> rows;
    rows.reserve(ds.recordCount());
    for (int row = 0; row < ds.recordCount(); ++row) {
        QStringList cells;
        cells.reserve(fields.size());
        for (int c = 0; c < fields.size(); ++c) {
            const QString t = ds.data(ds.index(row, c)).toString();
            cells << (grouped[c] ? GroupDigits(t) : t);
        }
        rows << cells;
    }
    r.setRows(fields, rows);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The frame

const QString TghirFormFrame::kRefused = QStringLiteral("عدم دسترسي به اين صفحه");
const QString TghirFormFrame::kOstan = QStringLiteral("ostan");

TghirFormFrame::TghirFormFrame(AppContext &ctx, QWidget *window)
    : m_ctx(ctx)
    , m_window(window)
{
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

QString TghirFormFrame::ask(const QString &caption, const QString &prompt, const QString &def) const
{
    return m_ctx.ui->inputBox(caption, prompt, def, m_window);
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

QString TghirFormFrame::signatory(const QString &listName) const
{
    return SettingValue(m_ctx, listName);
}

void TghirFormFrame::writeHistory(const QVariant &ghirKey, const QString &text) const
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

bool TghirFormFrame::passes(const QStringList &levels) const
{
    if (levels.contains(m_ctx.CurrentUser.level))
        return true;
    m_ctx.ui->message(kRefused, m_window);
    return false;
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
            writeHistory(ghir->eof() ? requested : ghir->value(QStringLiteral("id")), printText());
        });
    };
}

void TghirFormFrame::preview(const report::FilledReport &r, std::function<QString()> printText) const
{
    m_ctx.ui->previewReport(r, afterPrint(std::move(printText)));
}

int TghirFormFrame::print(const report::FilledReport &r, int copies, std::function<QString()> printText) const
{
    const auto after = afterPrint(std::move(printText));
    int printed = 0;
    for (int i = 0; i < copies; ++i) {
        if (m_ctx.ui->printReport(r, after) != Ui::Printed)
            break;
        ++printed;
    }
    return printed;
}

QString TghirFormFrame::starJoined(const DataSet &ds, const QString &field)
{
    QString s;
    for (int row = 0; row < ds.recordCount(); ++row)
        s += QStringLiteral(" * ") + ds.text(field, row);
    return s;
}

QString TghirFormFrame::today()
{
    InitToday();
    return SolarDateText();
}

// ---------------------------------------------------------------------------------------------
// The province forms

Tghir_forms::Tghir_forms(AppContext &ctx, Tghir_src *window)
    : QObject(window)
    , m_ctx(ctx)
    , m_window(window)
    , m_frame(ctx, window)
{
    setObjectName(QStringLiteral("Tghir_forms"));
}

Tghir_forms *Tghir_forms::attach(AppContext &ctx, Tghir_src *window)
{
    auto *forms = new Tghir_forms(ctx, window);
    const std::pair<const char *, void (Tghir_forms::*)()> items[] = {
        {"N8", &Tghir_forms::N8Click},   {"A51", &Tghir_forms::A51Click}, {"N9", &Tghir_forms::N9Click},
        {"N44", &Tghir_forms::N44Click}, {"N45", &Tghir_forms::N45Click},
    };
    for (const auto &[name, handler] : items)
        window->onMenu(QLatin1String(name), [forms, handler = handler] { (forms->*handler)(); });
    return forms;
}

int Tghir_forms::fontSizeAnswer(const QString &answer)
{
    bool ok = false;
    const int size = db::latinDigits(answer.trimmed()).toInt(&ok);
    return ok && size >= 4 && size <= 72 ? size : 10;
}

QString Tghir_forms::tonnageWords(const QString &caption)
{
    bool ok = false;
    const qint32 tons = caption.toInt(&ok);
    return ok ? GetNum(tons) : QString();
}

void Tghir_forms::N8Click()
{
    guarded(m_ctx, [&] {
        if (!m_frame.hasCurrent())
            return;
        report::FilledReport r(kTaahodLayout);
        r.set(QStringLiteral("dat"), m_frame.ask(kDateCaption, kDatePrompt, TghirFormFrame::today()));
        r.setFontSize(QStringLiteral("rosta"), fontSizeAnswer(m_frame.ask(kFontCaption, kFontPrompt, kFontDefault)));

        m_frame.readContractor();
        r.set(QStringLiteral("name"), m_frame.contractor(QStringLiteral("name")));
        r.set(QStringLiteral("farher"), m_frame.contractor(QStringLiteral("father")));
        for (const char *c : {"sh_no", "sodor", "peymankar", "adr", "takhliye", "phone", "mobile"})
            r.set(QLatin1String(c), m_frame.contractor(QLatin1String(c)));
        for (const char *c : {"city_paper_no", "city_paper_dat", "z_no", "z_bank"})
            r.set(QLatin1String(c), m_frame.current(QLatin1String(c)));

        DataSet *q = m_ctx.dm->ADOQuery1;
        q->open(kBatchRows, {m_frame.current(QStringLiteral("peymankar")), m_frame.current(QStringLiteral("reg_dat"))});
        r.set(QStringLiteral("rosta"), TghirFormFrame::starJoined(*q, QStringLiteral("rosta")));

        m_frame.writeHistory(m_frame.currentId(), kTaahodView);
        if (!m_frame.passes({TghirFormFrame::kOstan}))
            return;
        m_frame.preview(r, [] { return kTaahodPrint; });
    });
}

bool Tghir_forms::fillGuarantee(report::FilledReport &r, bool a4)
{
    if (!m_frame.hasCurrent())
        return false;
    const QString peymankar = m_frame.current(QStringLiteral("peymankar"));
    const QString regDat = m_frame.current(QStringLiteral("reg_dat"));
    r.set(QStringLiteral("dat"), TghirFormFrame::today());
    r.set(QStringLiteral("peymankar"), peymankar);
    r.set(QStringLiteral("zemanatname_typ"),
          m_frame.ask(a4 ? kZemanatCaption : kZemanat2Caption, kZemanatPrompt, kZemanatDefault));
    r.set(QStringLiteral("moaven_omran"), m_frame.signatory(kMoavenOmran));

    DataSet *q = m_ctx.dm->ADOQuery1;
    q->open(kBatchSums, {peymankar, regDat});
    r.set(QStringLiteral("sum_tonaj"), GroupDigits(q->text(QStringLiteral("t"))));
    QString view = kZemanatView + r.text(QStringLiteral("sum_tonaj")) + kSumTonaj;
    if (a4) {
        r.set(QStringLiteral("sum_zemanat"), GroupDigits(q->text(QStringLiteral("z"))));
        view += r.text(QStringLiteral("sum_zemanat")) + kSumZemanat;
    }
    m_frame.writeHistory(m_frame.currentId(), view);

    q->open(kBatchGuarantees, {peymankar, regDat});
    setGroupedRows(r, *q, {QStringLiteral("bors_price"), QStringLiteral("z_mablagh2")});
    return true;
}

void Tghir_forms::A51Click()
{
    guarded(m_ctx, [&] {
        report::FilledReport r(kZemanat2Layout);
        if (!fillGuarantee(r, false) || !m_frame.passes({TghirFormFrame::kOstan}))
            return;
        m_frame.preview(r);
    });
}

void Tghir_forms::N9Click()
{
    guarded(m_ctx, [&] {
        report::FilledReport r(kZemanatLayout);
        if (!fillGuarantee(r, true) || !m_frame.passes({TghirFormFrame::kOstan}))
            return;
        // The print row repeats the sums the printed letter shows.
        const QString printText = kZemanatPrint + r.text(QStringLiteral("sum_tonaj")) + kSumTonaj
                                  + r.text(QStringLiteral("sum_zemanat")) + kSumZemanat;
        m_frame.preview(r, [printText] { return printText; });
    });
}

bool Tghir_forms::fillNaft(report::FilledReport &r)
{
    if (!m_frame.hasCurrent())
        return false;
    r.set(QStringLiteral("pey_no"), m_frame.ask(kPeyNoCaption, kPeyNoPrompt, kPeyNoDefault));
    r.set(QStringLiteral("pey_dat"), m_frame.ask(kPeyDatCaption, kPeyDatPrompt, TghirFormFrame::today()));

    m_frame.readContractor();
    r.set(QStringLiteral("city"), m_frame.current(QStringLiteral("city")));
    r.set(QStringLiteral("name"), m_frame.contractor(QStringLiteral("name")));
    r.set(QStringLiteral("peymankar"), m_frame.contractor(QStringLiteral("peymankar")));
    r.set(QStringLiteral("peymankar2"), m_frame.contractor(QStringLiteral("peymankar")));
    r.set(QStringLiteral("sabt_no"), m_frame.contractor(QStringLiteral("sabt")));
    for (const char *c : {"eghtesadi", "shenase", "phone", "fax", "mobile", "adr", "zipcode", "takhliye"})
        r.set(QLatin1String(c), m_frame.contractor(QLatin1String(c)));
    for (const char *c : {"z_no", "z_dat", "comp_naft_name", "palayeshgah_name"})
        r.set(QLatin1String(c), m_frame.current(QLatin1String(c)));

    r.set(QStringLiteral("moaven_zihesab"), m_frame.signatory(kMoavenZihesab));
    r.set(QStringLiteral("modirkol"), m_frame.signatory(kModirKol));

    const QVariantList batch{m_ctx.dm->ADOQ_ghir->value(QStringLiteral("peymankar_id")),
                             m_frame.current(QStringLiteral("peymankar")), m_frame.current(QStringLiteral("reg_dat"))};
    DataSet *q = m_ctx.dm->ADOQuery1;
    q->open(kNaftSum, batch);
    r.set(QStringLiteral("ghir_tahatori"), q->text(QStringLiteral("t")));
    r.set(QStringLiteral("ghir_tahatori_horofi"), tonnageWords(r.text(QStringLiteral("ghir_tahatori"))));

    m_frame.writeHistory(m_frame.currentId(), kNaftView);

    DataSet *naft = m_ctx.dm->ADOQ_naft;
    naft->open(kNaftRows, batch);
    r.setRows(*naft);
    return true;
}

void Tghir_forms::N44Click()
{
    guarded(m_ctx, [&] {
        report::FilledReport r(kNaftLayout);
        if (!fillNaft(r) || !m_frame.passes({TghirFormFrame::kOstan}))
            return;
        m_frame.preview(r, [] { return kNaftPrint; });
    });
}

void Tghir_forms::N45Click()
{
    guarded(m_ctx, [&] {
        report::FilledReport r(kNaftLayout);
        if (!fillNaft(r) || !m_frame.passes({TghirFormFrame::kOstan}))
            return;
        // Two copies straight to the printer, without preview.
        m_frame.print(r, 2, [] { return kNaftPrint; });
    });
}
