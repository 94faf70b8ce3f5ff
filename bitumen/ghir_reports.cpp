#include "bitumen/ghir_reports.h"

#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "db/values.h"
#include "report/form_frame.h"
#include "shared/dates.h"
#include "shared/exports.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/numwords.h"
#include "shared/scratch_table.h"
#include "shared/ui.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <optional>

namespace {

const QString kOstan = QStringLiteral("ostan");
const QString kTitle = QStringLiteral("گزارش پروژه هاي قير");
const QString kGrandTotal = QStringLiteral("جمع کل");
const QString kProposedFile = QStringLiteral("rep.htm");
const QString kFixedHtml = QStringLiteral("Tobrenhal.htm");
const QString kEmptyDate = QStringLiteral("    /  /  ");
const QString kTehranLayout = QStringLiteral("TTEHRAN_CHAP");
// A text column that must be a number is not one: the column's title, the village, the
// contractor, the allocation's id and the text.
const QString kNotANumber = QStringLiteral("خطا! «%1» پروژه %2 - %3 (شناسه %4) عدد نيست: «%5»");
const QString &kProgressText = kExportProgress;

const QString kCity = QStringLiteral("شهرستان");
const QString kRosta = QStringLiteral("روستا");
const QString kPeymankar = QStringLiteral("پيمانکار");
const QString kPrjTyp = QStringLiteral("نوع پروژه");
const QString kTahatori = QStringLiteral("ميزان قير حواله");
const QString kGuarantee = QStringLiteral("معرفي به ضمانتنامه");
const QString kLetterNo = QStringLiteral("شماره معرفي نامه");
const QString kOilCompany = QStringLiteral("معرفي به شرکت نفت");
const QString kCentralOffice = QStringLiteral("تاييديه دفتر مرکزي");
const QString kRealised = QStringLiteral("قير محقق شده");

// The full title table of the grid's columns (general and complete workbooks, general web listing).
const QList<ExportColumn> kFullTitles = {
    {"id", QStringLiteral("شناسه")},
    {"city", kCity},
    {"rosta", kRosta},
    {"prj_typ", kPrjTyp},
    {"prot_no", QStringLiteral("شماره قرارداد")},
    {"prot_dat", QStringLiteral("تاريخ قرارداد")},
    {"peymankar", kPeymankar},
    {"prot_mablagh", QStringLiteral("مبلغ قرارداد")},
    {"city_paper_no", QStringLiteral("شماره نامه شهرستان")},
    {"city_paper_dat", QStringLiteral("تاريخ نامه شهرستان")},
    {"tafahomname_dat", QStringLiteral("تاريخ تفاهمنامه")},
    {"prj_area", QStringLiteral("مساحت تقريبي پروژه")},
    {"tonaj", QStringLiteral("تناژ تقريبي کار")},
    {"zekhamat", QStringLiteral("ضخامت تقريبي")},
    {"bors_price", QStringLiteral("قيمت روز بورس")},
    {"ghir_masrafi", QStringLiteral("قير مصرفي")},
    {"ghir_tahatori", kTahatori},
    {"tozi_dat", QStringLiteral("تاريخ کميته توزيع")},
    {"z_no", QStringLiteral("شماره ضمانتنامه")},
    {"z_dat", QStringLiteral("تاريخ ضمانتنامه")},
    {"z_bank", QStringLiteral("بانک ضمانتنامه")},
    {"z_typ", QStringLiteral("نوع ضمانتنامه")},
    {"z_mablagh", QStringLiteral("مبلغ ضمانتنامه")},
    {"taahod_dat", QStringLiteral("تاريخ تعهدنامه")},
    {"moarefi_dat", QStringLiteral(" تاريخ معرفي نامه")},
    {"moarefi_no", kLetterNo},
    {"sorat_no", QStringLiteral("شماره صورتحساب")},
    {"sorat_dat", QStringLiteral("تاريخ صورتحساب")},
    {"sal", QStringLiteral("سال تخصيص قير")},
    {"cmt", QStringLiteral("توضيحات")},
    {"palayeshgah_name", QStringLiteral("نام پالايشگاه")},
    {"ghir_tagh_tah", QStringLiteral("ميزان تقريبي قير تهاتري")},
    {"sorat_area", QStringLiteral("مساحت طبق صورتجلسه")},
    {"ghir_daryafti", QStringLiteral("ميزان قير دريافتي از شرکت")},
    {"az_name", QStringLiteral("نام آزمايشگاه")},
    {"rep_no", QStringLiteral("شماره گزارش")},
    {"rep_dat", QStringLiteral("تاريخ گزارش")},
    {"zekhamat_m", QStringLiteral("ميانگين ضخامت")},
    {"vazn", QStringLiteral("وزن")},
    {"ghir_masrafi_m", QStringLiteral("ميانگين قير مصرفي")},
    {"ghir_prim", QStringLiteral("قير پريمکت")},
    {"bors_m", QStringLiteral("ميانگين بورس")},
    {"asfalt_price", QStringLiteral("قيمت آسفالت")},
    {"ghir_tahvili", QStringLiteral("قير تحويلي")},
    {"ghir60", QStringLiteral("قير 70-60")},
    {"ghir_m_p", QStringLiteral("قير مصرفي پريمکت")},
    {"ghir_jam", QStringLiteral("جمع قير")},
    {"reg_dat", QStringLiteral("تاريخ ثبت")},
    {"ghir_t", QStringLiteral("قير تهاتري")},
    {"peymankar_id", QStringLiteral("شناسه پيمانکار")},
    {"tehran_paper_no", QStringLiteral("شماره نامه تهران")},
    {"jalase_no", QStringLiteral("شماره جلسه")},
    {"jalase_dat", QStringLiteral("تاريخ جلسه")},
    {"prot_no_ejra", QStringLiteral("شماره قرارداد اجرا")},
    {"prot_dat_ejra", QStringLiteral("تاريخ قرارداد اجرا")},
    {"prot_mablagh_ejra", QStringLiteral("مبلغ قرارداد اجرا")},
    {"zarib", QStringLiteral("ضريب")},
    {"asfalt_ejra", QStringLiteral("ميزان آسفالت اجرا شده - تن")},
    {"ghir_moadel", QStringLiteral("قيمت قير جهت معادل سازي - ريال")},
    {"pishraft", QStringLiteral("پيشرفت فيزيکي")},
    {"status", QStringLiteral("وضعيت")},
    {"comp_naft_name", QStringLiteral("نام شرکت نفت")},
    {"mosharekat", QStringLiteral("مشارکت مردمي و دهياري")},
};

const QList<ExportColumn> kCountyTitles = {
    {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp},
    {"peymankar", kPeymankar}, {"ghir_tahatori", kTahatori}, {"pishraft", QStringLiteral("پيشرفت فيزيکي")},
};

// ---- reading --------------------------------------------------------------------------------

// Positions of the columns of a select list written "city,rosta,peymankar".
struct Cols {
    QStringList names;
    explicit Cols(const char *list) : names(QString::fromLatin1(list).split(QLatin1Char(','))) {}
    int operator()(const QString &name) const { return names.indexOf(name); }
    int operator()(const char *name) const { return names.indexOf(QLatin1String(name)); }
    QString sql() const { return names.join(QLatin1Char(',')); }
};

QString text(const QVariant &v)
{
    return DataSet::valueText(v);
}

// A number column (float, integer, money); null stays null.
std::optional<long double> number(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return (long double)v.toDouble();
}

// A text column that takes part in arithmetic, read with the boxes' one parser: null stays
// null, an empty text is 0, a number is itself; false for anything else.
bool textNumber(const QVariant &v, std::optional<long double> *out)
{
    if (v.isNull()) {
        *out = std::nullopt;
        return true;
    }
    const QString t = v.toString();
    if (t.trimmed().isEmpty()) {
        *out = 0;
        return true;
    }
    double d = 0;
    if (!db::parseNumber(t, &d))
        return false;
    *out = d;
    return true;
}

// The same where a text that is not a number ends the command, naming the allocation.
std::optional<long double> requiredNumber(const QSqlQuery &q, const Cols &c, const char *column)
{
    std::optional<long double> n;
    const QVariant v = q.value(c(column));
    if (!textNumber(v, &n))
        throw AppError(kNotANumber.arg(ColumnTitle(kFullTitles, QLatin1String(column)), text(q.value(c("rosta"))),
                                       text(q.value(c("peymankar"))), text(q.value(c("id"))), v.toString()));
    return n;
}

// Null when any factor is null, as the database multiplies.
std::optional<long double> product(std::initializer_list<std::optional<long double>> factors)
{
    long double p = 1;
    for (const auto &f : factors) {
        if (!f)
            return std::nullopt;
        p *= *f;
    }
    return p;
}

QVariant value(const std::optional<long double> &n)
{
    return n ? QVariant(double(*n)) : QVariant();
}

// A sum as the database gives it: empty when it summed nothing.
struct Sum {
    long double total = 0;
    bool any = false;
    void add(const QVariant &v)
    {
        if (v.isNull())
            return;
        total += v.toDouble();
        any = true;
    }
    QString text() const { return any ? db::numberText(double(total)) : QString(); }
};

// Reads a list row by row on the main connection, with the progress bar; false when cancelled.
bool forEachRow(AppContext &ctx, QWidget *parent, const QString &select, const QString &clause,
                const QVariantList &binds, const std::function<void(const QSqlQuery &)> &fn)
{
    Tdm &dm = *ctx.dm;
    const qint64 total = dm.scalar(QStringLiteral("select count(*) from ghir where id<>-1 ") + clause, binds).toLongLong();
    const auto progress = ctx.ui->startProgress(kProgressText, total, parent);
    QSqlQuery q(dm.ADOConnection1());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!q.prepare(select + clause + QStringLiteral("\n order by id")))
        throw DbError(q.lastError().text());
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
    qint64 done = 0;
    while (q.next()) {
        fn(q);
        if (++done % 1000 == 0 && !progress->step(done))
            return false;
    }
    if (q.lastError().isValid())
        throw DbError(q.lastError().text());
    return progress->step(done);
}

