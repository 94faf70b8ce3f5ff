#pragma once
// Running statements on a connection that the server may drop (a server restart, an
// administrator ending the session): the connection is reopened once and the statement
// run again, so a restart costs the user at most one message. No wait on the database is
// endless: a lock waits its bound, a statement runs its bound, and a server that gives no
// answer at all is cut off a quarter after that (DbProfile::Bounds). Every failure is a DbError
// whose message starts with a Persian sentence saying what happened, the driver's text below.
#include "core/profile.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <functional>

struct pg_conn;
struct pg_result;
struct sqlite3;

namespace dbconn {

// What runs on a connection each time it has been opened (the PostgreSQL schema path, the
// SQLite collation ...); the data module registers it by connection name. Throws DbError.
using SessionSetup = std::function<void(QSqlDatabase &db)>;
void setSessionSetup(const QString &connectionName, SessionSetup setup, const DbProfile::Bounds &bounds = {});
void forget(const QString &connectionName);
// The bounds a connection was registered with (the defaults for one never registered).
DbProfile::Bounds bounds(const QSqlDatabase &db);

// Bounds a wait on a server connection: when the server has not answered by a quarter past the
// statement bound (at least two seconds past it), the connection is cut so that the waiting
// call returns with an error; check() then ends the command with the message that the server
// did not answer. Nothing happens on an embedded database.
class ServerWait {
public:
    explicit ServerWait(const QSqlDatabase &db);
    ~ServerWait();
    ServerWait(const ServerWait &) = delete;
    ServerWait &operator=(const ServerWait &) = delete;
    bool expired() const;
    // Throws DbError (the server did not answer, `driverText` below) when the wait ran out.
    void check(const QString &driverText) const;

private:
    int m_id = -1;
    int m_seconds = 0;
};

// Opens a connection, every wait of it bounded: libpq's connect_timeout ends a server that does
// not take the sign-in, and the driver's own statements right after it (the server's version,
// the client encoding, the date style ...) are cut when the opening has not ended a connect
// bound later (a server that signs in and then goes silent). Throws DbError, "the database
// server cannot be reached" with the driver's text, and leaves the connection closed.
void open(QSqlDatabase &db, const DbProfile::Bounds &bounds);

// The engines' own handles behind Qt's drivers: null for another driver or no connection.
pg_conn *pgHandle(const QSqlDatabase &db);
sqlite3 *sqliteHandle(const QSqlDatabase &db);

// True when the engine knows the server connection is gone (no round trip).
bool broken(const QSqlDatabase &db);

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
// A commit whose answer is lost (the connection cut or dropped while the server commits) is not
// taken as failed: the connection is opened again and the server asked what became of the
// transaction. Kept: commit returns as if answered. Not kept: DbError msg::kNotWritten. The
// server not reached: OutcomeUnknown.
void begin(const QSqlDatabase &db, BeginMode mode = Deferred);
void commit(const QSqlDatabase &db);
void rollback(const QSqlDatabase &db);

// What became of transaction `xid` (txid_current) that session `backend` sent to commit before
// its connection was lost: asked on `db`, opened again when it is closed. A transaction that
// the old session still holds (the server has not yet seen the connection gone) is ended by
// ending that session; asked again until the connect bound has passed.
enum class Outcome { Committed, Aborted, Unknown };
Outcome outcomeOf(const QSqlDatabase &db, qint64 xid, int backend);

// The text of a failed statement as the user reads it: a Persian sentence first (another
// workstation holds the lock; the statement ran past its bound; the server is gone; a read-only
// SQLite file; the database refused it), the driver's text below.
QString errorText(const QSqlDatabase &db, const QSqlError &error);
// The same for a failure met through the engines' own interfaces (`result` may be null).
QString failureText(pg_conn *conn, const pg_result *result);
QString failureText(sqlite3 *handle);

} // namespace dbconn
