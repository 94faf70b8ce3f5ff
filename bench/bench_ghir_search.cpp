// The bitumen search over 10,000, 100,000 and 1,000,000 allocations (VARNOSET_BENCH_SIZES, a
// comma-separated list, chooses others), on SQLite and on PostgreSQL (VARNOSET_TEST_PG; skipped
// when unset), as the administrator, as a county user and for one month of registrations:
// through the window (the listing, counted by its rows, the grid drawn once) beside the engine
// itself running the same listing in this process (SQLite's C interface with the same collation;
// libpq), every value of every row read. A summary at the end gives, per case, the ratio of the
// two, the time until the grid first holds rows, and the bytes held per listed row.
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "core/fetch.h"
#include "shared/persian.h"
#include "db/setup.h"
#include "shared/edits.h"
#include "ui/scriptedui.h"

#include "bench_support.h"
#include "engine_reads.h"
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
#include <libpq-fe.h>
#include <map>
#include <sqlite3.h>
#include <memory>

namespace {

QString county(int i) { return benchCounty(i); }

// One database with 100,000 allocations, the window over it and two users: the
// administrator (every county) and a county user with three counties.
struct Backend {
    int rows = 0;
    QString connInfo; // PostgreSQL only
    QTemporaryDir dir;
    QString schema;
    std::unique_ptr<Tdm> dm;
    ScriptedUi ui;
    AppContext ctx;
    std::unique_ptr<Tghir_src> window;
    TCurrentUser admin, cityUser;