// The values of `columns` from the source's current row; computed columns from `computed`.
QVariantList pick(const QList<ExportColumn> &columns, const QSqlQuery &q, const Cols &c,
                  const QHash<QString, QVariant> &computed)
{
    QVariantList out;
    for (const ExportColumn &col : columns) {
        const auto it = computed.constFind(col.field);
        out << (it != computed.constEnd() ? *it : q.value(c(col.field)));
    }
    return out;
}

// ---- files ----------------------------------------------------------------------------------

// A file of the temp folder reserved for a report written before its place is chosen; removed
// with the object unless it was moved.
class TempFile {
public:
    explicit TempFile(const QString &pattern)
    {
        QTemporaryFile f(TempExportPath(pattern));
        f.setAutoRemove(false);
        if (!f.open())
            throw AppError(kExportWriteError.arg(f.fileName(), f.errorString()));
        m_path = f.fileName();
    }
    ~TempFile() { QFile::remove(m_path); }
    const QString &path() const { return m_path; }
    // Puts the file's bytes under `target` whole (an existing file is replaced).
    void moveTo(const QString &target) const
    {
        QFile in(m_path);
        QSaveFile out(target);
        if (!in.open(QIODevice::ReadOnly))
            throw AppError(kExportWriteError.arg(m_path, in.errorString()));
        if (!out.open(QIODevice::WriteOnly))
            throw AppError(kExportWriteError.arg(target, out.errorString()));
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(1 << 20);
            if (out.write(chunk) != chunk.size())
                break;
        }
        if (!out.commit())
            throw AppError(kExportWriteError.arg(target, out.errorString()));
    }

