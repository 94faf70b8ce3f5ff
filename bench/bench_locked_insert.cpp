// Two workstations registering allocations at once on PostgreSQL: the duplicate test and the
// insert under the table's write lock (as the entry form runs them), against the same two
// statements in a transaction without the lock. 10,000 allocations are there already; each
// writer inserts 200 new ones per run. Needs VARNOSET_TEST_PG.
#include "support/fixture.h"

#include "db/dialect.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <latch>
#include <thread>

namespace {

constexpr int kExisting = 10000;
constexpr int kPerWriter = 200;

Fixture *g_fixture = nullptr;

Fixture &fixture()
{
    if (!g_fixture) {
        g_fixture = new Fixture(false);
        g_fixture->dm.transaction([] {
            for (int i = 0; i < kExisting; ++i)
                g_fixture->dm.exec(QStringLiteral("insert into ghir (ostan, city, rosta, peymankar, ghir_tahatori, sal, "
                                                  "moarefi_no) values (?,?,?,?,?,?,?)"),
                                   {QStringLiteral("تهران"), QStringLiteral("شهرستان %1").arg(i % 30),
                                    QStringLiteral("روستا %1").arg(i), QStringLiteral("پيمانکار %1").arg(i % 800),
                                    12.5, QStringLiteral("1403"), QString::number(i)});
        });
    }
    return *g_fixture;
}

// One allocation as the entry form writes it: the duplicate test on the key, then the insert.
void registerAllocation(Tdm &dm, const QString &key)
{
    const QString village = QStringLiteral("روستا نو ") + key;
    const QVariantList keyValues{db::foldedText(QStringLiteral("شهرستان 1")), db::foldedText(village),
                                 db::foldedText(QStringLiteral("پيمانکار 1")), 12.5, QStringLiteral("1403"), key};
    const QString test = QStringLiteral("select count(*) from ghir where %1=? and %2=? and %3=? and ghir_tahatori=? "
                                        "and sal=? and moarefi_no=?")
                             .arg(db::foldedSql(QStringLiteral("city")), db::foldedSql(QStringLiteral("rosta")),
                                  db::foldedSql(QStringLiteral("peymankar")));
    if (dm.scalar(test, keyValues).toLongLong() > 0)
        return;
    dm.exec(QStringLiteral("insert into ghir (ostan, city, rosta, peymankar, ghir_tahatori, sal, moarefi_no) "
                           "values (?,?,?,?,?,?,?)"),
            {QStringLiteral("تهران"), QStringLiteral("شهرستان 1"), village,
             QStringLiteral("پيمانکار 1"), 12.5, QStringLiteral("1403"), key});
}

// range(0): 1 = under the write lock, 0 = the same statements in a plain transaction.
void BM_TwoWritersInsert(benchmark::State &state)
{
    if (!testing_support::usePostgres()) {
        state.SkipWithError("set VARNOSET_TEST_PG to a PostgreSQL server");
        return;
    }
    Fixture &f = fixture();
    const bool locked = state.range(0) == 1;
    int run = 0;
    double seconds = 0;
    for (auto _ : state) {
        ++run;
        std::latch ready(3);
        auto writer = [&](int w) {
            Tdm dm;
            dm.connectMain(f.profile());
            ready.arrive_and_wait();
            for (int i = 0; i < kPerWriter; ++i) {
                const QString key = QStringLiteral("%1-%2-%3-%4").arg(locked).arg(run).arg(w).arg(i);
                if (locked)
                    dm.writeTransaction(QStringLiteral("ghir"), [&] { registerAllocation(dm, key); });
                else
                    dm.transaction([&] { registerAllocation(dm, key); });
            }
        };
        std::thread a(writer, 1), b(writer, 2);
        ready.arrive_and_wait();
        const auto t0 = std::chrono::steady_clock::now();
        a.join();
        b.join();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        seconds += s;
    }
    if (seconds > 0)
        state.counters["inserts/s"] = double(2 * kPerWriter) * double(run) / seconds;
    state.SetLabel(locked ? "duplicate test + insert under the write lock" : "the same without the lock");
}
BENCHMARK(BM_TwoWritersInsert)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsEmpty("VARNOSET_TEST_PG"))
        qputenv("VARNOSET_TEST_BACKEND", "pg");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_fixture;
    return 0;
}
