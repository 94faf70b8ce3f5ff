#include "core/connection.h"

#include "core/errors.h"
#include "core/text_rules.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <chrono>
#include <condition_variable>
#include <libpq-fe.h>
#include <mutex>
#include <sqlite3.h>
#include <thread>
#include <vector>
#include <set>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#endif

namespace dbconn {

namespace {

struct Session {
    SessionSetup setup;
    DbProfile::Bounds bounds;
    int transactions = 0;
    bool reopenedInTransaction = false; // the transaction went with the old connection
};

QMutex g_mutex;
QHash<QString, Session> g_sessions;

bool isPostgres(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

// The engine's own handle behind Qt's driver when its type is one of `typeNames`.
template <class Handle> Handle *engineHandle(const QSqlDatabase &db, std::initializer_list<const char *> typeNames)
{
    if (!db.driver())
        return nullptr;
    const QVariant h = db.driver()->handle();
    if (!h.isValid())
        return nullptr;
    for (const char *name : typeNames)
        if (qstrcmp(h.typeName(), name) == 0)
            return *static_cast<Handle *const *>(h.constData());
    return nullptr;
}

// One thread for the whole program watches the waits on server connections and cuts the
// socket of one that ran out: the call blocked on it returns at once with an error.
class Watchdog {
public:
    using Clock = std::chrono::steady_clock;
    static Watchdog &instance()
    {
        static Watchdog w;
        return w;
    }
    // `cut` runs on the watchdog's thread once the deadline has passed.
    int add(Clock::time_point deadline, std::function<void()> cut)
    {
        const std::lock_guard lock(m_mutex);
        const int id = ++m_next;
        m_watches.push_back({id, deadline, false, std::move(cut)});
        if (m_idle)
            m_wake.notify_one();
        return id;
    }
    void remove(int id)
    {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_watches, [id](const Watch &w) { return w.id == id; });
    }
    bool expired(int id)
    {
        const std::lock_guard lock(m_mutex);
        for (const Watch &w : m_watches)
            if (w.id == id)
                return w.expired;
        return false;
    }

private:
    struct Watch {
        int id;
        Clock::time_point deadline;
        bool expired;
        std::function<void()> cut;
    };
    Watchdog() : m_thread([this] { run(); }) {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            if (m_watches.empty()) {
                m_idle = true;
                m_wake.wait(lock);
                m_idle = false;
                continue;
            }
            const auto now = Clock::now();
            for (Watch &w : m_watches)
                if (!w.expired && w.deadline <= now) {
                    w.cut();
                    w.expired = true;
                }
            m_wake.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Watch> m_watches;
    int m_next = 0;
    bool m_idle = false;
    bool m_stop = false;
    std::thread m_thread; // last: starts once the rest is made
};

void cutSocket(int socket)
{
#ifdef _WIN32
    ::shutdown(socket, SD_BOTH);
#else
    ::shutdown(socket, SHUT_RDWR);
#endif
}

#ifndef _WIN32
// The sockets open in this process, each by its descriptor and inode (a descriptor closed and
// opened again for something else is another socket).
std::set<std::pair<int, ino_t>> openSockets()
{
    std::set<std::pair<int, ino_t>> found;
    std::vector<int> fds;
    if (DIR *dir = ::opendir("/proc/self/fd")) {
        while (const dirent *e = ::readdir(dir))
            if (e->d_name[0] != '.')
                fds.push_back(std::atoi(e->d_name));
        ::closedir(dir);
    } else {
        for (int fd = 0; fd < 1024; ++fd)
            fds.push_back(fd);
    }
    for (const int fd : fds) {
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode))
            found.insert({fd, st.st_ino});
    }
    return found;
}

// Whether the socket is connected to a PostgreSQL server listening on `port` (over TCP, or the
// server's Unix socket file ".s.PGSQL.<port>").
bool talksToPort(int fd, int port)
{
    sockaddr_storage peer{};
    socklen_t len = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &len) != 0)
        return false;
    switch (peer.ss_family) {
    case AF_INET:
        return ntohs(reinterpret_cast<const sockaddr_in *>(&peer)->sin_port) == port;
    case AF_INET6:
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&peer)->sin6_port) == port;
    case AF_UNIX: {
        const char *path = reinterpret_cast<const sockaddr_un *>(&peer)->sun_path;
        return QByteArray(path).endsWith(".s.PGSQL." + QByteArray::number(port));
    }
    default:
        return false;
    }
}
#endif