private:
    QString m_path;
};

void openHtml(HtmlTableWriter &html)
{
    if (!html.open())
        throw AppError(kExportWriteError.arg(QString(), html.errorString()));
}

void finishHtml(HtmlTableWriter &html, const QString &path)
{
    if (!html.finish())
        throw AppError(kExportWriteError.arg(path, html.errorString()));
}

void check(SheetWriter &sheet, bool ok)
{
    if (!ok)
        throw AppError(kExportWriteError.arg(sheet.path(), sheet.errorString()));
}

// ---- the scratch rows ---------------------------------------------------------------------

// Both scratch tables have these columns, in this order.
enum ScratchColumn { City, Rosta, Peymankar, Tahatori, MoarefiNo, Naft, Tehran, ScratchColumns };
const QStringList kScratchColumns = {"city", "rosta", "peymankar", "ghir_tahatori", "moarefi_no", "ghir_naft", "tehran"};
// The web report's and the progress workbook's listing: ghir_rep2 as it was filled.
const QList<ExportColumn> kWebColumns = {{"city", kCity},          {"rosta", kRosta},
                                         {"peymankar", kPeymankar}, {"ghir_tahatori", kGuarantee},
                                         {"moarefi_no", kLetterNo}, {"ghir_naft", kOilCompany},
                                         {"tehran", kCentralOffice}};

