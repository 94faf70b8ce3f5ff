#pragma once
// Reading a select's rows straight from the database engine into a RowStore: SQLite through
// its own C interface (texts stay UTF-8), PostgreSQL through libpq taking the rows one at a
// time as they arrive (memory stays flat whatever the size); another driver through QSqlQuery.
// The statement uses "?" placeholders, as everywhere in the program.
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <functional>

class RowStore;

namespace dbfetch {

// What a reader is told while it reads: the column names once, before any row is stored,
// then the count so far after each batch of rows (returning false stops the reading; the
// rows read so far stay).
struct Listener {
    std::function<void(const QStringList &fields)> fields;
    std::function<bool(int rowsSoFar)> progress;
};

// Runs the select with its binds and appends its rows to `store`. Throws DbError when it is
// refused: the message as dbconn::errorText says it, or the driver's text alone when the
// connection is gone (dbconn::read reopens it and says so).
void select(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, RowStore &store,
            const Listener &listener = {});

// The statement with "?" placeholders written as PostgreSQL's "$1", "$2" ... (quoted texts,
// quoted names and comments left alone).
QByteArray pgPlaceholders(const QString &sql);

} // namespace dbfetch
