// The bitumen window's web report (N19), province progress workbook (N27) and general workbook
// (N26) over 100,000 allocations, on SQLite and on PostgreSQL (VARNOSET_TEST_PG; skipped when
// unset), each beside its reference in the same run:
//   - the scratch copy of N19 and N27 beside the engine's own copy, the program's INSERT ... SELECT
//     into ghir_rep2 in one transaction;
//   - the workbooks beside xlsx_reference, a plain C program writing the same cells with
//     libxlsxwriter alone.
// Each command also runs over a quarter of the allocations (the year filter), so that its peak
// memory can be compared across the two sizes. Counters: rows, peak_rise_MB (the resident
// high-water mark of the iteration above the resident size before it). A summary with the ratios
// is printed at the end.
#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/setup.h"
#include "shared/exports.h"
#include "shared/scratch_table.h"
#include "ui/scriptedui.h"

#include "bench_support.h"
#include "ghir_bench_data.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRows = 100000;

struct Result {
    double ms = 0;
    double peakRiseMb = 0;
    qint64 rows = 0;
};
QMap<QString, Result> g_results;

struct Backend {
    QTemporaryDir dir;
    QString schema;
    std::unique_ptr<Tdm> dm;
    ScriptedUi ui;
    AppContext ctx;
    std::unique_ptr<Tghir_src> window;

    bool open(bool pg)
    {
        if (!openAllocationsDatabase(dm, ctx, ui, dir, pg, &schema, kRows))
            return false;
        ctx.CurrentUser = {QStringLiteral("1"), QStringLiteral("ostan"), QStringLiteral("ostan")};
        window = std::make_unique<Tghir_src>(ctx);
        Tghir_reports::attach(ctx, window.get());
        return true;
    }

    // All allocations, or the quarter of one allocation year.
    void setQuarter(bool quarter)
    {
        auto *tick = window->findChild<QCheckBox *>(QStringLiteral("CheckBox5"));
        if (tick->isChecked() != quarter)
            tick->click();
        window->findChild<QLineEdit *>(QStringLiteral("sal"))->setText(QStringLiteral("1401"));
    }

    ~Backend()
    {
        window.reset();
        closeBenchDatabase(dm.get(), schema);
    }
};

std::unique_ptr<Backend> g_sqlite, g_pg;

Backend *backend(benchmark::State &state, bool pg)
{
    Backend *b = pg ? g_pg.get() : g_sqlite.get();
    if (!b)
        state.SkipWithError("VARNOSET_TEST_PG is not set");
    return b;
}

// Times `work` per iteration with its own peak memory; records the last iteration's figures.
template <class F> void measure(benchmark::State &state, const QString &name, qint64 rows, F &&work)
{
    Result r;
    for (auto _ : state) {
        resetPeakRss();
        const double before = currentRssMb();
        QElapsedTimer t;
        t.start();
        if (!work()) {
            state.SkipWithError("the command did not complete");
            return;
        }
        r.ms = t.nsecsElapsed() / 1e6;
        state.SetIterationTime(r.ms / 1000);
        r.peakRiseMb = peakRssSinceResetMb() - before;
    }
    r.rows = rows;
    state.counters["rows"] = double(rows);
    state.counters["peak_rise_MB"] = r.peakRiseMb;
    g_results[name] = r;
}

QString dbName(bool pg) { return pg ? QStringLiteral("pg") : QStringLiteral("sqlite"); }

qint64 scratchRows(Backend *b) { return b->dm->scalar(QStringLiteral("select count(*) from ghir_rep2")).toLongLong(); }

// The engine's copy of the web report's rows: the program's statement, run through the data module.
void BM_CopyEngine(benchmark::State &state, bool pg)
{
    Backend *b = backend(state, pg);
    if (!b)
        return;
    const ScratchFill f = ProvinceProgressFill(QString(), {});
    const QString copy = QStringLiteral("insert into %1 (%2) select %3 %4 order by %5")
                             .arg(f.table, f.columns.join(QLatin1Char(',')), f.values.join(QLatin1Char(',')), f.from, f.order);
    measure(state, "copy/engine/" + dbName(pg), kRows, [&] {
        b->dm->writeTransaction(QStringLiteral("ghir_rep2"), [&] {
            b->dm->exec(QStringLiteral("delete from ghir_rep2"));
            b->dm->exec(copy);
        });
        return scratchRows(b) == kRows;
    });
}

// The program's copy: rows read, built and written in batches, nothing listed.
void BM_CopyProgram(benchmark::State &state, bool pg)
{
    Backend *b = backend(state, pg);
    if (!b)
        return;
    measure(state, "copy/program/" + dbName(pg), kRows, [&] {
        return ReplaceScratchRows(b->ctx, ProvinceProgressFill(QString(), {})) && scratchRows(b) == kRows;
    });
}

// A command of the window through its menu item, over all or a quarter of the allocations.
void BM_Command(benchmark::State &state, bool pg, const char *item, bool quarter)
{
    Backend *b = backend(state, pg);
    if (!b)
        return;
    b->setQuarter(quarter);
    const bool grid = qstrcmp(item, "N26") == 0;
    // The province user for the province's commands; the general workbook of every county's
    // rows as the administrator, the grid loaded before the export is timed.
    b->ctx.CurrentUser.level = grid ? QStringLiteral("admin") : QStringLiteral("ostan");
    if (grid)
        b->window->search();
    const qint64 rows = quarter ? kRows / 4 : kRows;
    const QString file = b->dir.filePath(QStringLiteral("rep.htm"));
    measure(state, QStringLiteral("%1/%2/%3").arg(QLatin1String(item), dbName(pg)).arg(rows), rows, [&] {
        b->ui.clear();
        b->ui.saveFiles << file;
        b->window->findChild<QAction *>(QLatin1String(item))->trigger();
        const bool ok = b->ui.messages.isEmpty() && b->ui.openedFiles.size() == 1;
        for (const QString &f : b->ui.openedFiles)
            QFile::remove(f);
        return ok;
    });
    if (grid)
        b->dm->ADOQ_ghir->close();
}