QStringList titles(const QList<ExportColumn> &columns)
{
    QStringList out;
    for (const ExportColumn &c : columns)
        out << c.title;
    return out;
}

// The place, the contractor and the two flags of a source row: the allocated amount when the
// allocation has an oil company letter number / a central office letter number, else 0.
void placeAndFlags(const SourceRow &q, const Cols &c, double tahatori, QVariantList &row, const QVariant &fourth,
                   const QVariant &fifth)
{
    row << q.text(c("city")) << q.text(c("rosta")) << q.text(c("peymankar")) << fourth << fifth
        << (q.text(c("moarefi_no")).isEmpty() ? 0.0 : tahatori)
        << (q.text(c("tehran_paper_no")).isEmpty() ? 0.0 : tahatori);
}

double realised(const SourceRow &q, const Cols &c, double tahatori)
{
    const double pishraft = q.number(c("pishraft"));
    // Written to the scratch table as a decimal text of 15 significant digits.
    return db::numberText(double((long double)tahatori * pishraft / 100)).toDouble();
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

// ---- the filter ---------------------------------------------------------------------------------

QString ReportFilterClause(const QWidget *window, QVariantList &binds)
{
    QString s;
    auto enabled = [window](const char *name) -> QWidget * {
        QWidget *w = window->findChild<QWidget *>(QLatin1String(name));
        return w && w->isEnabledTo(window) ? w : nullptr;
    };
    auto boxText = [](QWidget *w) {
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c->currentText();
        // A masked box as its mask shows it: an empty year box sends its blanks.
        QString t = static_cast<QLineEdit *>(w)->displayText();
        return t.replace(QLatin1Char('_'), QLatin1Char(' '));
    };
    for (const char *name : {"city", "rosta", "peymankar"}) {
        if (QWidget *w = enabled(name)) {
            s += QStringLiteral("\n and %1 like ?").arg(QLatin1String(name));
            binds << QLatin1Char('%') + boxText(w) + QLatin1Char('%');
        }
    }
    // One check box enables both dates.
    if (QWidget *from = enabled("reg_dat1")) {
        s += QStringLiteral("\n and reg_dat>=? and reg_dat<=?");
        binds << boxText(from) << boxText(window->findChild<QWidget *>(QStringLiteral("reg_dat2")));
    }
    for (const char *name : {"sal", "prj_typ"}) {
        if (QWidget *w = enabled(name)) {
            s += QStringLiteral("\n and %1=?").arg(QLatin1String(name));
            binds << boxText(w);
        }
    }
    return s;
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
        if (QAction *a = window->findChild<QAction *>(QLatin1String(name)))
            connect(a, &QAction::triggered, r, fn);
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

void Tghir_reports::N24Click()
{
    guarded(m_ctx, [&] {
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        static const Cols c("id,city,rosta,prj_typ,sal,peymankar,ghir_tahatori,bors_price,ghir_moadel,sorat_area,"
                            "asfalt_ejra,prot_no,prot_mablagh,prot_no_ejra,prot_mablagh_ejra,zarib");
        static const QList<ExportColumn> columns = {
            {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp}, {"sal", QStringLiteral("سال تخصيص قير")},
            {"peymankar", kPeymankar}, {"ghir_tahatori", QStringLiteral("قير تهاتري")},
            {"bors_price", QStringLiteral("قيمت روز بورس")},
            {"ghir_moadel", QStringLiteral("قيمت قير جهت معادل سازي - ريال")},
            {"sorat_area", QStringLiteral("مساحت طبق صورتجلسه")},
            {"asfalt_ejra", QStringLiteral("ميزان آسفالت اجرا شده - تن")}, {"prot_no", QStringLiteral("شماره قرارداد")},
            {"m1", QStringLiteral("مبلغ خريد آسفالت")}, {"prot_no_ejra", QStringLiteral("شماره قرارداد اجرا")},
            {"m2", QStringLiteral("مبلغ اجراي آسفالت")}};
        const QString file = TempExportPath(kFixedHtml);
        HtmlTableWriter html(file, kTitle, titles(columns));
        openHtml(html);
        Sum m1Total, m2Total;
        qint64 position = 0;
        QStringList cells;
        // The amounts of the asphalt bought and executed, from the executed tonnes.
        const bool complete = forEachRow(m_ctx, m_window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()),
                                         clause, binds, [&](const QSqlQuery &q) {
            const auto asfalt = requiredNumber(q, c, "asfalt_ejra");
            const QVariant m1 = value(product({asfalt, number(q.value(c("prot_mablagh")))}));
            const QVariant m2 = value(product(
                {asfalt, number(q.value(c("prot_mablagh_ejra"))), requiredNumber(q, c, "zarib")}));
            m1Total.add(m1);
            m2Total.add(m2);
            cells.clear();
            for (const QVariant &v : pick(columns, q, c, {{"m1", m1}, {"m2", m2}}))
                cells << text(v);
            html.row(++position, cells);
        });
        if (!complete)
            return;
        QStringList totals(12);
        totals << m1Total.text() << QString() << m2Total.text();
        html.totals(HtmlTotalsRow(totals, false));
        finishHtml(html, file);
        m_ctx.ui->openFile(file);
    });
}

void Tghir_reports::N34Click()
{
    guarded(m_ctx, [&] {
        if (!passesProvince())
            return;
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        static const Cols c("id,city,rosta,prj_typ,ghir_tahatori,sorat_area,ghir_daryafti,peymankar");
        static const QList<ExportColumn> columns = {
            {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp}, {"ghir_tahatori", kTahatori},
            {"sorat_area", QStringLiteral("سطح طبق صورتجلسه - متر مربع")},
            {"mablagh", QStringLiteral("(مبلغ ريالي)ميزان قير حواله*قيمت قير دريافتي از شرکت")}};
        SheetWriter sheet(titles(columns));
        check(sheet, sheet.open());
        // The rial value of the allocated bitumen at the company's price.
        const bool complete = forEachRow(m_ctx, m_window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()),
                                         clause, binds, [&](const QSqlQuery &q) {
            const auto mablagh = product({number(q.value(c("ghir_tahatori"))), requiredNumber(q, c, "ghir_daryafti")});
            check(sheet, sheet.row(pick(columns, q, c, {{"mablagh", value(mablagh)}})));
        });
        if (!complete)
            return;
        check(sheet, sheet.finish());
        m_ctx.ui->openFile(sheet.path());
    });
}

