#include "core/dm_u.h"

#include "core/connection.h"
#include "core/errors.h"
#include "core/collation.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <vector>
#include <sqlite3.h>

namespace {

// The collation "fa"; and how long a write waits for another program's write lock.
void setUpSqliteHandle(QSqlDatabase &db, int busyMs)
{
    if (sqlite3 *handle = dbconn::sqliteHandle(db)) {
        sqlite3_create_collation(handle, "fa", SQLITE_UTF8, nullptr, persianCollateUtf8);
        sqlite3_busy_timeout(handle, busyMs);
    }
}

// An embedded database is written beside itself (its journal files), so both the file and its
// folder must be writable; SQLite would open a read-only file and fail at the first write.
void checkWritable(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isWritable())
        throw DbError(msg::readOnlyFile(QDir::toNativeSeparators(file.absoluteFilePath())));
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && !folder.isWritable())
        throw DbError(msg::readOnlyFolder(QDir::toNativeSeparators(folder.absoluteFilePath())));
}

} // namespace

namespace {
std::vector<std::function<void(Tdm &)>> &querySetups()
{
    static std::vector<std::function<void(Tdm &)>> setups;
    return setups;
}
} // namespace

bool Tdm::addQuerySetup(std::function<void(Tdm &)> setup)
{
    querySetups().push_back(std::move(setup));
    return true;
}

Tdm::Tdm(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("dm"));
    const QString id = QUuid::createUuid().toString(QUuid::Id128);
    m_mainName = QStringLiteral("ADOConnection1_") + id;
    m_protName = QStringLiteral("ADOConn_prot_") + id;
    m_readerName = QStringLiteral("ADOConnection1_reader_") + id;
    auto make = [this](const char *name) { return new DataSet(QString::fromLatin1(name), this); };
    ADOQuery1 = make("ADOQuery1");
    ADOQuery2 = make("ADOQuery2");
    adoq_set = make("adoq_set");
    ADOQ_dastrasi = make("ADOQ_dastrasi");
    ADOQ_abadiha = make("ADOQ_abadiha");
    ADOQ_prot = make("ADOQ_prot");
    ADOQ_ghir = make("ADOQ_ghir");
    ADOQ_naft = make("ADOQ_naft");
    ADOQ_peymankar = make("ADOQ_peymankar");
    ADOQ_khadamat = make("ADOQ_khadamat");
    ADOQ_proj = make("ADOQ_proj");
    ADOQ_etb = make("ADOQ_etb");
    for (const auto &setup : querySetups())
        setup(*this);
}

Tdm::~Tdm()
{
    disconnectAll();
}

void Tdm::openConnection(const QString &name, const DbProfile &p, bool *isPg)
{
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(p.driver, name);
    const DbProfile::Bounds bounds = p.bounds;
    if (p.isPostgres()) {
        db.setHostName(p.host);
        db.setPort(p.port);
        db.setDatabaseName(p.database);
        db.setUserName(p.user);
        db.setPassword(p.password);
        // A server that does not answer the connection is given up after its bound; one that
        // goes away under an open connection (network, power) is noticed by TCP within
        // half a minute.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=10;"
                                            "keepalives_interval=5;keepalives_count=3;tcp_user_timeout=30000")
                                 .arg(qMax(2, bounds.connectSeconds)));
    } else {
        try {
            checkWritable(p.path);
        } catch (...) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        db.setDatabaseName(p.path);
    }
    try {
        dbconn::open(db, bounds);
    } catch (...) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw;
    }
    *isPg = p.isPostgres();
    // The session set-up runs again whenever a dropped server connection is reopened.
    const bool pg = p.isPostgres();
    const QString schema = p.schema;
    dbconn::SessionSetup setup = [pg, schema, bounds](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (pg) {
            q.exec(QStringLiteral("SET client_encoding TO 'UTF8'"));
            // The server's notices ("already exists, skipping" ...) are not sent: nothing would
            // show them but the standard error stream, which `--set-password` keeps for its answer.
            q.exec(QStringLiteral("SET client_min_messages TO warning"));
            // The server's own bounds: a lock wait (a row or the write lock another workstation
            // holds) and one statement.
            q.prepare(QStringLiteral("select set_config('lock_timeout', ?, false), set_config('statement_timeout', ?, false)"));
            q.addBindValue(QString::number(qMax(0, bounds.lockMs)));
            q.addBindValue(QString::number(qMax(0, bounds.statementSeconds) * 1000));
            if (!q.exec())
                throw DbError(dbconn::errorText(db, q.lastError()));
            if (!schema.isEmpty()) {
                // Created once; a second connection (or a reopened one) only selects it.
                q.prepare(QStringLiteral("select count(*) from pg_namespace where nspname=?"));
                q.addBindValue(schema);
                const bool exists = q.exec() && q.next() && q.value(0).toInt() > 0;
                if ((!exists && !q.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS \"%1\"").arg(schema)))
                    || !q.exec(QStringLiteral("SET search_path TO \"%1\"").arg(schema)))
                    throw DbError(dbconn::errorText(db, q.lastError()));
            }
        } else {
            q.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
            q.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            q.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
            setUpSqliteHandle(db, qMax(0, bounds.lockMs));
        }
    };
    dbconn::setSessionSetup(name, setup, bounds);
    try {
        const dbconn::ServerWait wait(db);
        setup(db);
    } catch (...) {
        dbconn::forget(name);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw;
    }
}

