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
        std::vector<QByteArray> texts;
        for (const QVariant &v : values)
            texts.push_back(v.isNull() ? QByteArray() : v.toString().toUtf8());
        qint64 r = 0;
        if (pg) {
            std::vector<const char *> params;
            for (const QByteArray &t : texts)
                params.push_back(t.isNull() ? nullptr : t.constData());
            PGresult *res = PQexecParams(dbconn::pgHandle(db), dbfetch::pgPlaceholders(sql).constData(), int(params.size()),
                                         nullptr, params.data(), nullptr, nullptr, 0);
            if (PQresultStatus(res) != PGRES_TUPLES_OK) {
                const QString error = QString::fromUtf8(PQresultErrorMessage(res));
                PQclear(res);
                throw DbError(error);
            }
            const int n = PQnfields(res);
            r = PQntuples(res);
            if (r > 0 && !credits && firstId.isNull())
                firstId = QByteArray(PQgetvalue(res, 0, PQfnumber(res, "id"))).toLongLong();
            for (int row = 0; row < r; ++row)
                for (int i = 0; i < n; ++i) {
                    benchmark::DoNotOptimize(PQgetvalue(res, row, i));
                    benchmark::DoNotOptimize(PQgetlength(res, row, i));
                }
            PQclear(res);
            return r;
        }
        sqlite3 *h = dbconn::sqliteHandle(db);
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
        for (int i = 0; i < int(texts.size()); ++i) {
            if (texts.at(i).isNull())
                sqlite3_bind_null(st, i + 1);
            else
                sqlite3_bind_text(st, i + 1, texts.at(i).constData(), int(texts.at(i).size()), SQLITE_STATIC);
        }
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER:
                    benchmark::DoNotOptimize(sqlite3_column_int64(st, i));
                    break;
                case SQLITE_FLOAT:
                    benchmark::DoNotOptimize(sqlite3_column_double(st, i));
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    benchmark::DoNotOptimize(sqlite3_column_text(st, i));
                    benchmark::DoNotOptimize(sqlite3_column_bytes(st, i));
                }
            }
            if (r == 0 && !credits && firstId.isNull())
                for (int i = 0; i < n; ++i)
                    if (qstrcmp(sqlite3_column_name(st, i), "id") == 0)
                        firstId = sqlite3_column_int64(st, i);
            ++r;
        }
        sqlite3_finalize(st);
        return r;
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