// How long a server may stay silent before it is taken as not answering: its own statement
// bound answers by then, so a quarter more (at least two seconds) is beyond any answer.
int silentMs(const DbProfile::Bounds &b)
{
    return b.statementSeconds <= 0 ? 0 : b.statementSeconds * 1000 + qMax(2000, b.statementSeconds * 250);
}

// How long the opening of a connection may take: the sign-in's own bound, then as long again
// (at least two seconds) for the driver's statements that follow it.
int openMs(const DbProfile::Bounds &b)
{
    if (b.connectSeconds <= 0)
        return silentMs(b);
    return b.connectSeconds * 1000 + qMax(2000, b.connectSeconds * 1000);
}

bool inTransaction(const QSqlDatabase &db)
{
    const QMutexLocker lock(&g_mutex);
    return g_sessions.value(db.connectionName()).transactions > 0;
}

// Only a server connection can be dropped under the program; the driver marks it closed, or
// libpq bad, when it sees the server gone. Outside a transaction a statement that failed on an open
// connection is told from a dropped one by a probe (inside one, the server refuses every
// statement after a failure, so the probe would say nothing).
bool connectionLost(const QSqlDatabase &db)
{
    if (!isPostgres(db))
        return false;
    if (!db.isOpen())
        return true;
    if (broken(db))
        return true;
    if (inTransaction(db))
        return false;
    const ServerWait wait(db);
    QSqlQuery probe(db);
    return !probe.exec(QStringLiteral("select 1"));
}

[[noreturn]] void throwUnreachable(const QString &driverText)
{
    QString text = driverText.trimmed();
    if (text.startsWith(msg::kServerUnreachable)) // already said by the reader
        text = text.mid(msg::kServerUnreachable.size()).trimmed();
    throw DbError(text.isEmpty() ? msg::kServerUnreachable : msg::kServerUnreachable + QLatin1Char('\n') + text);
}