void Tghir_reports::N26Click()
{
    guarded(m_ctx, [&] {
        if (gridOpen())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

void Tghir_reports::N46Click()
{
    guarded(m_ctx, [&] {
        if (passesProvince())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

void Tghir_reports::N39Click()
{
    guarded(m_ctx, [&] {
        if (gridOpen())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kCountyTitles);
    });
}

void Tghir_reports::N6Click()
{
    guarded(m_ctx, [&] {
        ExportHtmlDataSet(m_ctx, TempExportPath(kFixedHtml), kTitle, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

// ---- central office report ----------------------------------------------------------------------

namespace {

// Per village: the passages done, the bitumen supplied, consumed directly and settled by
// equalisation, the minutes date and the people's and council's contributions; with the
// workbook's titles (the print's headers are the layout's).
const QList<ExportColumn> kTehranColumns = {
    {"city", kCity},
    {"rosta", kRosta},
    {"tolemasir", QStringLiteral("جمع طول معبر انجام شده-متر")},
    {"sorat_area", QStringLiteral("مساحت آسفالت-مترمربع")},
    {"ghir_tahatori", QStringLiteral("مقدار قير تامين شده از سوي شرکت قيرساز-تن")},
    {"Moadelsazi", QStringLiteral("معادل سازي-تن")},
    {"ghir_jam", QStringLiteral("مصرف مستقيم-تن")},
    {"jalase_dat", QStringLiteral("تاريخ تنظيم صورتجلسه مصرف قير")},
    {"khodyari", QStringLiteral("خودياري نقدي")},
    {"Dehyari", QStringLiteral("معادل ريالي عمليات اجرايي دهياري و مردم")},
    {"Jam", QStringLiteral("جمع")},
    {"mokhtasat", QStringLiteral("مختصات و موقعيت معابر اجرا شده")},
};
// The contributions in rials, printed grouped by thousands.
const QStringList kTehranMoney = {"khodyari", "Dehyari", "Jam"};

bool tehranRows(AppContext &ctx, QWidget *window, QVector<QVariantList> &rows)
{
    QVariantList binds;
    const QString clause = ReportFilterClause(window, binds);
    static const Cols c("id,peymankar,city,rosta,tolemasir,sorat_area,ghir_tahatori,ghir_jam,jalase_dat,khodyari,"
                        "dehyari,mokhtasat");
    return forEachRow(ctx, window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()), clause, binds,
                      [&](const QSqlQuery &q) {
        const auto tahatori = number(q.value(c("ghir_tahatori")));
        const auto jam = requiredNumber(q, c, "ghir_jam");
        const auto khodyari = number(q.value(c("khodyari")));
        const auto dehyari = number(q.value(c("dehyari")));
        const auto moadelsazi = tahatori && jam ? std::optional<long double>(*tahatori - *jam) : std::nullopt;
        const auto total = khodyari && dehyari ? std::optional<long double>(*khodyari + *dehyari) : std::nullopt;
        rows.append(pick(kTehranColumns, q, c,
                         {{"Moadelsazi", value(moadelsazi)}, {"Dehyari", q.value(c("dehyari"))}, {"Jam", value(total)}}));
    });
}

} // namespace

void Tghir_reports::N29Click()
{
    guarded(m_ctx, [&] {
        QVector<QVariantList> rows;
        if (!tehranRows(m_ctx, m_window, rows))
            return;
        QStringList fields;
        QList<bool> money;
        for (const ExportColumn &c : kTehranColumns) {
            fields << c.field;
            money << kTehranMoney.contains(c.field);
        }
        QVector<QStringList> texts;
        texts.reserve(rows.size());
        for (const QVariantList &row : rows) {
            QStringList t;
            for (int i = 0; i < row.size(); ++i)
                t << (money.at(i) ? GroupDigits(text(row.at(i))) : text(row.at(i)));
            texts << t;
        }
        report::FormRow form;
        form.layout = kTehranLayout;
        form.today = {QStringLiteral("dat")};
        form.compute = [&](report::FormFill &fill) {
            // The year box's text, whether its filter is ticked or not.
            fill.report.set(QStringLiteral("sal"), m_window->findChild<QLineEdit *>(QStringLiteral("sal"))->text());
            fill.report.setRows(fields, texts);
        };
        report::FormFrame(m_ctx, m_window).run(form);
    });
}

void Tghir_reports::N30Click()
{
    guarded(m_ctx, [&] {
        QVector<QVariantList> rows;
        if (!tehranRows(m_ctx, m_window, rows))
            return;
        SheetWriter sheet(titles(kTehranColumns));
        check(sheet, sheet.open());
        for (const QVariantList &row : rows)
            check(sheet, sheet.row(row));
        check(sheet, sheet.finish());
        m_ctx.ui->openFile(sheet.path());
    });
}
