#include "bitumen/ghir_reports.h"
#include "core/text_rules.h"

#include "bitumen/ghir_report_rows.h"
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/scratch_table.h"
#include "shared/ui.h"

#include <QAction>

using namespace ghir_report;

namespace {

// ---- the scratch rows ---------------------------------------------------------------------

// Both scratch tables have these columns, in this order.
enum ScratchColumn { City, Rosta, Peymankar, Tahatori, MoarefiNo, Naft, Tehran, ScratchColumns };
const QStringList kScratchColumns = {"city", "rosta", "peymankar", "ghir_tahatori", "moarefi_no", "ghir_naft", "tehran"};
// The web report's and the progress workbook's listing: ghir_rep2 as it was filled.
const QList<ExportColumn> kWebColumns = {{"city", kCity},          {"rosta", kRosta},
                                         {"peymankar", kPeymankar}, {"ghir_tahatori", kGuarantee},
                                         {"moarefi_no", kLetterNo}, {"ghir_naft", kOilCompany},
                                         {"tehran", kCentralOffice}};

// The place and the contractor of an allocation (a null as an empty text), and the two flags:
// the allocated amount when the allocation has an oil company letter number / a central office
// letter number (a text that is neither null nor empty), else 0.
const QString kTonnes = QStringLiteral("coalesce(ghir_tahatori,0)");
QString flag(const char *letter)
{
    return QStringLiteral("case when length(coalesce(%1,''))>0 then %2 else 0 end").arg(QLatin1String(letter), kTonnes);
}

// The consumption minutes report builds its rows: the place, the contractor and the two flags of a
// source row (as the SQL above).
void placeAndFlags(const SourceRow &q, const Cols &c, double tahatori, QVariantList &row, const QVariant &fourth,
                   const QVariant &fifth)
{
    row << q.text(c("city")) << q.text(c("rosta")) << q.text(c("peymankar")) << fourth << fifth
        << (q.isEmpty(c("moarefi_no")) ? 0.0 : tahatori) << (q.isEmpty(c("tehran_paper_no")) ? 0.0 : tahatori);
}

double realised(const SourceRow &q, const Cols &c, double tahatori)
{
    const double pishraft = q.number(c("pishraft"));
    // Written to the scratch table as a decimal text of 15 significant digits.
    return textrule::numberText(double((long double)tahatori * pishraft / 100)).toDouble();
}

ScratchFill scratchFill(const QString &table, const QString &clause, const QVariantList &binds)
{
    ScratchFill f;
    f.table = table;
    f.columns = kScratchColumns;
    f.from = QStringLiteral("from ghir where id<>-1 ") + clause;
    f.binds = binds;
    f.order = QStringLiteral("peymankar collate fa,reg_dat,city collate fa,rosta collate fa,id");
    f.progressText = kProgressText;
    return f;
}

// The scratch row of an allocation in SQL: its place and contractor, `fourth` and `fifth`, the flags.
QStringList scratchValues(const QString &fourth, const QString &fifth)
{
    return {QStringLiteral("coalesce(city,'')"), QStringLiteral("coalesce(rosta,'')"),
            QStringLiteral("coalesce(peymankar,'')"), fourth, fifth, flag("moarefi_no"), flag("tehran_paper_no")};
}

// The web report's and the progress workbook's rows of ghir_rep2: the allocated tonnes and the
// oil company letter number.
QStringList rep2Values(bool)
{
    return scratchValues(kTonnes, QStringLiteral("coalesce(moarefi_no,'')"));
}

// The physical progress report's rows of ghir_rep1: the realised tonnes (allocated x progress /
// 100, as the program writes a number) and the progress percent.
QStringList progressValues(bool postgres)
{
    return scratchValues(ScratchNumberSql(kTonnes + QStringLiteral("*coalesce(pishraft,0)/100"), postgres),
                         QStringLiteral("coalesce(pishraft,0)"));
}

// A scratch row the program built, read as the table holds it.
class ValuesRow : public SourceRow {
public:
    explicit ValuesRow(const QVariantList &values) : m_values(values) {}
    bool isNull(int c) const override { return m_values.at(c).isNull(); }
    QString text(int c) const override { return ghir_report::text(m_values.at(c)); }
    double number(int c) const override { return m_values.at(c).toDouble(); }

private:
    const QVariantList &m_values;
};

} // namespace

