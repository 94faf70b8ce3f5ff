#pragma once
// Reading a select's rows straight from the database engine into a RowStore: SQLite through
// its own C interface (texts stay UTF-8), PostgreSQL through libpq with a cursor fetched in
// batches (memory stays flat whatever the size); another driver through QSqlQuery.
// The statement uses "?" placeholders, as everywhere in the program.
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <functional>

class RowStore;

namespace dbfetch {

// Called after each batch of rows; return false to stop reading (the rows read so far stay).
using Progress = std::function<bool(int rowsSoFar)>;

// Runs the select with its binds and appends its rows to `store`; `fields` receives the
// column names. Throws DbError with the database's message when it is refused.
void select(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, QStringList &fields,
            RowStore &store, const Progress &progress = {});

// The statement with "?" placeholders written as PostgreSQL's "$1", "$2" ... (quoted texts,
// quoted names and comments left alone).
QByteArray pgPlaceholders(const QString &sql);

} // namespace dbfetch