// Reopens a dropped connection and runs its session set-up again; throws when the server
// cannot be reached. The connection stays closed then, so the next command tries again.
void reopen(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    db.close();
    dbconn::open(db, bounds(db));
    SessionSetup setup;
    {
        const QMutexLocker lock(&g_mutex);
        Session &s = g_sessions[db.connectionName()];
        setup = s.setup;
        s.reopenedInTransaction = s.transactions > 0;
    }
    if (setup) {
        try {
            const ServerWait wait(db);
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
    const ServerWait wait(db);
    if (q.prepare(sql)) {
        for (int i = 0; i < binds.size(); ++i)
            q.bindValue(i, binds.at(i));
        if (q.exec())
            return true;
    }
    *error = q.lastError();
    wait.check(error->text()); // a server that gave no answer is not asked again
    return false;
}

} // namespace

void setSessionSetup(const QString &connectionName, SessionSetup setup, const DbProfile::Bounds &bounds)
{
    const QMutexLocker lock(&g_mutex);
    g_sessions[connectionName] = Session{std::move(setup), bounds};
}

void forget(const QString &connectionName)
{
    const QMutexLocker lock(&g_mutex);
    g_sessions.remove(connectionName);
}

DbProfile::Bounds bounds(const QSqlDatabase &db)
{
    const QMutexLocker lock(&g_mutex);
    return g_sessions.value(db.connectionName()).bounds;
}

void open(QSqlDatabase &db, const DbProfile::Bounds &b)
{
    if (db.driverName() != QLatin1String("QPSQL")) {
        if (!db.open()) {
            const QString err = db.lastError().text().trimmed();
            db.close();
            throw DbError(err.isEmpty() ? msg::kDatabaseFailed : err);
        }
        return;
    }
    int watch = -1;
#ifndef _WIN32
    const int ms = openMs(b);
    if (ms > 0) {
        // The driver's socket is not known until open() returns: the watch cuts whatever socket
        // to the server's port was opened meanwhile.
        const auto before = openSockets();
        const int port = db.port() > 0 ? db.port() : 5432;
        watch = Watchdog::instance().add(Watchdog::Clock::now() + std::chrono::milliseconds(ms), [before, port] {
            for (const auto &s : openSockets())
                if (!before.count(s) && talksToPort(s.first, port))
                    cutSocket(s.first);
        });
    }
#endif
    const bool opened = db.open();
    const bool cut = watch >= 0 && Watchdog::instance().expired(watch);
    if (watch >= 0)
        Watchdog::instance().remove(watch);
    if (opened && !cut)
        return;
    QString err = db.lastError().text().trimmed();
    if (cut)
        err = msg::noAnswerWithin((openMs(b) + 999) / 1000) + (err.isEmpty() ? QString() : QLatin1Char('\n') + err);
    db.close();
    throwUnreachable(err);
}

ServerWait::ServerWait(const QSqlDatabase &db)
{
    const PGconn *c = pgHandle(db);
    const int socket = c ? PQsocket(c) : -1;
    if (socket < 0)
        return;
    const int ms = silentMs(bounds(db));
    if (ms <= 0)
        return;
    m_seconds = (ms + 999) / 1000;
    m_id = Watchdog::instance().add(Watchdog::Clock::now() + std::chrono::milliseconds(ms), [socket] { cutSocket(socket); });
}

ServerWait::~ServerWait()
{
    if (m_id >= 0)
        Watchdog::instance().remove(m_id);
}

bool ServerWait::expired() const
{
    return m_id >= 0 && Watchdog::instance().expired(m_id);
}

void ServerWait::check(const QString &driverText) const
{
    if (expired())
        throw DbError(msg::serverSilent(m_seconds) + QLatin1Char('\n') + driverText.trimmed());
}

pg_conn *pgHandle(const QSqlDatabase &db)
{
    // Qt names the libpq handle "PGconn*" or by its struct, "pg_conn*", depending on the version.
    return engineHandle<PGconn>(db, {"PGconn*", "pg_conn*"});
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    return engineHandle<sqlite3>(db, {"sqlite3*"});
}

bool broken(const QSqlDatabase &db)
{
    const PGconn *c = pgHandle(db);
    return c && PQstatus(c) == CONNECTION_BAD;
}

namespace {

QString withDriverText(const QString &first, const QString &driverText)
{
    const QString text = driverText.trimmed();
    return text.isEmpty() ? first : first + QLatin1Char('\n') + text;
}

// The sentence for a PostgreSQL failure from its SQLSTATE, or from the connection found gone.
QString pgFirst(const QString &sqlstate, bool gone)
{
    if (sqlstate == QLatin1String("55P03") || sqlstate == QLatin1String("40P01")) // lock_timeout, deadlock
        return msg::kLockWait;
    if (sqlstate == QLatin1String("57014")) // statement_timeout
        return msg::kStatementTooLong;
    if (sqlstate == QLatin1String("53100")) // disk_full
        return msg::kDiskFull;
    if (gone || sqlstate.startsWith(QLatin1String("08")) || sqlstate.startsWith(QLatin1String("57P")))
        return msg::kServerUnreachable; // the connection, or the server, is gone
    return msg::kDatabaseFailed;
}

QString sqliteFirst(int code, const QString &text, const QString &path)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) // another program holds the write lock
        return msg::kLockWait;
    if (primary == SQLITE_FULL)
        return msg::kDiskFull;
    if (primary == SQLITE_READONLY || text.contains(QLatin1String("readonly database")))
        return msg::readOnlyFile(path); // the file (or its folder) cannot be written
    return msg::kDatabaseFailed;
}

} // namespace

QString errorText(const QSqlDatabase &db, const QSqlError &error)
{
    const QString text = error.text();
    if (isPostgres(db))
        return withDriverText(pgFirst(error.nativeErrorCode(), broken(db)), text);
    if (db.driverName() == QLatin1String("QSQLITE"))
        return withDriverText(sqliteFirst(error.nativeErrorCode().toInt(), text, db.databaseName()), text);
    return withDriverText(msg::kDatabaseFailed, text);
}

QString failureText(pg_conn *conn, const pg_result *result)
{
    QString text = QString::fromUtf8(result ? PQresultErrorMessage(result) : "").trimmed();
    if (text.isEmpty())
        text = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    const QString sqlstate = result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    return withDriverText(pgFirst(sqlstate, PQstatus(conn) == CONNECTION_BAD), text);
}