ScratchFill ProvinceProgressFill(const QString &clause, const QVariantList &binds)
{
    ScratchFill fill = scratchFill(QStringLiteral("ghir_rep2"), clause, binds);
    fill.values = rep2Values(false);
    return fill;
}

// ---- the commands ---------------------------------------------------------------------------

struct Tghir_reports::WebReport {
    QString table;
    // The scratch row in SQL (by dialect), or the source columns and the row built from them.
    std::function<QStringList(bool postgres)> values;
    Cols source;
    std::function<bool(const SourceRow &, QVariantList &)> build;
    QList<ExportColumn> listed; // the scratch columns listed, in order, with their titles
    QStringList totalled;       // the scratch columns with a total under them
    bool introducedOnly; // only rows with an oil company letter are listed and totalled
    bool skipNoMinutes;  // a listed row whose minutes figure reads "0" gets no body row
    bool askFile;        // the file is chosen in the save dialog, else the fixed file
};

Tghir_reports::Tghir_reports(AppContext &ctx, Tghir_src *window)
    : QObject(window)
    , m_ctx(ctx)
    , m_window(window)
{
    setObjectName(QStringLiteral("Tghir_reports"));
}

Tghir_reports *Tghir_reports::attach(AppContext &ctx, Tghir_src *window)
{
    auto *r = new Tghir_reports(ctx, window);
    const QList<QPair<const char *, void (Tghir_reports::*)()>> items = {
        {"N19", &Tghir_reports::N19Click}, {"N20", &Tghir_reports::N20Click}, {"N21", &Tghir_reports::N21Click},
        {"N24", &Tghir_reports::N24Click}, {"N26", &Tghir_reports::N26Click}, {"N46", &Tghir_reports::N46Click},
        {"N39", &Tghir_reports::N39Click}, {"N27", &Tghir_reports::N27Click}, {"N34", &Tghir_reports::N34Click},
        {"N6", &Tghir_reports::N6Click},   {"N29", &Tghir_reports::N29Click}, {"N30", &Tghir_reports::N30Click},
    };
    for (const auto &[name, fn] : items)
        window->onMenu(QLatin1String(name), [r, fn = fn] { (r->*fn)(); });
    return r;
}

bool Tghir_reports::passesProvince() const
{
    if (m_ctx.CurrentUser.level == kOstan)
        return true;
    m_ctx.ui->message(msg::kReportRefused, m_window);
    return false;
}

// The grid's list as the window's last search left it (searched first when it never was).
bool Tghir_reports::gridOpen() const
{
    if (!m_ctx.dm->ADOQ_ghir->isOpen())
        m_window->search();
    return m_ctx.dm->ADOQ_ghir->isOpen();
}