    bool open(bool pg, int size)
    {
        rows = size;
        if (!openAllocationsDatabase(dm, ctx, ui, dir, pg, &schema, rows))
            return false;
        if (pg)
            connInfo = qEnvironmentVariable("VARNOSET_TEST_PG");
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

std::map<std::pair<bool, int>, std::unique_ptr<Backend>> g_backends;

Backend *backend(bool pg, int size)
{
    auto it = g_backends.find({pg, size});
    return it == g_backends.end() ? nullptr : it->second.get();
}

struct Figures {
    double windowMs = 0, paintMs = 0, engineMs = 0, firstRowsMs = 0, bytesPerRow = 0;
    qint64 rows = 0;
};
std::map<std::string, Figures> g_figures;

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

std::string caseName(bool pg, int size, Scenario s)
{
    const char *what = s == EveryAllocation ? "admin_all" : s == CountyUser ? "county_user" : "admin_one_month";
    return std::string(pg ? "pg" : "sqlite") + "/" + std::to_string(size) + "/" + what;
}

// The window's search: listing (first_rows_ms: the grid's model first holds rows) and count;
// the time is the search until its rows are held and counted; drawing the grid once afterwards
// is timed apart (paint_ms), since the engine draws nothing.
void BM_WindowSearch(benchmark::State &state, bool pg, int size, Scenario scenario)
{
    Backend *b = backend(pg, size);
    if (!b) {
        state.SkipWithError("no database for this case");
        return;
    }
    prepare(b, scenario);
    DataSet *ds = b->dm->ADOQ_ghir;
    auto *grid = b->window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QElapsedTimer timer;
    qint64 firstRowsNs = -1;
    auto seen = [&] {
        if (firstRowsNs < 0 && ds->rowCount() > 0)
            firstRowsNs = timer.nsecsElapsed();
    };
    const QMetaObject::Connection c1 = QObject::connect(ds, &QAbstractItemModel::modelReset, seen);
    const QMetaObject::Connection c2 = QObject::connect(ds, &QAbstractItemModel::rowsInserted, seen);
    double firstTotal = 0, total = 0, paint = 0;
    for (auto _ : state) {
        firstRowsNs = -1;
        timer.start();
        b->window->search();
        const qint64 ns = timer.nsecsElapsed();
        grid->viewport()->repaint(); // the rows drawn, as the event loop does after the search
        paint += (timer.nsecsElapsed() - ns) / 1e6;
        state.SetIterationTime(ns / 1e9);
        total += ns / 1e6;
        firstTotal += (firstRowsNs < 0 ? ns : firstRowsNs) / 1e6;
    }
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    if (!b->ui.messages.isEmpty())
        state.SkipWithError(b->ui.messages.last().toUtf8().constData());
    Figures &f = g_figures[caseName(pg, size, scenario)];
    f.windowMs = total / state.iterations();
    f.paintMs = paint / state.iterations();
    f.firstRowsMs = firstTotal / state.iterations();
    f.rows = ds->recordCount();
    f.bytesPerRow = f.rows ? double(ds->bytesHeld()) / f.rows : 0;
    state.counters["first_rows_ms"] = f.firstRowsMs;
    state.counters["rows"] = double(f.rows);
    state.counters["bytes_per_row"] = f.bytesPerRow;
    state.counters["peak_rss_MB"] = peakRssMb();
}

int sqliteCollation(void *, int la, const void *a, int lb, const void *b)
{
    return persianCompareUtf8(static_cast<const char *>(a), la, static_cast<const char *>(b), lb);
}

// The listing through SQLite's own interface on a connection of its own.
qint64 engineSqlite(Backend *b, const QString &listing, const QVariantList &binds)
{
    static std::map<Backend *, sqlite3 *> handles;
    sqlite3 *&h = handles[b];
    if (!h) {
        const QByteArray path = b->dir.filePath(QStringLiteral("bench.sqlite")).toUtf8();
        sqlite3_open_v2(path.constData(), &h, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_create_collation(h, "fa", SQLITE_UTF8, nullptr, sqliteCollation);
    }
    return readAllSqlite(h, listing, binds);
}

// The listing through libpq on a connection of its own, its result whole.
qint64 enginePg(Backend *b, const QString &listing, const QVariantList &binds)
{
    static std::map<Backend *, PGconn *> conns;
    PGconn *&c = conns[b];
    if (!c) {
        const QByteArray info = (b->connInfo + QStringLiteral(" options=-csearch_path=") + b->schema).toUtf8();
        c = PQconnectdb(info.constData());
        if (PQstatus(c) != CONNECTION_OK)
            throw DbError(QString::fromUtf8(PQerrorMessage(c)));
    }
    return readAllPg(c, listing, binds);
}

void BM_EngineSearch(benchmark::State &state, bool pg, int size, Scenario scenario)
{
    Backend *b = backend(pg, size);
    if (!b) {
        state.SkipWithError("no database for this case");
        return;
    }
    prepare(b, scenario);
    QVariantList binds;
    const QString listing = b->window->listingSql(binds);
    qint64 rows = 0;
    double total = 0;
    try {
        for (auto _ : state) {
            QElapsedTimer timer;
            timer.start();
            rows = pg ? enginePg(b, listing, binds) : engineSqlite(b, listing, binds);
            const qint64 ns = timer.nsecsElapsed();
            state.SetIterationTime(ns / 1e9);
            total += ns / 1e6;
        }
    } catch (const AppError &e) {
        state.SkipWithError(e.message().toUtf8().constData());
        return;
    }
    g_figures[caseName(pg, size, scenario)].engineMs = total / state.iterations();
    state.counters["rows"] = double(rows);
}

QList<int> sizes()
{
    QList<int> out;
    const QString env = qEnvironmentVariable("VARNOSET_BENCH_SIZES", QStringLiteral("10000,100000,1000000"));
    for (const QString &part : env.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const int n = part.trimmed().toInt(); n > 0)
            out << n;
    return out;
}

void registerAll()
{
    for (const auto &[key, b] : g_backends) {
        const auto [pg, size] = key;
        for (Scenario s : {EveryAllocation, CountyUser, OneMonth}) {
            const int iterations = s == EveryAllocation ? (size >= 1000000 ? 2 : 3) : 10;
            const std::string name = caseName(pg, size, s);
            benchmark::RegisterBenchmark(("EngineSearch/" + name).c_str(), BM_EngineSearch, pg, size, s)
                ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
            benchmark::RegisterBenchmark(("WindowSearch/" + name).c_str(), BM_WindowSearch, pg, size, s)
                ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
        }
    }
}

void printSummary()
{
    std::printf("\n%-32s %9s %9s %9s %6s %13s %10s %10s\n", "case", "rows", "window_ms", "engine_ms", "ratio",
                "first_rows_ms", "paint_ms", "bytes/row");
    for (const auto &[name, f] : g_figures)
        std::printf("%-32s %9lld %9.1f %9.1f %6.2f %13.1f %10.1f %10.0f\n", name.c_str(), qlonglong(f.rows),
                    f.windowMs, f.engineMs, f.engineMs > 0 ? f.windowMs / f.engineMs : 0.0, f.firstRowsMs,
                    f.paintMs, f.bytesPerRow);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        for (bool pg : {false, true}) {
            for (int size : sizes()) {
                QElapsedTimer t;
                t.start();
                auto b = std::make_unique<Backend>();
                if (!b->open(pg, size))
                    break;
                std::fprintf(stderr, "%s: %d allocations in %.1f s\n", pg ? "PostgreSQL" : "SQLite", size,
                             t.elapsed() / 1000.0);
                g_backends[{pg, size}] = std::move(b);
            }
        }
    } catch (const AppError &e) {
        std::fprintf(stderr, "set-up failed: %s\n", qPrintable(e.message()));
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_backends.clear();
    return 0;
}