QString failureText(sqlite3 *handle)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(handle));
    const char *path = sqlite3_db_filename(handle, "main");
    return withDriverText(sqliteFirst(sqlite3_extended_errcode(handle), text, QString::fromUtf8(path ? path : "")), text);
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
    {
        const ServerWait wait(db);
        try {
            read();
            return;
        } catch (const DbError &e) {
            wait.check(e.message());
            if (!connectionLost(db))
                throw DbError(e.message().trimmed().isEmpty() ? msg::kDatabaseFailed : e.message());
            failed = e.message();
        }
    }
    reopen(db);
    if (inTransaction(db))
        throwUnreachable(failed);
    const ServerWait wait(db);
    try {
        read();
    } catch (const DbError &e) {
        wait.check(e.message());
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
        bool begun;
        {
            const ServerWait wait(db);
            begun = db.transaction();
            if (!begun)
                wait.check(db.lastError().text());
        }
        if (!begun) {
            const QSqlError err = db.lastError();
            if (!connectionLost(db))
                throw DbError(errorText(db, err));
            reopen(db);
            const ServerWait wait(db);
            if (!db.transaction()) {
                wait.check(db.lastError().text());
                throw DbError(errorText(db, db.lastError()));
            }
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

Outcome outcomeOf(const QSqlDatabase &db, qint64 xid, int backend)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(qMax(2, bounds(db).connectSeconds));
    bool ended = false;
    try {
        while (true) {
            QSqlQuery q = execute(db, QStringLiteral("select txid_status(?)"), {xid}, ForwardOnly);
            if (!q.next() || q.value(0).isNull())
                return Outcome::Unknown; // too old for the server to say
            const QString said = q.value(0).toString();
            if (said == QLatin1String("committed"))
                return Outcome::Committed;
            if (said == QLatin1String("aborted"))
                return Outcome::Aborted;
            // In progress: the old session still holds it. Ended, the server decides at once.
            if (!ended && backend > 0) {
                execute(db,
                        QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where pid=? and backend_xid::text=?"),
                        {backend, QString::number(quint64(xid) & 0xffffffffu)});
                ended = true;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return Outcome::Unknown;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    } catch (const AppError &) {
        return Outcome::Unknown;
    }
}

void commit(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    if (!leave(db))
        throwUnreachable(QString());
    // What names the transaction on the server, should the answer to its commit be lost; none
    // when it wrote nothing.
    qint64 xid = 0;
    int backend = 0;
    QString asked; // what the driver said when the transaction could not be named
    if (isPostgres(db)) {
        const ServerWait wait(db);
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select txid_current_if_assigned()")) && q.next()) {
            xid = q.value(0).toLongLong();
        } else {
            asked = q.lastError().text();
            wait.check(asked); // the commit was never sent: nothing was kept
        }
        if (const PGconn *c = pgHandle(db))
            backend = PQbackendPID(c);
    }
    bool silent = false;
    {
        const ServerWait wait(db);
        if (db.commit())
            return;
        silent = wait.expired();
        if (silent && xid <= 0)
            wait.check(db.lastError().text()); // nothing written: the command stopped
    }
    const QSqlError err = db.lastError();
    if (silent || connectionLost(db)) {
        if (xid > 0) {
            // The answer is lost, not necessarily the commit: the server is asked.
            switch (outcomeOf(db, xid, backend)) {
            case Outcome::Committed:
                return;
            case Outcome::Aborted:
                throw DbError(withDriverText(msg::kNotWritten, err.text()));
            case Outcome::Unknown:
                throw OutcomeUnknown(withDriverText(msg::kOutcomeUnknown, err.text()), xid, backend);
            }
        }
        // The server dropped the connection before the commit: nothing of the change stays.
        try {
            reopen(db);
        } catch (const DbError &) {
        }
        throwUnreachable(err.text().trimmed().isEmpty() ? asked : err.text());
    }
    db.rollback();
    throw DbError(errorText(db, err));
}

void rollback(const QSqlDatabase &handle)
{
    QSqlDatabase db = handle;
    const ServerWait wait(db);
    if (leave(db) && db.isOpen())
        db.rollback();
}

} // namespace dbconn