void Tghir_reports::runWebReport(const WebReport &rep)
{
    guarded(m_ctx, [&] {
        if (!passesProvince())
            return;
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        const TempFile temp(QStringLiteral("Tobrenhal_XXXXXX.htm"));
        HtmlTableWriter html(temp.path(), kTitle, titles(rep.listed));
        openHtml(html);
        ScratchFill fill = scratchFill(rep.table, clause, binds);
        if (rep.values) {
            fill.values = rep.values(m_ctx.dm->isPostgres());
        } else {
            fill.select = rep.source.sql();
            fill.build = rep.build;
        }
        QList<int> listed, totalled; // positions in the scratch row
        for (const ExportColumn &c : rep.listed)
            listed << kScratchColumns.indexOf(c.field);
        for (const QString &c : rep.totalled)
            totalled << kScratchColumns.indexOf(c);
        bool number[ScratchColumns];
        for (int c = 0; c < ScratchColumns; ++c)
            number[c] = db::findColumn(rep.table, kScratchColumns.at(c))->type != db::ColType::Text;
        Sum sums[ScratchColumns];
        qint64 position = 0;
        // A listed row: in the totals, and a body row with its cells as the table holds them.
        auto list = [&](const SourceRow &row) {
            if (rep.introducedOnly && row.number(Naft) == 0)
                return;
            ++position;
            for (int c : totalled)
                if (!row.isNull(c))
                    sums[c].add(row.number(c));
            if (rep.skipNoMinutes && !row.isNull(MoarefiNo) && row.number(MoarefiNo) == 0)
                return;
            html.beginRow(position);
            for (int c : listed) {
                if (row.isNull(c))
                    html.cell(QStringView());
                else if (number[c])
                    html.numberCell(row.number(c));
                else
                    html.utf8Cell(row.utf8(c));
            }
            html.endRow();
        };
        fill.listed = list;
        fill.written = [&](const QVariantList &row) { list(ValuesRow(row)); };
        if (!ReplaceScratchRows(m_ctx, fill, m_window))
            return;
        // Under the listing: three empty cells, the grand total's caption, then each listed
        // column's total or an empty cell.
        QStringList totals = {QString(), QString(), QString(), kGrandTotal};
        for (int i = 3; i < listed.size(); ++i)
            totals << (totalled.contains(listed.at(i)) ? sums[listed.at(i)].text() : QString());
        html.totals(HtmlTotalsRow(totals, true));
        finishHtml(html, temp.path());
        const QString target = rep.askFile ? m_ctx.ui->saveFileName(QString(), kProposedFile, QString(), m_window)
                                           : TempExportPath(kFixedHtml);
        if (target.isEmpty())
            return;
        temp.moveTo(target);
        m_ctx.ui->openFile(target);
    });
}

void Tghir_reports::N19Click()
{
    runWebReport({QStringLiteral("ghir_rep2"), &rep2Values, Cols(""), nullptr,
                  kWebColumns, {"ghir_tahatori", "ghir_naft", "tehran"}, false, false, true});
}

void Tghir_reports::N20Click()
{
    runWebReport({QStringLiteral("ghir_rep1"), &progressValues, Cols(""), nullptr,
                  {{"city", kCity}, {"rosta", kRosta}, {"peymankar", kPeymankar}, {"ghir_naft", kOilCompany},
                   {"tehran", kCentralOffice}, {"moarefi_no", QStringLiteral("درصد پيشرفت فيزيکي")},
                   {"ghir_tahatori", kRealised}},
                  {"ghir_naft", "tehran", "ghir_tahatori"}, true, false, true});
}

void Tghir_reports::N21Click()
{
    static const Cols source("city,rosta,peymankar,moarefi_no,tehran_paper_no,ghir_tahatori,pishraft,tozi_dat,ghir_t,jalase_dat");
    // The realised bitumen and the exchange bitumen of the minutes (0 without a minutes date);
    // a row whose exchange bitumen is not a number is left out.
    auto build = [](const SourceRow &q, QVariantList &row) {
        const double t = q.number(source("ghir_tahatori"));
        const int date = source("jalase_dat"), exchange = source("ghir_t");
        std::optional<long double> minutes = 0;
        if ((q.isNull(date) || q.text(date) != kEmptyDate)
            && !textNumber(q.isNull(exchange) ? QVariant() : QVariant(q.text(exchange)), &minutes))
            return false;
        placeAndFlags(q, source, t, row, realised(q, source, t), double(minutes.value_or(0)));
        return true;
    };
    runWebReport({QStringLiteral("ghir_rep1"), nullptr, source, build,
                  {{"city", kCity}, {"rosta", kRosta}, {"peymankar", kPeymankar}, {"ghir_naft", kOilCompany},
                   {"tehran", kCentralOffice}, {"ghir_tahatori", kRealised},
                   {"moarefi_no", QStringLiteral("صورتجلسه مصرف قير")}},
                  {"ghir_naft", "tehran", "ghir_tahatori", "moarefi_no"}, true, true, false});
}

void Tghir_reports::N27Click()
{
    guarded(m_ctx, [&] {
        if (!passesProvince())
            return;
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        SheetWriter sheet(titles(kWebColumns));
        check(sheet, sheet.open());
        ScratchFill fill = ProvinceProgressFill(clause, binds);
        fill.written = [&](const QVariantList &row) { check(sheet, sheet.row(row)); };
        if (!ReplaceScratchRows(m_ctx, fill, m_window))
            return;
        check(sheet, sheet.finish());
        m_ctx.ui->openFile(sheet.path());
    });
}
