// The contractor name push over a large allocation table: 40,000 allocations of 800
// contractors, a quarter with a typed name (-1). Run with VARNOSET_TEST_BACKEND=pg and
// VARNOSET_TEST_PG set to measure PostgreSQL; SQLite otherwise.
#include "support/fixture.h"

#include "bitumen/peymankar_ins_u.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

void fill(Fixture &f, int contractors, int allocations)
{
    f.dm.transaction([&] {
        for (int i = 0; i < contractors; ++i)
            f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, phone) values (?, ?)"),
                      {QStringLiteral("پيمانکار %1").arg(i), QString::number(i)});
        for (int i = 0; i < allocations; ++i) {
            const int c = i % contractors;
            const bool typed = i % 4 == 0;
            f.dm.exec(QStringLiteral("insert into ghir (ostan, city, rosta, peymankar, peymankar_id) values (?,?,?,?,?)"),
                      {QStringLiteral("تهران"), QStringLiteral("شهرستان %1").arg(i % 30),
                       QStringLiteral("روستا %1").arg(i), QStringLiteral("نام قديمي %1").arg(c),
                       typed ? -1 : c + 1});
        }
    });
}

void BM_NamePush(benchmark::State &state)
{
    Fixture f(true);
    fill(f, 800, 40000);
    auto *w = f.form<Tpeymankar_ins>();
    auto *refresh = w->findChild<QPushButton *>(QStringLiteral("refresh_btn"));
    bool first = true;
    for (auto _ : state) {
        if (!first) {
            state.PauseTiming();
            // Every picked allocation carries a stale name again.
            f.dm.exec(QStringLiteral("update ghir set peymankar='x' where peymankar_id<>-1"));
            state.ResumeTiming();
        }
        first = false;
        refresh->setEnabled(true);
        refresh->click();
    }
}
BENCHMARK(BM_NamePush)->Unit(benchmark::kMillisecond)->Iterations(3);

// The usual case: one contractor renamed since the last push.
void BM_NamePushOneRenamed(benchmark::State &state)
{
    Fixture f(true);
    fill(f, 800, 40000);
    auto *w = f.form<Tpeymankar_ins>();
    auto *refresh = w->findChild<QPushButton *>(QStringLiteral("refresh_btn"));
    refresh->setEnabled(true);
    refresh->click();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.dm.exec(QStringLiteral("update peymankaran set peymankar=? where id=?"),
                  {QStringLiteral("نام تازه %1").arg(++n), 1 + n % 800});
        state.ResumeTiming();
        refresh->click();
    }
}
BENCHMARK(BM_NamePushOneRenamed)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