// ---- the C reference --------------------------------------------------------------------------

// A cell as the reference reads it: numbers as numbers, other values as their text as stored.
QByteArray referenceCell(const QVariant &v)
{
    if (v.isNull())
        return "b";
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return "n" + DataSet::valueText(v).toUtf8();
    default: {
        QString t = DataSet::valueText(v);
        t.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return t.isEmpty() ? QByteArray("b") : "s" + t.toUtf8();
    }
    }
}

void writeReferenceRow(QFile &out, const QVariantList &row)
{
    QByteArray line;
    for (int i = 0; i < row.size(); ++i)
        line += (i ? "\t" : "") + referenceCell(row.at(i));
    out.write(line + '\n');
}

// The cells of N27 (the fill's rows) or of N26 (the grid's rows under their titles).
QString referenceCells(Backend *b, bool grid)
{
    const QString path = b->dir.filePath(grid ? QStringLiteral("n26.tsv") : QStringLiteral("n27.tsv"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    b->setQuarter(false);
    if (grid) {
        b->ctx.CurrentUser.level = QStringLiteral("admin");
        b->window->search();
        DataSet *ds = b->dm->ADOQ_ghir;
        QVariantList row;
        for (const QString &f : ds->fieldNames())
            row << f;
        writeReferenceRow(out, row);
        for (int r = 0; r < ds->recordCount(); ++r) {
            row.clear();
            for (const QString &f : ds->fieldNames())
                row << ds->value(f, r);
            writeReferenceRow(out, row);
        }
        ds->close();
    } else {
        writeReferenceRow(out, {"city", "rosta", "peymankar", "ghir_tahatori", "moarefi_no", "ghir_naft", "tehran"});
        ScratchFill fill = ProvinceProgressFill(QString(), {});
        fill.written = [&](const QVariantList &row) { writeReferenceRow(out, row); };
        ReplaceScratchRows(b->ctx, fill);
    }
    return path;
}

void BM_Reference(benchmark::State &state, bool grid)
{
    Backend *b = g_sqlite.get();
    const QString cells = referenceCells(b, grid);
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/xlsx_reference");
    const QString xlsx = b->dir.filePath(QStringLiteral("reference.xlsx"));
    Result r;
    for (auto _ : state) {
        QProcess p;
        p.start(program, {cells, xlsx, QDir::tempPath()});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError("xlsx_reference failed");
            return;
        }
        const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
        r.ms = out.value(0).toDouble() * 1000;
        r.peakRiseMb = out.value(1).toDouble() / 1024;
        state.SetIterationTime(r.ms / 1000);
        QFile::remove(xlsx);
    }
    r.rows = kRows;
    state.counters["rows"] = double(kRows);
    state.counters["peak_MB"] = r.peakRiseMb;
    g_results[grid ? QStringLiteral("N26/c-reference") : QStringLiteral("N27/c-reference")] = r;
}

void registerAll()
{
    auto reg = [](const std::string &name, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name.c_str(), fn, args...)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
    };
    for (bool pg : {false, true}) {
        const std::string db = pg ? "pg" : "sqlite";
        reg("Copy/engine/" + db, BM_CopyEngine, pg);
        reg("Copy/program/" + db, BM_CopyProgram, pg);
        for (const char *item : {"N19", "N27", "N26"})
            for (bool quarter : {true, false})
                reg(std::string(item) + "/" + db + (quarter ? "/25000" : "/100000"), BM_Command, pg, item, quarter);
    }
    reg("Reference/N27", BM_Reference, false);
    reg("Reference/N26", BM_Reference, true);
}

void summary()
{
    auto get = [](const QString &k) { return g_results.value(k); };
    std::fprintf(stderr, "\n%-28s %10s %14s\n", "", "ms", "peak rise MB");
    for (auto i = g_results.constBegin(); i != g_results.constEnd(); ++i)
        std::fprintf(stderr, "%-28s %10.0f %14.1f\n", qPrintable(i.key()), i->ms, i->peakRiseMb);
    for (const QString &db : {QStringLiteral("sqlite"), QStringLiteral("pg")}) {
        const Result engine = get("copy/engine/" + db), program = get("copy/program/" + db);
        if (engine.ms > 0)
            std::fprintf(stderr, "%s: scratch copy %.2fx the engine's\n", qPrintable(db), program.ms / engine.ms);
        const Result n26 = get("N26/" + db + "/100000"), c26 = get("N26/c-reference");
        if (c26.ms > 0 && n26.ms > 0)
            std::fprintf(stderr, "%s: N26 workbook %.2fx libxlsxwriter alone\n", qPrintable(db), n26.ms / c26.ms);
        const Result n27 = get("N27/" + db + "/100000"), c27 = get("N27/c-reference");
        if (c27.ms > 0 && n27.ms > 0)
            std::fprintf(stderr, "%s: N27 %.2fx (engine copy + libxlsxwriter alone); its workbook part %.2fx\n",
                         qPrintable(db), n27.ms / (engine.ms + c27.ms), (n27.ms - program.ms) / c27.ms);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int rc = runBackendBenchmarks(argc, argv, g_sqlite, g_pg, "100,000 allocations", registerAll);
    summary();
    return rc;
}
