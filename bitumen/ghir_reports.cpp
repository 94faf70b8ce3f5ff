#include "bitumen/ghir_reports.h"
#include "core/text_rules.h"

#include "bitumen/ghir_report_rows.h"
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
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

// The place, the contractor and the two flags of a source row: the allocated amount when the
// allocation has an oil company letter number / a central office letter number, else 0.
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

ScratchFill scratchFill(const QString &table, const Cols &source, const QString &clause, const QVariantList &binds)
{
    ScratchFill f;
    f.table = table;
    f.columns = kScratchColumns;
    f.sourceSql = QStringLiteral("select %1 from ghir where id<>-1 ").arg(source.sql()) + clause
                  + QStringLiteral("\n order by peymankar collate fa,reg_dat,city collate fa,rosta collate fa,id");
    f.sourceBinds = binds;
    f.countSql = QStringLiteral("select count(*) from ghir where id<>-1 ") + clause;
    f.countBinds = binds;
    f.progressText = kProgressText;
    return f;
}

// The web report's and the progress workbook's rows of ghir_rep2.
const Cols kRep2Source("city,rosta,peymankar,ghir_tahatori,moarefi_no,tehran_paper_no");
bool buildRep2(const SourceRow &q, QVariantList &row)
{
    const Cols &c = kRep2Source;
    const double t = q.number(c("ghir_tahatori"));
    placeAndFlags(q, c, t, row, t, q.text(c("moarefi_no")));
    return true;
}


} // namespace

ScratchFill ProvinceProgressFill(const QString &clause, const QVariantList &binds)
{
    ScratchFill fill = scratchFill(QStringLiteral("ghir_rep2"), kRep2Source, clause, binds);
    fill.build = &buildRep2;
    return fill;
}

// ---- the commands ---------------------------------------------------------------------------

struct Tghir_reports::WebReport {
    QString table;
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
        ScratchFill fill = scratchFill(rep.table, rep.source, clause, binds);
        fill.build = rep.build;
        QList<int> listed, totalled; // positions in the scratch row
        for (const ExportColumn &c : rep.listed)
            listed << kScratchColumns.indexOf(c.field);
        for (const QString &c : rep.totalled)
            totalled << kScratchColumns.indexOf(c);
        Sum sums[ScratchColumns];
        qint64 position = 0;
        QStringList cells;
        fill.written = [&](const QVariantList &row) {
            if (rep.introducedOnly && row.at(Naft).toDouble() == 0)
                return;
            ++position;
            for (int c : totalled)
                sums[c].add(row.at(c));
            if (rep.skipNoMinutes && text(row.at(MoarefiNo)) == QLatin1String("0"))
                return;
            cells.clear();
            for (int c : listed)
                cells << text(row.at(c));
            html.row(position, cells);
        };
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
    runWebReport({QStringLiteral("ghir_rep2"), kRep2Source, &buildRep2,
                  kWebColumns, {"ghir_tahatori", "ghir_naft", "tehran"}, false, false, true});
}

void Tghir_reports::N20Click()
{
    static const Cols source("city,rosta,peymankar,moarefi_no,tehran_paper_no,ghir_tahatori,pishraft");
    // The realised bitumen and the progress percent.
    auto build = [](const SourceRow &q, QVariantList &row) {
        const double t = q.number(source("ghir_tahatori"));
        placeAndFlags(q, source, t, row, realised(q, source, t), q.number(source("pishraft")));
        return true;
    };
    runWebReport({QStringLiteral("ghir_rep1"), source, build,
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
    runWebReport({QStringLiteral("ghir_rep1"), source, build,
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
