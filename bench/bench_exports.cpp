// Export of 100,000 rows to .xlsx and to HTML: time and peak memory.
// Run one at a time to see each export's own peak:
//   bench_exports --benchmark_filter=Excel   /   --benchmark_filter=Html
#include "support/fixture.h"

#include "shared/exports.h"

#include <QApplication>
#include <QFile>
#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kRows = 100000;

// One database with the rows, opened once for every benchmark of the run.
struct Data {
    Fixture f;
    DataSet *ds = nullptr;
    double rssBeforeMb = 0;
    Data()
    {
        const QString yeh = QString::fromUtf8("\u06CC");
        f.dm.transaction([&] {
            for (int i = 0; i < kRows; ++i)
                f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, bakhsh, dehestan, rosta, cod, "
                                         "khanevar, jamiyat, zarib, x, y) values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                          {QStringLiteral("سمنان"), QStringLiteral("شاهرود %1").arg(i % 40),
                           QStringLiteral("بسطام"), QStringLiteral("بخش مرکزی"), QStringLiteral("دهستان ") + yeh,
                           QStringLiteral("روستا <%1> & co").arg(i), QString::number(1000000 + i), i % 500,
                           (i * 7) % 5000, 1.25 + (i % 10) * 0.1, QStringLiteral("54.1234"), QStringLiteral("36.4321")});
        });
        ds = f.dm.ADOQuery1;
        ds->open(QStringLiteral("select * from abadiha order by id"));
        rssBeforeMb = peakRssMb();
    }
};

Data &data()
{
    static Data d;
    return d;
}

void report(benchmark::State &state, double before, const QString &file)
{
    state.counters["rows"] = kRows;
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["peak_rise_MB"] = peakRssMb() - before;
    state.counters["file_MB"] = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
}

void BM_ExcelExport100k(benchmark::State &state)
{
    Data &d = data();
    const QHash<QString, QString> titles = {{QStringLiteral("ostan"), QStringLiteral("استان")},
                                            {QStringLiteral("rosta"), QStringLiteral("روستا")}};
    QString path;
    for (auto _ : state) {
        path = ExportToExcel(d.f.ctx, d.ds, titles);
        if (path.isEmpty())
            state.SkipWithError("export failed");
        state.PauseTiming();
        report(state, d.rssBeforeMb, path);
        QFile::remove(path);
        state.ResumeTiming();
    }
}

void BM_HtmlExport100k(benchmark::State &state)
{
    Data &d = data();
    QList<HtmlColumn> columns;
    for (const QString &f : d.ds->fieldNames())
        columns << HtmlColumn(f, f);
    const QString file = TempExportPath(QStringLiteral("Tobrenhal.htm"));
    for (auto _ : state) {
        if (!ExportHtmlTable(d.f.ctx, file, QStringLiteral("bench"), d.ds, columns))
            state.SkipWithError("export failed");
        state.PauseTiming();
        report(state, d.rssBeforeMb, file);
        state.ResumeTiming();
    }
    QFile::remove(file);
}

} // namespace

BENCHMARK(BM_ExcelExport100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HtmlExport100k)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    data(); // the rows are written before any export is measured
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
