#pragma once
// A statement run through the engine's own interface (SQLite's C interface, libpq), every value
// of every row read as a listing reads them: the engines' side of the window benchmarks.
#include "core/errors.h"
#include "core/fetch.h"

#include <benchmark/benchmark.h>

#include <QVariantList>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <vector>

// The rows; `firstId` (when given) receives the first row's "id".
inline qint64 readAllSqlite(sqlite3 *h, const QString &sql, const QVariantList &binds, QVariant *firstId = nullptr)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
    std::vector<QByteArray> keep;
    for (int i = 0; i < binds.size(); ++i) {
        if (binds.at(i).isNull()) {
            sqlite3_bind_null(st, i + 1);
            continue;
        }
        keep.push_back(binds.at(i).toString().toUtf8());
        sqlite3_bind_text(st, i + 1, keep.back().constData(), int(keep.back().size()), SQLITE_TRANSIENT);
    }
    const int n = sqlite3_column_count(st);
    qint64 rows = 0;
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
        if (rows == 0 && firstId)
            for (int i = 0; i < n; ++i)
                if (qstrcmp(sqlite3_column_name(st, i), "id") == 0)
                    *firstId = sqlite3_column_int64(st, i);
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

inline qint64 readAllPg(PGconn *c, const QString &sql, const QVariantList &binds, QVariant *firstId = nullptr)
{
    std::vector<QByteArray> keep;
    std::vector<const char *> values;
    keep.reserve(binds.size());
    for (const QVariant &v : binds) {
        keep.push_back(v.isNull() ? QByteArray() : v.toString().toUtf8());
        values.push_back(v.isNull() ? nullptr : keep.back().constData());
    }
    PGresult *r = PQexecParams(c, dbfetch::pgPlaceholders(sql).constData(), int(values.size()), nullptr, values.data(),
                               nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        const QString error = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        throw DbError(error);
    }
    const int n = PQnfields(r), rows = PQntuples(r);
    if (rows > 0 && firstId && PQfnumber(r, "id") >= 0)
        *firstId = QByteArray(PQgetvalue(r, 0, PQfnumber(r, "id"))).toLongLong();
    for (int row = 0; row < rows; ++row)
        for (int i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(PQgetvalue(r, row, i));
            benchmark::DoNotOptimize(PQgetlength(r, row, i));
        }
    PQclear(r);
    return rows;
}
