// A 1,000-row detail report (a guarantee letter's table: row number, county, village, tonnage,
// price, a fixed factor and the amount, with a two-level heading; 30 pages) written to PDF: time
// and peak memory. BM_Paginate measures the page layout alone, BM_Pdf1000 the whole PDF, and
// BM_PdfStraight the reference: the same cells drawn straight with QPainter on a QPdfWriter.
// The summary gives the ratio of the PDF to its reference.
#include "report/filled_report.h"
#include "report/printing.h"
#include "report/renderer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include "bench_support.h"
#include "pdf_straight.h"
#include "report_bench_data.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

using report_bench::filled;
using report_bench::kRows;

void BM_Paginate1000(benchmark::State &state)
{
    const report::FilledReport r = filled();
    const double before = peakRssMb();
    int pages = 0;
    for (auto _ : state) {
        report::Renderer renderer(r);
        pages = renderer.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["rows"] = kRows;
    state.counters["pages"] = pages;
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["peak_rise_MB"] = peakRssMb() - before;
}

double g_pdfMs = 0, g_straightMs = 0;

void BM_Pdf1000(benchmark::State &state)
{
    const report::FilledReport r = filled();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.pdf"));
    const double before = peakRssMb();
    QElapsedTimer t;
    t.start();
    for (auto _ : state) {
        if (!report::writePdf(r, path))
            state.SkipWithError("the PDF was not written");
    }
    g_pdfMs = t.nsecsElapsed() / 1e6 / state.iterations();
    state.counters["rows"] = kRows;
    state.counters["pages"] = report::Renderer(r).pageCount();
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["peak_rise_MB"] = peakRssMb() - before;
}

void BM_PdfStraight(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("straight.pdf"));
    int pages = 0;
    QElapsedTimer t;
    t.start();
    for (auto _ : state)
        pages = pdf_straight::write(path);
    g_straightMs = t.nsecsElapsed() / 1e6 / state.iterations();
    state.counters["rows"] = kRows;
    state.counters["pages"] = pages;
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(BM_Paginate1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pdf1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PdfStraight)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_pdfMs > 0 && g_straightMs > 0)
        std::printf("\nPDF of %d rows: %.0f ms, straight QPainter %.0f ms: %.2fx\n", kRows, g_pdfMs, g_straightMs,
                    g_pdfMs / g_straightMs);
    return 0;
}
