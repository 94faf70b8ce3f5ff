#pragma once
// Running statements on a connection that the server may drop (a server restart, an
// administrator ending the session): the connection is reopened once and the statement
// run again, so a restart costs the user at most one message. Every failure is a DbError
// whose message is never empty.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <functional>

namespace dbconn {

// What runs on a connection each time it has been opened (the PostgreSQL schema path, the
// SQLite collation ...); the data module registers it by connection name. Throws DbError.
using SessionSetup = std::function<void(QSqlDatabase &db)>;
void setSessionSetup(const QString &connectionName, SessionSetup setup);
void forget(const QString &connectionName);

enum Option { Plain = 0, ForwardOnly = 1, HighPrecision = 2 };

// Prepares `sql` on a fresh query of `db`, binds `binds` in order and runs it. A text bound
// with a control character (NUL ...) is refused with an InputError before anything runs. When the server
// has dropped the connection, it is reopened once and, outside a transaction, the statement
// runs again. Throws DbError: "the database server cannot be reached" with the driver's text
// when it cannot be reopened.
QSqlQuery execute(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, int options = Plain);

// Runs `read`, a select read through the engine's own interface (it throws DbError), under the
// same rules as execute: control characters in the binds refused, a dropped connection reopened
// once and, outside a transaction, the reading done again.
void read(const QSqlDatabase &db, const QVariantList &binds, const std::function<void()> &read);

// The transactions of Tdm::transaction and Tdm::writeTransaction: begin (reconnecting as execute
// does; WriteLock takes SQLite's write lock at once, BEGIN IMMEDIATE), commit, rollback.
// Inside it a lost connection is reopened for the next command but no statement is run again:
// the transaction is gone with it.
enum BeginMode { Deferred, WriteLock };
void begin(const QSqlDatabase &db, BeginMode mode = Deferred);
void commit(const QSqlDatabase &db);
void rollback(const QSqlDatabase &db);

// The text of a failed statement as the user reads it: never empty; a read-only SQLite file
// is named in Persian with the driver's text below.
QString errorText(const QSqlDatabase &db, const QSqlError &error);

} // namespace dbconn