void Tdm::connectMain(const DbProfile &profile)
{
    openConnection(m_mainName, profile, &m_postgres);
    m_mainProfile = profile;
    const QSqlDatabase db = ADOConnection1();
    for (DataSet *ds : findChildren<DataSet *>())
        if (ds != ADOQ_prot)
            ds->setDatabase(db);
}

void Tdm::connectProt(const DbProfile &profile)
{
    m_protConfigured = false;
    if (!profile.isSet())
        return;
    openConnection(m_protName, profile, &m_protPostgres);
    ADOQ_prot->setDatabase(ADOConn_prot());
    m_protConfigured = true;
}

void Tdm::disconnectAll()
{
    for (DataSet *ds : findChildren<DataSet *>()) {
        ds->close();
        ds->setDatabase(QSqlDatabase());
    }
    for (const QString &name : {m_mainName, m_protName, m_readerName}) {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        dbconn::forget(name);
    }
    m_protConfigured = false;
}

QSqlDatabase Tdm::ADOConnection1() const
{
    return QSqlDatabase::database(m_mainName, false);
}

QSqlDatabase Tdm::ADOConn_prot() const
{
    return QSqlDatabase::database(m_protName, false);
}

QSqlDatabase Tdm::readerConnection()
{
    if (!QSqlDatabase::contains(m_readerName) || !QSqlDatabase::database(m_readerName, false).isOpen()) {
        bool pg = false;
        openConnection(m_readerName, m_mainProfile, &pg);
    } else if (m_postgres) {
        // Kept open between reports: one that the server dropped meanwhile is opened again.
        dbconn::execute(QSqlDatabase::database(m_readerName, false), QStringLiteral("select 1"), {});
    }
    return QSqlDatabase::database(m_readerName, false);
}

int Tdm::exec(const QString &sql, const QVariantList &binds)
{
    return dbconn::execute(ADOConnection1(), sql, binds).numRowsAffected();
}

QVariant Tdm::scalar(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = dbconn::execute(ADOConnection1(), sql, binds, dbconn::ForwardOnly);
    return q.next() ? q.value(0) : QVariant();
}

void Tdm::transaction(const std::function<void()> &fn)
{
    const QSqlDatabase db = ADOConnection1();
    dbconn::begin(db);
    try {
        fn();
    } catch (...) {
        dbconn::rollback(db);
        throw;
    }
    dbconn::commit(db);
}

void Tdm::writeTransaction(const QString &lock, const std::function<void()> &fn)
{
    const QSqlDatabase db = ADOConnection1();
    // SQLite: BEGIN IMMEDIATE, the database's write lock taken before the first read.
    dbconn::begin(db, dbconn::WriteLock);
    try {
        if (m_postgres)
            dbconn::execute(db, QStringLiteral("select pg_advisory_xact_lock(hashtext(?))"), {lock});
        fn();
    } catch (...) {
        dbconn::rollback(db);
        throw;
    }
    dbconn::commit(db);
}
