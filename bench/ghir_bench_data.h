#pragma once
// The allocations the bitumen benchmarks run over: `rows` rows of ghir in 30 counties, 600
// villages and 250 contractors, a third of them completed, written in one transaction.
#include "bench_db.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <iterator>

constexpr int kBenchCounties = 30;
constexpr int kBenchVillages = 600;
constexpr int kBenchContractors = 250;

inline QString benchCounty(int i) { return QStringLiteral("شهرستان %1").arg(i % kBenchCounties); }

inline void fillBenchAllocations(Tdm &dm, int rows)
{
    const char *const columns[] = {"ostan", "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar",
                                   "prot_mablagh", "city_paper_no", "prj_area", "tonaj", "zekhamat", "bors_price",
                                   "ghir_tahatori", "z_mablagh", "moarefi_no", "peymankar_id", "reg_dat", "jalase_no",
                                   "jalase_dat", "prot_mablagh_ejra", "zarib", "asfalt_ejra", "ghir_jam", "ghir_t",
                                   "sal", "status", "cmt", "tarakom", "tehran_paper_no", "pishraft"};
    const int ncol = int(std::size(columns));
    QStringList names;
    for (const char *c : columns)
        names << QLatin1String(c);
    constexpr int kBatch = 250;
    QString marks = QStringLiteral("(") + QStringList(ncol, QStringLiteral("?")).join(QLatin1Char(',')) + QStringLiteral(")");
    const QString sql = QStringLiteral("insert into ghir (%1) values ").arg(names.join(QLatin1Char(',')))
                        + QStringList(kBatch, marks).join(QLatin1Char(','));
    dm.transaction([&] {
        QSqlQuery q(dm.ADOConnection1());
        if (!q.prepare(sql))
            throw DbError(QStringLiteral("prepare"));
        for (int start = 0; start < rows; start += kBatch) {
            int b = 0;
            for (int i = start; i < start + kBatch; ++i) {
                const bool done = i % 3 == 0;
                const QVariant values[] = {
                    QStringLiteral("مرکزي"), benchCounty(i), QStringLiteral("روستا %1").arg(i % kBenchVillages),
                    QStringLiteral("آسفالت"), QString::number(1000 + i), QStringLiteral("1402/05/12"),
                    QStringLiteral("پيمانكار %1").arg((i * 7) % kBenchContractors), qint64(1250000 + i % 1000 * 100),
                    QString::number(3000 + i), 12000.0 + i % 500, 1398.0 + i % 50, QStringLiteral("5"),
                    qint64(21500000), 20.0 + i % 40, qint64(50000000),
                    i % 5 ? QString::number(8000 + i) : QString(), -1,
                    QStringLiteral("14%1/%2/%3").arg(i / 7 % 4 + 1, 2, 10, QLatin1Char('0'))
                        .arg(i % 12 + 1, 2, 10, QLatin1Char('0')).arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                    done ? i % 40 : 0, done ? QStringLiteral("1403/07/12") : QStringLiteral("    /  /  "),
                    qint64(300000), QStringLiteral("0.9"), done ? QString::number(1400 + i % 90) : QString(),
                    done ? QStringLiteral("84.2") : QString(), done ? QStringLiteral("3") : QString(),
                        QString::number(1401 + i % 4), QString(), QString(), done ? 96.0 : 0.0,
                    i % 2 ? QStringLiteral("T%1").arg(i) : QString(), i % 101};
                for (int c = 0; c < ncol; ++c)
                    q.bindValue(b * ncol + c, values[c]);
                ++b;
            }
            if (!q.exec())
                throw DbError(q.lastError().text());
        }
    });
}

// A fresh database (openBenchDatabase) with `rows` allocations, handed to ctx with the Ui.
inline bool openAllocationsDatabase(std::unique_ptr<Tdm> &dm, AppContext &ctx, Ui &ui, const QTemporaryDir &dir,
                                    bool pg, QString *schema, int rows)
{
    dm = std::make_unique<Tdm>();
    ctx.dm = dm.get();
    ctx.ui = &ui;
    if (!openBenchDatabase(*dm, dir, pg, schema))
        return false;
    fillBenchAllocations(*dm, rows);
    return true;
}
