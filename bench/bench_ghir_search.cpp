// The bitumen search over 100,000 allocations, on SQLite and on PostgreSQL (VARNOSET_TEST_PG;
// skipped when unset), as the administrator, as a county user and for one month of
// registrations: through the window (time until the grid holds its first rows, and
// until the count is shown too) beside the same two statements run directly with QSqlQuery.
// Counters: first_rows_ms, rows, peak_rss_MB (the process's high-water mark so far) and
// rss_MB (resident now).
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/setup.h"
#include "shared/edits.h"
#include "shared/scriptedui.h"

#include "bench_support.h"
#include "ghir_bench_data.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kRows = 100000;

double rssMb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString county(int i) { return benchCounty(i); }

// One database with 100,000 allocations, the window over it and two users: the
// administrator (every county) and a county user with three counties.
struct Backend {
    QTemporaryDir dir;
    QString schema;
    std::unique_ptr<Tdm> dm;
    ScriptedUi ui;
    AppContext ctx;
    std::unique_ptr<Tghir_src> window;
    TCurrentUser admin, cityUser;

    bool open(bool pg)
    {
        if (!openAllocationsDatabase(dm, ctx, ui, dir, pg, &schema, kRows))
            return false;
        const QVariant adminId = dm->scalar(QStringLiteral("select id from karbaran where karbar='admin'"));
        admin = {adminId.toString(), QStringLiteral("admin"), QStringLiteral("admin")};
        dm->exec(QStringLiteral("insert into karbaran (karbar, pass, name, level, active, version) values (?,?,?,?,?,2)"),
                 {QStringLiteral("2280000029"), QString(), QStringLiteral("city"), QStringLiteral("city"), true});
        const QString cityId = dm->scalar(QStringLiteral("select id from karbaran where karbar='2280000029'")).toString();
        for (int c : {3, 11, 27})
            dm->exec(QStringLiteral("insert into dastrasi2 (user_id, cmt) values (?,?)"), {cityId.toLongLong(), county(c)});
        cityUser = {cityId, QStringLiteral("city"), QStringLiteral("2280000029")};
        ctx.CurrentUser = admin;
        window = std::make_unique<Tghir_src>(ctx);
        window->resize(1200, 700);
        window->show();
        QCoreApplication::processEvents();
        return true;
    }

    ~Backend()
    {
        window.reset();
        closeBenchDatabase(dm.get(), schema);
    }
};

std::unique_ptr<Backend> g_sqlite, g_pg;

Backend *backend(bool pg) { return pg ? g_pg.get() : g_sqlite.get(); }

enum Scenario { EveryAllocation, CountyUser, OneMonth };

// The signed-in user and the window's filters of a scenario: the administrator listing
// everything, the county user listing three counties, the administrator with one month of
// registration dates.
void prepare(Backend *b, Scenario s)
{
    b->ctx.CurrentUser = s == CountyUser ? b->cityUser : b->admin;
    auto *dates = b->window->findChild<QCheckBox *>(QStringLiteral("CheckBox4"));
    if (dates->isChecked() != (s == OneMonth))
        dates->click();
    if (s == OneMonth) {
        b->window->findChild<TDateEdit *>(QStringLiteral("reg_dat1"))->setText(QStringLiteral("1402/03/01"));
        b->window->findChild<TDateEdit *>(QStringLiteral("reg_dat2"))->setText(QStringLiteral("1402/03/31"));
    }
}

void setCounters(benchmark::State &state, double firstRowsMs, qint64 rows)
{
    state.counters["first_rows_ms"] = benchmark::Counter(firstRowsMs, benchmark::Counter::kAvgIterations);
    state.counters["rows"] = double(rows);
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["rss_MB"] = rssMb();
}

// The window's search: listing (first_rows_ms: the grid's model holds the rows) then the
// count; the time is the whole search with the grid drawn once.
void BM_WindowSearch(benchmark::State &state, bool pg, Scenario scenario)
{
    Backend *b = backend(pg);
    if (!b) {
        state.SkipWithError("VARNOSET_TEST_PG is not set");
        return;
    }
    prepare(b, scenario);
    DataSet *ds = b->dm->ADOQ_ghir;
    auto *grid = b->window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QElapsedTimer timer;
    qint64 firstRowsNs = 0;
    // The listing's reset is the last one of a search (the count runs on another query).
    const QMetaObject::Connection c = QObject::connect(ds, &QAbstractItemModel::modelReset, [&] {
        firstRowsNs = timer.nsecsElapsed();
    });
    double firstTotal = 0;
    for (auto _ : state) {
        firstRowsNs = 0;
        timer.start();
        b->window->search();
        grid->viewport()->repaint(); // the rows drawn, as the event loop does after the search
        const qint64 total = timer.nsecsElapsed();
        state.SetIterationTime(total / 1e9);
        firstTotal += firstRowsNs / 1e6;
    }
    QObject::disconnect(c);
    if (!b->ui.messages.isEmpty())
        state.SkipWithError(b->ui.messages.last().toUtf8().constData());
    setCounters(state, firstTotal, ds->recordCount());
}

// The same two statements straight on the database, every value of every row read.
void BM_DirectSearch(benchmark::State &state, bool pg, Scenario scenario)
{
    Backend *b = backend(pg);
    if (!b) {
        state.SkipWithError("VARNOSET_TEST_PG is not set");
        return;
    }
    prepare(b, scenario);
    QVariantList binds, countBinds;
    const QString listing = b->window->listingSql(binds);
    const QString count = b->window->countSql(countBinds);
    double firstTotal = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QSqlQuery q(b->dm->ADOConnection1());
        q.setForwardOnly(true);
        q.prepare(listing);
        for (int i = 0; i < binds.size(); ++i)
            q.bindValue(i, binds.at(i));
        if (!q.exec()) {
            state.SkipWithError("listing failed");
            return;
        }
        const int n = q.record().count();
        rows = 0;
        while (q.next()) {
            if (rows == 0)
                firstTotal += timer.nsecsElapsed() / 1e6;
            for (int i = 0; i < n; ++i)
                benchmark::DoNotOptimize(q.value(i));
            ++rows;
        }
        QSqlQuery c(b->dm->ADOConnection1());
        c.prepare(count);
        for (int i = 0; i < countBinds.size(); ++i)
            c.bindValue(i, countBinds.at(i));
        if (!c.exec() || !c.next()) {
            state.SkipWithError("count failed");
            return;
        }
        benchmark::DoNotOptimize(c.value(0));
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    setCounters(state, firstTotal, rows);
}

void registerAll()
{
    for (bool pg : {false, true}) {
        const std::string db = pg ? "pg" : "sqlite";
        for (Scenario s : {EveryAllocation, CountyUser, OneMonth}) {
            const std::string what = s == EveryAllocation ? "admin_all" : s == CountyUser ? "county_user" : "admin_one_month";
            const int iterations = s == EveryAllocation ? 3 : 10;
            benchmark::RegisterBenchmark(("DirectSearch/" + db + "/" + what).c_str(), BM_DirectSearch, pg, s)
                ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
            benchmark::RegisterBenchmark(("WindowSearch/" + db + "/" + what).c_str(), BM_WindowSearch, pg, s)
                ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    return runBackendBenchmarks(argc, argv, g_sqlite, g_pg, "100,000 allocations", registerAll);
}
