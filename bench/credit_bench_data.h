#pragma once
// The credit register the benchmarks run over: 100,000 projects in 30 counties and 300,000
// credits (three per project), written in batches of one multi-row insert each, in one
// transaction per table.
#include "core/dm_u.h"
#include "core/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <functional>

constexpr int kBenchProjects = 100000;
constexpr int kBenchCredits = 300000;

inline QString creditBenchCounty(int i) { return QStringLiteral("شهرستان %1").arg(i % 30); }

inline void insertBenchRows(Tdm &dm, const QString &table, const QStringList &columns, int count,
                            const std::function<QVariantList(int)> &row)
{
    constexpr int kBatch = 500;
    const QString marks =
        QStringLiteral("(") + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QStringLiteral(")");
    const QString sql = QStringLiteral("insert into %1 (%2) values ").arg(table, columns.join(QLatin1Char(',')))
                        + QStringList(kBatch, marks).join(QLatin1Char(','));
    dm.transaction([&] {
        QSqlQuery q(dm.ADOConnection1());
        if (!q.prepare(sql))
            throw DbError(q.lastError().text());
        for (int start = 0; start < count; start += kBatch) {
            int i = 0;
            for (int r = start; r < start + kBatch; ++r)
                for (const QVariant &v : row(r))
                    q.bindValue(i++, v);
            if (!q.exec())
                throw DbError(q.lastError().text());
        }
    });
}

inline void fillBenchCredits(Tdm &dm)
{
    insertBenchRows(dm, QStringLiteral("prj"),
                    {"etb_id", "ostan", "city", "bakhsh", "dehestan", "rosta", "cod", "ejra_typ", "prg", "prg_sal1",
                     "prg_sal2", "tarh_title", "tarh_cod", "prj_title", "prj_cod", "nahve", "prj_typ", "prj_sal1",
                     "prj_sal2", "hadaf", "meghdar", "vahed"},
                    kBenchProjects, [](int i) {
                        return QVariantList{-1, QStringLiteral("مرکزي"), creditBenchCounty(i), QStringLiteral("مرکزي"),
                                            QStringLiteral("دهستان %1").arg(i % 300), QStringLiteral("روستا %1").arg(i),
                                            QString::number(100000 + i), QStringLiteral("روستايي"), QStringLiteral("ششم"),
                                            QStringLiteral("1395"), QStringLiteral("1400"),
                                            QStringLiteral("اجراي طرحهاي هادي روستايي"), QString::number(i % 50),
                                            QStringLiteral("پروژه %1").arg(i), QString::number(i),
                                            QStringLiteral("پيماني"), QStringLiteral("احداث"), QStringLiteral("1401"),
                                            QStringLiteral("1404"), QStringLiteral("اجراي طرح هادي روستايي"),
                                            QStringLiteral("1"), QStringLiteral("روستا")};
                    });
    insertBenchRows(dm, QStringLiteral("etebarat"),
                    {"prj_id", "tamin_loc", "tamin_manba", "sal_typ", "sal", "typ", "mablagh", "cmt", "dion"},
                    kBenchCredits, [](int i) {
                        return QVariantList{i / 3 + 1, i % 2 ? QStringLiteral("ملي") : QStringLiteral("استاني متوازن"),
                                            QStringLiteral("درآمد عمومي"), QStringLiteral("جاري"),
                                            QString::number(1398 + i % 7), QStringLiteral("مصوب"),
                                            qint64(2500000000LL + i), QString(), 1000.5};
                    });
}
