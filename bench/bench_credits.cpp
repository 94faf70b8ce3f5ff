// The credit register's searches on SQLite and on PostgreSQL (VARNOSET_TEST_PG; skipped when
// unset): the project search over 100,000 projects (the listing, counted by its rows, and the
// first project's four lists) and the credit search over 300,000 credits (count and sums, then
// the listing), everything listed and one county or one year; through the window beside the same
// statements run directly through the engine's own interface (SQLite's C interface, libpq) on
// the same connection, every value of every row read.
// Counters: rows, peak_rss_MB (the process's high-water mark so far).
#include "app/forms.h"
#include "core/connection.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "core/fetch.h"
#include "db/setup.h"
#include "registers/etebarat_src_u.h"
#include "ui/scriptedui.h"

#include "bench_support.h"
#include "engine_reads.h"
#include "credit_bench_data.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <libpq-fe.h>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

QString county(int i) { return creditBenchCounty(i); }

struct Backend {
    QTemporaryDir dir;
    QString schema;
    std::unique_ptr<Tdm> dm;
    ScriptedUi ui;
    AppContext ctx;
    Tetebarat_src *window = nullptr;

    bool open(bool pg)
    {
        dm = std::make_unique<Tdm>();
        ctx.dm = dm.get();
        ctx.ui = &ui;
        if (!openBenchDatabase(*dm, dir, pg, &schema))
            return false;
        fillBenchCredits(*dm);
        ctx.CurrentUser = {dm->scalar(QStringLiteral("select id from karbaran where karbar='admin'")).toString(),
                           QStringLiteral("admin"), QStringLiteral("admin")};
        createForms(ctx);
        window = ctx.form<Tetebarat_src>();
        window->resize(1200, 700);
        window->show();
        QCoreApplication::processEvents();
        return true;
    }

    ~Backend()
    {
        for (QWidget *w : ctx.forms())
            delete w;
        closeBenchDatabase(dm.get(), schema);
    }
};

std::unique_ptr<Backend> g_sqlite, g_pg;

Backend *backend(bool pg) { return pg ? g_pg.get() : g_sqlite.get(); }

// Everything, or one county (projects) / one year (credits).
void prepare(Backend *b, bool narrow)
{
    const std::pair<const char *, const char *> filters[] = {{"CheckBox4", "city"}, {"CheckBox3", "sal"}};
    for (const auto &[check, box] : filters) {
        auto *c = b->window->findChild<QCheckBox *>(QLatin1String(check));
        if (c->isChecked() != narrow)
            c->click();
    }
    b->window->findChild<QLineEdit *>(QStringLiteral("city"))->setText(county(7));
    b->window->findChild<QLineEdit *>(QStringLiteral("sal"))->setText(QStringLiteral("1401"));
}

void BM_Window(benchmark::State &state, bool pg, bool credits, bool narrow)
{
    Backend *b = backend(pg);
    if (!b) {
        state.SkipWithError("VARNOSET_TEST_PG is not set");
        return;
    }
    prepare(b, narrow);
    DataSet *ds = credits ? b->dm->ADOQ_etb : b->dm->ADOQ_proj;
    auto *grid = b->window->findChild<QTableView *>(QLatin1String(credits ? "DBGrid1" : "DBGrid2"));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        credits ? b->window->searchCredits() : b->window->searchProjects();
        grid->viewport()->repaint();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    state.counters["rows"] = double(ds->recordCount());
    state.counters["peak_rss_MB"] = peakRssMb();
}

void BM_Direct(benchmark::State &state, bool pg, bool credits, bool narrow)
{
    Backend *b = backend(pg);
    if (!b) {
        state.SkipWithError("VARNOSET_TEST_PG is not set");
        return;
    }
    prepare(b, narrow);
    QVariantList binds;
    const QString where = credits ? b->window->creditWhere(binds) : b->window->projectWhere(binds);
    qint64 rows = 0;
    QVariant firstId;
    const QSqlDatabase db = b->dm->ADOConnection1();
    // One statement through the engine's own interface on the benchmark's connection (as the
    // window's listings read rows), every value of every row read; the rows listed.
    auto run = [&](const QString &sql, const QVariantList &values) -> qint64 {
        QVariant *first = !credits && firstId.isNull() ? &firstId : nullptr;
        return pg ? readAllPg(dbconn::pgHandle(db), sql, values, first) : readAllSqlite(dbconn::sqliteHandle(db), sql, values, first);
    };
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (credits) {
            // The count and sums, then the listing.
            run(QStringLiteral("select count(*) as c,sum(mablagh) as m,sum(dion) as d ") + where, binds);
            rows = run(QStringLiteral("select * ") + where, binds);
        } else {
            // The listing (the window counts its rows), then the first project's four lists.
            rows = run(QStringLiteral("select * ") + where, binds);
            for (const char *t : {"etebarat", "amaliyat", "pish", "takhsis"})
                run(QStringLiteral("select * from %1 where prj_id=?").arg(QLatin1String(t)), {firstId});
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    state.counters["rows"] = double(rows);
    state.counters["peak_rss_MB"] = peakRssMb();
}

void registerAll()
{
    for (bool pg : {false, true}) {
        const std::string db = pg ? "pg" : "sqlite";
        for (bool credits : {false, true}) {
            for (bool narrow : {false, true}) {
                const std::string what = std::string(credits ? "credits" : "projects") + (narrow ? "/one" : "/all");
                const int iterations = narrow ? 10 : 3;
                benchmark::RegisterBenchmark(("Direct/" + db + "/" + what).c_str(), BM_Direct, pg, credits, narrow)
                    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
                benchmark::RegisterBenchmark(("Window/" + db + "/" + what).c_str(), BM_Window, pg, credits, narrow)
                    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    return runBackendBenchmarks(argc, argv, g_sqlite, g_pg, "100,000 projects, 300,000 credits", registerAll);
}
