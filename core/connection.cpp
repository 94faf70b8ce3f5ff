#include "core/connection.h"

#include "core/errors.h"
#include "core/text_rules.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>

namespace dbconn {

namespace {

struct Session {
    SessionSetup setup;
    int transactions = 0;
    bool reopenedInTransaction = false; // the transaction went with the old connection
};

QMutex g_mutex;
QHash<QString, Session> g_sessions;

bool isPostgres(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

bool inTransaction(const QSqlDatabase &db)
{
    const QMutexLocker lock(&g_mutex);
    return g_sessions.value(db.connectionName()).transactions > 0;
}

// Only a server connection can be dropped under the program; the driver marks it closed
// when it sees the server gone. Outside a transaction a statement that failed on an open
// connection is told from a dropped one by a probe (inside one, the server refuses every
// statement after a failure, so the probe would say nothing).
bool connectionLost(const QSqlDatabase &db)
{
    if (!isPostgres(db))
        return false;
    if (!db.isOpen())
        return true;
    if (inTransaction(db))
        return false;
    QSqlQuery probe(db);
    return !probe.exec(QStringLiteral("select 1"));
}

[[noreturn]] void throwUnreachable(const QString &driverText)
{
    const QString text = driverText.trimmed();
    throw DbError(text.isEmpty() ? msg::kServerUnreachable : msg::kServerUnreachable + QLatin1Char('\n') + text);
}

// Reopens a dropped connection and runs its session set-up again; throws when the server
// cannot be reached. The connection stays closed then, so the next command tries again.
void reopen(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    db.close();
    if (!db.open()) {
        const QString err = db.lastError().text();
        db.close();
        throwUnreachable(err);
    }
    SessionSetup setup;
    {
        const QMutexLocker lock(&g_mutex);
        Session &s = g_sessions[db.connectionName()];
        setup = s.setup;
        s.reopenedInTransaction = s.transactions > 0;
    }
    if (setup) {
        try {
            setup(db);
        } catch (const AppError &e) {
            db.close();
            throwUnreachable(e.message());
        }
    }
}

bool runOnce(const QSqlDatabase &db, QSqlQuery &q, const QString &sql, const QVariantList &binds, int options,
             QSqlError *error)
{
    q = QSqlQuery(db);
    q.setForwardOnly(options & ForwardOnly);
    if (options & HighPrecision)
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (q.prepare(sql)) {
        for (int i = 0; i < binds.size(); ++i)
            q.bindValue(i, binds.at(i));
        if (q.exec())
            return true;
    }
    *error = q.lastError();
    return false;
}

} // namespace

void setSessionSetup(const QString &connectionName, SessionSetup setup)
{
    const QMutexLocker lock(&g_mutex);
    g_sessions[connectionName] = Session{std::move(setup), 0};
}

void forget(const QString &connectionName)
{
    const QMutexLocker lock(&g_mutex);
    g_sessions.remove(connectionName);
}

QString errorText(const QSqlDatabase &db, const QSqlError &error)
{
    const QString text = error.text().trimmed();
    // SQLITE_READONLY and its extended codes: the file (or its folder) cannot be written.
    if (db.driverName() == QLatin1String("QSQLITE")
        && ((error.nativeErrorCode().toInt() & 0xff) == 8 || text.contains(QLatin1String("readonly database"))))
        return msg::readOnlyFile(db.databaseName()) + QLatin1Char('\n') + text;
    if (text.isEmpty())
        return msg::kDatabaseFailed;
    return text;
}

namespace {
// A NUL in a text makes PostgreSQL refuse the statement with a raw error, while SQLite would
// store it: refused alike, whatever the statement.
void refuseControlCharacters(const QVariantList &binds)
{
    for (const QVariant &b : binds)
        if (b.typeId() == QMetaType::QString && textrule::hasControlCharacter(b.toString()))
            throw InputError(msg::kControlCharacter);
}
} // namespace

void read(const QSqlDatabase &db, const QVariantList &binds, const std::function<void()> &read)
{
    refuseControlCharacters(binds);
    if (isPostgres(db) && !db.isOpen() && !inTransaction(db))
        reopen(db);
    QString failed;
    try {
        read();
        return;
    } catch (const DbError &e) {
        if (!connectionLost(db))
            throw DbError(e.message().trimmed().isEmpty() ? msg::kDatabaseFailed : e.message());
        failed = e.message();
    }
    reopen(db);
    if (inTransaction(db))
        throwUnreachable(failed);
    try {
        read();
    } catch (const DbError &e) {
        if (connectionLost(db))
            throwUnreachable(e.message());
        throw;
    }
}

QSqlQuery execute(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, int options)
{
    refuseControlCharacters(binds);
    QSqlQuery q;
    QSqlError error;
    // A connection left closed by a failed reopen is tried again by the next command.
    if (isPostgres(db) && !db.isOpen() && !inTransaction(db))
        reopen(db);
    if (runOnce(db, q, sql, binds, options, &error))
        return q;
    if (connectionLost(db)) {
        const QString lost = error.text();
        reopen(db);
        if (inTransaction(db))
            throwUnreachable(lost);
        if (runOnce(db, q, sql, binds, options, &error))
            return q;
        if (connectionLost(db))
            throwUnreachable(error.text());
    }
    throw DbError(errorText(db, error));
}

void begin(const QSqlDatabase &handle, BeginMode mode)
{
    QSqlDatabase db = handle;
    if (mode == WriteLock && db.driverName() == QLatin1String("QSQLITE")) {
        // The driver keeps no state of its own: its commit and rollback end this transaction.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(errorText(db, q.lastError()));
    } else {
        if (isPostgres(db) && !db.isOpen())
            reopen(db);
        if (!db.transaction()) {
            const QSqlError err = db.lastError();
            if (!connectionLost(db))
                throw DbError(errorText(db, err));
            reopen(db);
            if (!db.transaction())
                throw DbError(errorText(db, db.lastError()));
        }
    }
    const QMutexLocker lock(&g_mutex);
    ++g_sessions[db.connectionName()].transactions;
}

namespace {
// Ends the transaction's count; false when the connection was reopened inside it, so that there
// is no transaction left on the server to end.
bool leave(const QSqlDatabase &db)
{
    const QMutexLocker lock(&g_mutex);
    auto it = g_sessions.find(db.connectionName());
    if (it == g_sessions.end())
        return true;
    if (it->transactions > 0)
        --it->transactions;
    const bool same = !it->reopenedInTransaction;
    if (it->transactions == 0)
        it->reopenedInTransaction = false;
    return same;
}
} // namespace

void commit(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    if (!leave(db))
        throwUnreachable(QString());
    if (db.commit())
        return;
    const QSqlError err = db.lastError();
    if (connectionLost(db)) {
        // The server dropped the connection before the commit: nothing of the change stays.
        try {
            reopen(db);
        } catch (const DbError &) {
        }
        throwUnreachable(err.text());
    }
    db.rollback();
    throw DbError(errorText(db, err));
}

void rollback(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    if (leave(db) && db.isOpen())
        db.rollback();
}

} // namespace dbconn
