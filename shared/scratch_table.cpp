#include "shared/scratch_table.h"
#include "core/connection.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/schema.h"
#include "db/values.h"
#include "core/busy.h"
#include "core/text_rules.h"
#include "shared/ui.h"

#include <QSqlDriver>
#include <QStringEncoder>
#include <QVector>
#include <cstdlib>
#include <libpq-fe.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The engine's copy is one "insert into ... select" on the main connection; the rows it made are
// then read back in their order (SQLite: the table by rowid; PostgreSQL: the same statement lists
// the rows it inserts). The program's copy sends the rows it builds through the database's own
// client library on the connections the data module opened: every value is still bound
// (sqlite3_bind_*, libpq's parameters), but without the per-value work of the generic layer.

QByteArrayView SourceRow::utf8(int column) const
{
    m_utf8 = text(column).toUtf8();
    return m_utf8;
}

namespace {

struct Cancelled {};

constexpr qint64 kProgressEvery = 1000;
constexpr int kPgValuesPerStatement = 4096;
constexpr int kSqliteValuesPerStatement = 700;

// "insert into table (columns) values (?,...),(?,...)" for `rows` rows.
QString insertSql(const ScratchFill &fill, int rows)
{
    const QString tuple = QLatin1Char('(') + QStringList(fill.columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                          + QLatin1Char(')');
    return QStringLiteral("insert into %1 (%2) values ").arg(fill.table, fill.columns.join(QLatin1Char(',')))
           + QStringList(rows, tuple).join(QLatin1Char(','));
}

// The engine's own handle of a connection (dbconn's lookup), which the fill cannot do without.
template <class Handle> Handle *required(Handle *h, const QSqlDatabase &db)
{
    if (!h)
        throw DbError(QStringLiteral("no engine handle for the driver %1").arg(db.driverName()));
    return h;
}

// A value as the client libraries take it: UTF-8 text, numbers with "." and 15 digits.
QByteArray valueText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return textrule::numberText(v.toDouble()).toUtf8();
    case QMetaType::Bool:
        return v.toBool() ? "1" : "0";
    default:
        return v.toString().toUtf8();
    }
}

// "?" placeholders as PostgreSQL's "$1", "$2" ... (the statements carry no quoted "?").
QByteArray dollarPlaceholders(const QString &sql)
{
    QString out;
    int n = 0;
    for (QChar c : sql) {
        if (c == QLatin1Char('?'))
            out += QLatin1Char('$') + QString::number(++n);
        else
            out += c;
    }
    return out.toUtf8();
}

// ---- SQLite ------------------------------------------------------------------------------------

class SqliteStatement {
public:
    SqliteStatement(sqlite3 *db, const QString &sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    // Binds the values; the texts go in as UTF-8, the database's own encoding (so that the engine
    // does not translate them), kept here until reset().
    void bind(const QVariantList &values, int first = 0)
    {
        for (int k = 0; k < values.size(); ++k) {
            const int i = first + k;
            const QVariant &v = values.at(k);
            int rc;
            switch (v.isNull() ? QMetaType::UnknownType : v.typeId()) {
            case QMetaType::UnknownType:
                rc = sqlite3_bind_null(m_stmt, i + 1);
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(m_stmt, i + 1, *static_cast<const double *>(v.constData()));
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
                rc = sqlite3_bind_int64(m_stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::QString: {
                const QString &t = *static_cast<const QString *>(v.constData());
                char *const begin = m_texts.reserve(size_t(t.size()) * 3 + 1);
                char *const end = m_encoder.appendToBuffer(begin, t);
                m_texts.commit(size_t(end - begin));
                rc = sqlite3_bind_text(m_stmt, i + 1, begin, int(end - begin), SQLITE_STATIC);
                break;
            }
            default: {
                const QByteArray t = valueText(v);
                rc = sqlite3_bind_text(m_stmt, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            }
            }
            if (rc != SQLITE_OK)
                fail();
        }
    }
    // True with a row, false at the end.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail();
        return false;
    }
    // Ready to run again; the texts bound are let go (every value is bound anew before the next run).
    void reset()
    {
        sqlite3_reset(m_stmt);
        m_texts.clear();
    }
    sqlite3_stmt *stmt() const { return m_stmt; }

private:
    [[noreturn]] void fail() const { throw DbError(dbconn::failureText(m_db)); }
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    // The bound texts, in blocks that stay where they are until they are let go.
    class Texts {
    public:
        char *reserve(size_t n)
        {
            if (m_blocks.empty() || m_used + n > m_size) {
                m_size = std::max(kBlock, n);
                m_blocks.push_back(std::make_unique<char[]>(m_size));
                m_used = 0;
            }
            return m_blocks.back().get() + m_used;
        }
        void commit(size_t n) { m_used += n; }
        void clear()
        {
            // The newest block (m_size long) is kept for the next run.
            if (m_blocks.size() > 1)
                m_blocks.erase(m_blocks.begin(), m_blocks.end() - 1);
            m_used = 0;
        }

    private:
        static constexpr size_t kBlock = 64 << 10;
        std::vector<std::unique_ptr<char[]>> m_blocks;
        size_t m_used = 0, m_size = 0;
    };
    Texts m_texts;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

// The texts of one column of a list, decoded once each: places, contractors and dates come again
// and again down a list, and a text handed out again shares its characters. A column whose texts
// seldom come again (letter numbers) is decoded as it comes.
class ColumnTexts {
public:
    QString text(const char *p, int n)
    {
        if (!m_keep)
            return QString::fromUtf8(p, n);
        const std::string_view bytes(p, size_t(n));
        if (const auto it = m_seen.find(bytes); it != m_seen.end()) {
            ++m_again;
            return it->second;
        }
        QString t = QString::fromUtf8(p, n);
        if (++m_new == kTrial && m_again < kTrial)
            m_keep = false; // fewer than half came again
        if (m_seen.size() >= kMax)
            m_seen.clear();
        if (m_keep)
            m_seen.emplace(std::string(bytes), t);
        return t;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static constexpr int kTrial = 512;
    static constexpr size_t kMax = 4096;
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_seen;
    int m_new = 0, m_again = 0;
    bool m_keep = true;
};

class SqliteRow : public SourceRow {
public:
    explicit SqliteRow(sqlite3_stmt *s) : m_s(s), m_texts(size_t(sqlite3_column_count(s))) {}
    bool isNull(int c) const override { return sqlite3_column_type(m_s, c) == SQLITE_NULL; }
    QString text(int c) const override
    {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_s, c));
        return t ? m_texts[size_t(c)].text(t, sqlite3_column_bytes(m_s, c)) : QString();
    }
    double number(int c) const override { return sqlite3_column_double(m_s, c); }
    bool isEmpty(int c) const override { return sqlite3_column_bytes(m_s, c) == 0; }
    QByteArrayView utf8(int c) const override
    {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_s, c));
        return t ? QByteArrayView(t, sqlite3_column_bytes(m_s, c)) : QByteArrayView();
    }

private:
    sqlite3_stmt *m_s;
    mutable std::vector<ColumnTexts> m_texts;
};

// Rows written many to a statement: the rows of a full statement bound as they come (their
// texts kept until it runs), the last rows with a statement of their own.
class SqliteWriter {
public:
    SqliteWriter(sqlite3 *db, const ScratchFill &fill)
        : m_db(db), m_fill(fill), m_perStatement(qMax(1, kSqliteValuesPerStatement / int(fill.columns.size())))
    {
    }
    void add(const QVariantList &row)
    {
        if (!m_full)
            m_full = std::make_unique<SqliteStatement>(m_db, insertSql(m_fill, m_perStatement));
        m_held.append(row); // kept for the last rows' own statement
        m_full->bind(m_held.last(), m_rows * int(m_fill.columns.size()));
        if (++m_rows == m_perStatement) {
            m_full->step();
            m_full->reset();
            m_held.clear();
            m_rows = 0;
        }
    }
    void finish()
    {
        if (m_rows == 0)
            return;
        SqliteStatement tail(m_db, insertSql(m_fill, m_rows));
        for (int r = 0; r < m_rows; ++r)
            tail.bind(m_held.at(r), r * int(m_fill.columns.size()));
        tail.step();
        m_held.clear();
        m_rows = 0;
    }

private:
    sqlite3 *m_db;
    const ScratchFill &m_fill;
    int m_perStatement;
    std::unique_ptr<SqliteStatement> m_full;
    QList<QVariantList> m_held;
    int m_rows = 0;
};

// ---- PostgreSQL --------------------------------------------------------------------------------

struct PgResult {
    PGresult *r = nullptr;
    explicit PgResult(PGresult *res = nullptr) : r(res) {}
    ~PgResult() { PQclear(r); }
    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;
    void reset(PGresult *res) { PQclear(r); r = res; }
};

[[noreturn]] void pgFail(PGconn *conn, PGresult *r = nullptr)
{
    throw DbError(dbconn::failureText(conn, r));
}

// Parameters as libpq takes them: texts kept alive with their pointers (null for SQL null).
struct PgParams {
    QVector<QByteArray> texts;
    QVector<const char *> values;
    void set(const QVariantList &binds)
    {
        texts.resize(binds.size());
        values.resize(binds.size());
        for (int i = 0; i < binds.size(); ++i) {
            texts[i] = binds.at(i).isNull() ? QByteArray() : valueText(binds.at(i));
            values[i] = binds.at(i).isNull() ? nullptr : texts[i].constData();
        }
    }
};

// The list read one row at a time (libpq's single-row mode) on a connection of its own.
class PgReader : public SourceRow {
public:
    PgReader(PGconn *conn, const QString &sql, const QVariantList &binds) : m_conn(conn)
    {
        PgParams p;
        p.set(binds);
        if (!PQsendQueryParams(conn, dollarPlaceholders(sql).constData(), int(binds.size()), nullptr,
                               p.values.constData(), nullptr, nullptr, 0)
            || !PQsetSingleRowMode(conn))
            pgFail(conn);
    }
    ~PgReader() override
    {
        // A list left before its end (a failure, Cancel) is stopped on the server; what is left
        // is read off, so the connection serves its next statement. A connection already cut
        // (the server gone or silent) is left alone: a cancel would wait on that server.
        if (m_row.r && PQresultStatus(m_row.r) == PGRES_SINGLE_TUPLE && PQconsumeInput(m_conn)
            && PQstatus(m_conn) == CONNECTION_OK) {
            if (PGcancel *cancel = PQgetCancel(m_conn)) {
                char error[256];
                PQcancel(cancel, error, sizeof error);
                PQfreeCancel(cancel);
            }
        }
        m_row.reset(nullptr);
        while (PGresult *r = PQgetResult(m_conn))
            PQclear(r);
    }
    bool next()
    {
        m_row.reset(PQgetResult(m_conn));
        if (!m_row.r)
            return false;
        switch (PQresultStatus(m_row.r)) {
        case PGRES_SINGLE_TUPLE:
            return true;
        case PGRES_TUPLES_OK:
            return false;
        default:
            pgFail(m_conn, m_row.r);
        }
    }
    bool isNull(int c) const override { return PQgetisnull(m_row.r, 0, c); }
    QString text(int c) const override
    {
        return QString::fromUtf8(PQgetvalue(m_row.r, 0, c), PQgetlength(m_row.r, 0, c));
    }
    double number(int c) const override { return isNull(c) ? 0 : std::strtod(PQgetvalue(m_row.r, 0, c), nullptr); }
    bool isEmpty(int c) const override { return PQgetlength(m_row.r, 0, c) == 0; }
    QByteArrayView utf8(int c) const override { return QByteArrayView(PQgetvalue(m_row.r, 0, c), PQgetlength(m_row.r, 0, c)); }

private:
    PGconn *m_conn;
    PgResult m_row;
};

// Rows written many to a statement, in libpq's pipeline mode: each statement is sent without
// waiting for the one before, so the server inserts while the next rows are read and built.
// The full statement is prepared once as the session's unnamed statement, the last rows go with
// their own; finish() waits for every answer.
class PgWriter {
public:
    PgWriter(PGconn *conn, const ScratchFill &fill) : m_conn(conn), m_fill(fill)
    {
        m_perStatement = qMax(1, kPgValuesPerStatement / int(fill.columns.size()));
        if (!PQenterPipelineMode(conn))
            pgFail(conn);
    }
    ~PgWriter() { sync(); } // after a failure elsewhere: the answers read, the pipeline left
    void add(const QVariantList &row)
    {
        m_batch += row;
        if (++m_rows == m_perStatement)
            send();
    }
    void finish()
    {
        send();
        sync();
        if (!m_error.isEmpty())
            throw DbError(m_error);
    }

private:
    void send()
    {
        if (m_rows == 0)
            return;
        m_params.set(m_batch);
        const int n = int(m_batch.size());
        bool sent;
        if (m_rows == m_perStatement) {
            if (!m_fullPrepared) {
                if (!PQsendPrepare(m_conn, "", insertSql(m_rows).constData(), n, nullptr))
                    pgFail(m_conn);
                ++m_commands;
                m_fullPrepared = true;
            }
            sent = PQsendQueryPrepared(m_conn, "", n, m_params.values.constData(), nullptr, nullptr, 0);
        } else {
            sent = PQsendQueryParams(m_conn, insertSql(m_rows).constData(), n, nullptr, m_params.values.constData(),
                                     nullptr, nullptr, 0);
        }
        if (!sent)
            pgFail(m_conn);
        ++m_commands;
        m_batch.clear();
        m_rows = 0;
    }
    // Ends the pipeline: every command's answer read (the first failure kept), then the sync's.
    void sync()
    {
        if (m_synced)
            return;
        m_synced = true;
        if (PQpipelineSync(m_conn)) {
            int ends = 0; // one null result closes each command's answers
            while (ends <= m_commands) {
                PgResult r(PQgetResult(m_conn));
                if (!r.r) {
                    ++ends;
                    continue;
                }
                const ExecStatusType status = PQresultStatus(r.r);
                if (status == PGRES_PIPELINE_SYNC)
                    break;
                if (status == PGRES_FATAL_ERROR && m_error.isEmpty())
                    m_error = dbconn::failureText(m_conn, r.r);
            }
        } else if (m_error.isEmpty()) {
            m_error = dbconn::failureText(m_conn, nullptr);
        }
        PQexitPipelineMode(m_conn);
    }
    QByteArray insertSql(int rows) const
    {
        QStringList tuples;
        int n = 0;
        for (int r = 0; r < rows; ++r) {
            QStringList marks;
            for (int c = 0; c < m_fill.columns.size(); ++c)
                marks << QLatin1Char('$') + QString::number(++n);
            tuples << QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        return (QStringLiteral("insert into %1 (%2) values ").arg(m_fill.table, m_fill.columns.join(QLatin1Char(',')))
                + tuples.join(QLatin1Char(',')))
            .toUtf8();
    }
    PGconn *m_conn;
    const ScratchFill &m_fill;
    int m_perStatement = 1;
    QVariantList m_batch;
    int m_rows = 0;
    int m_commands = 0;
    bool m_fullPrepared = false;
    bool m_synced = false;
    QString m_error;
    PgParams m_params;
};

// ---- the fill -----------------------------------------------------------------------------------

// A text longer than its column is refused on both databases alike.
class WidthCheck {
public:
    explicit WidthCheck(const ScratchFill &fill) : m_fill(fill)
    {
        for (const QString &c : fill.columns) {
            const db::ColumnDef *def = db::findColumn(fill.table, c);
            m_widths << (def && def->type == db::ColType::Text ? def->length : 0);
        }
    }
    void operator()(const QVariantList &row) const
    {
        for (int i = 0; i < row.size() && i < m_widths.size(); ++i)
            if (m_widths.at(i) > 0 && row.at(i).typeId() == QMetaType::QString
                && row.at(i).toString().size() > m_widths.at(i))
                db::columnValue(m_fill.table, m_fill.columns.at(i), row.at(i).toString()); // throws
    }

    // The same for a row as the table holds it: a text whose bytes fit is short enough.
    void operator()(const SourceRow &row) const
    {
        for (int i = 0; i < m_widths.size(); ++i) {
            if (m_widths.at(i) <= 0 || row.isNull(i))
                continue;
            const QByteArrayView bytes = row.utf8(i);
            if (bytes.size() > m_widths.at(i))
                db::columnValue(m_fill.table, m_fill.columns.at(i), QString::fromUtf8(bytes)); // throws when too long
        }
    }

private:
    const ScratchFill &m_fill;
    QList<int> m_widths;
};

QString sourceSelect(const ScratchFill &fill, const QString &list)
{
    return QStringLiteral("select %1 %2\n order by %3").arg(list, fill.from, fill.order);
}

// ---- the engine's copy --------------------------------------------------------------------------

// The number of the SQLite expression ScratchNumberSql gives: the value rounded as the program
// writes a number.
void sqliteNumber(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_double(context, textrule::numberText(sqlite3_value_double(args[0])).toDouble());
}
constexpr const char *kSqliteNumber = "varnoset_number";

// The function on a connection, defined once: defining it again would wait for the connection's
// running statements.
void defineSqliteNumber(sqlite3 *db)
{
    sqlite3_stmt *probe = nullptr;
    const bool known = sqlite3_prepare_v2(db, "select varnoset_number(0)", -1, &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    if (!known
        && sqlite3_create_function_v2(db, kSqliteNumber, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &sqliteNumber,
                                      nullptr, nullptr, nullptr)
               != SQLITE_OK)
        throw DbError(dbconn::failureText(db));
}

// A row of the table as the caller is handed it: by the column's type, a text as QString, a
// number as double; a null stays null.
class TypedRow {
public:
    explicit TypedRow(const ScratchFill &fill)
    {
        for (const QString &c : fill.columns) {
            const db::ColumnDef *def = db::findColumn(fill.table, c);
            m_text << (!def || def->type == db::ColType::Text);
        }
    }
    void read(const SourceRow &source, QVariantList &row) const
    {
        row.clear();
        for (int c = 0; c < m_text.size(); ++c) {
            if (source.isNull(c))
                row << QVariant();
            else if (m_text.at(c))
                row << source.text(c);
            else
                row << source.number(c);
        }
    }

private:
    QList<bool> m_text;
};

// "insert into table (columns) select values from ... order by ...".
QString copySql(const ScratchFill &fill)
{
    return QStringLiteral("insert into %1 (%2) ").arg(fill.table, fill.columns.join(QLatin1Char(',')))
           + sourceSelect(fill, fill.values.join(QLatin1Char(',')));
}

// PostgreSQL's copy that also lists the rows it inserts, in the source's order, each with the
// number of rows: the source's values numbered once, inserted, and listed by their numbers.
QString pgCopyListedSql(const ScratchFill &fill)
{
    QStringList named;
    QStringList names;
    for (int c = 0; c < fill.values.size(); ++c) {
        names << QStringLiteral("v%1").arg(c);
        named << QStringLiteral("%1 as v%2").arg(fill.values.at(c)).arg(c);
    }
    const QString list = names.join(QLatin1Char(','));
    return QStringLiteral("with src as (select %1,row_number() over (order by %2) as n %3),\n"
                          "ins as (insert into %4 (%5) select %6 from src order by n)\n"
                          "select %6,(select count(*) from src) from src order by n")
        .arg(named.join(QLatin1Char(',')), fill.order, fill.from, fill.table, fill.columns.join(QLatin1Char(',')),
             list);
}

// Runs one statement on PostgreSQL without rows; the rows it changed.
qint64 pgRun(PGconn *conn, const QString &sql, const QVariantList &binds)
{
    PgParams p;
    p.set(binds);
    PgResult r(PQexecParams(conn, dollarPlaceholders(sql).constData(), int(binds.size()), nullptr,
                            p.values.constData(), nullptr, nullptr, 0));
    if (PQresultStatus(r.r) != PGRES_COMMAND_OK)
        pgFail(conn, r.r);
    return QByteArray(PQcmdTuples(r.r)).toLongLong();
}

} // namespace

QString ScratchNumberSql(const QString &expression, bool postgres)
{
    if (!postgres)
        return QStringLiteral("%1(%2)").arg(QLatin1String(kSqliteNumber), expression);
    // A float turned into numeric keeps 15 significant digits; below 0.0001 the program writes
    // 15 decimals, from 10^15 on the number itself.
    const QString x = QLatin1Char('(') + expression + QLatin1Char(')');
    return QStringLiteral("(case when abs(%1)>=1e15 then %1 when abs(%1)<1e-4 then round(%1::numeric,15)::float8 "
                          "else %1::numeric::float8 end)")
        .arg(x);
}

namespace {

// The engine makes the table; the rows it made are handed over as it holds them.
bool engineCopy(AppContext &ctx, const ScratchFill &fill, QWidget *parent)
{
    Tdm &dm = *ctx.dm;
    const TypedRow typed(fill);
    std::unique_ptr<Ui::Progress> progress;
    auto startProgress = [&](qint64 total) {
        if (!progress)
            progress = ctx.ui->startProgress(fill.progressText, total, parent);
    };
    qint64 done = 0;
    QVariantList row;
    const WidthCheck checkWidths(fill);
    auto take = [&](const SourceRow &source) {
        checkWidths(source);
        if (fill.listed) {
            fill.listed(source);
        } else {
            typed.read(source, row);
            fill.written(row);
        }
        if (++done % kProgressEvery == 0 && !progress->step(done))
            throw Cancelled{};
    };
    try {
        dm.writeTransaction(fill.table, [&] {
            dm.exec(QStringLiteral("delete from %1").arg(fill.table));
            if (dm.isPostgres()) {
                const QSqlDatabase db = dm.ADOConnection1();
                const dbconn::ServerWait wait(db);
                try {
                    PGconn *conn = required(dbconn::pgHandle(db), db);
                    if (!fill.written && !fill.listed) {
                        done = pgRun(conn, copySql(fill), fill.binds);
                    } else {
                        PgReader source(conn, pgCopyListedSql(fill), fill.binds);
                        const int count = int(fill.columns.size());
                        while (source.next()) {
                            startProgress(qint64(source.number(count)));
                            take(source);
                        }
                    }
                } catch (const DbError &e) {
                    wait.check(e.message().section(QLatin1Char('\n'), 1));
                    throw;
                }
            } else {
                sqlite3 *db = required(dbconn::sqliteHandle(dm.ADOConnection1()), dm.ADOConnection1());
                defineSqliteNumber(db);
                SqliteStatement copy(db, copySql(fill));
                copy.bind(fill.binds);
                copy.step();
                const qint64 rows = sqlite3_changes64(db);
                if (!fill.written && !fill.listed) {
                    done = rows;
                } else {
                    // The rows by rowid: in the order the copy inserted them.
                    startProgress(rows);
                    SqliteStatement listed(db, QStringLiteral("select %1 from %2 order by rowid")
                                                   .arg(fill.columns.join(QLatin1Char(',')), fill.table));
                    const SqliteRow current(listed.stmt());
                    while (listed.step())
                        take(current);
                }
            }
            startProgress(done);
            if (!progress->step(done))
                throw Cancelled{};
        });
    } catch (const Cancelled &) {
        return false;
    }
    return true;
}

// The program builds each row from the list read row by row and writes it.
bool programCopy(AppContext &ctx, const ScratchFill &fill, QWidget *parent)
{
    Tdm &dm = *ctx.dm;
    const qint64 total = dm.scalar(QStringLiteral("select count(*) ") + fill.from, fill.binds).toLongLong();
    const std::unique_ptr<Ui::Progress> progress = ctx.ui->startProgress(fill.progressText, total, parent);
    const WidthCheck checkWidths(fill);
    const QString sourceSql = sourceSelect(fill, fill.select);
    qint64 done = 0;
    QVariantList row;
    // One source row: built, checked, handed to the caller and written.
    auto take = [&](const SourceRow &source, const std::function<void(const QVariantList &)> &write) {
        row.clear();
        if (fill.build(source, row)) {
            checkWidths(row);
            if (fill.written)
                fill.written(row);
            write(row);
        }
        if (++done % kProgressEvery == 0 && !progress->step(done))
            throw Cancelled{};
    };
    try {
        // Another workstation's run of the same report waits here until this one commits, and
        // then empties what this one wrote.
        dm.writeTransaction(fill.table, [&] {
            dm.exec(QStringLiteral("delete from %1").arg(fill.table));
            if (dm.isPostgres()) {
                // The list comes on a second connection while the main one writes. A server that
                // gives no answer on either is cut off, and the command says so.
                const QSqlDatabase reader = dm.readerConnection();
                const dbconn::ServerWait readerWait(reader), writerWait(dm.ADOConnection1());
                try {
                    PgReader source(required(dbconn::pgHandle(reader), reader), sourceSql, fill.binds);
                    PgWriter writer(required(dbconn::pgHandle(dm.ADOConnection1()), dm.ADOConnection1()), fill);
                    while (source.next())
                        take(source, [&](const QVariantList &r) { writer.add(r); });
                    writer.finish();
                } catch (const DbError &e) {
                    readerWait.check(e.message().section(QLatin1Char('\n'), 1));
                    writerWait.check(e.message().section(QLatin1Char('\n'), 1));
                    throw;
                }
            } else {
                sqlite3 *db = required(dbconn::sqliteHandle(dm.ADOConnection1()), dm.ADOConnection1());
                SqliteStatement source(db, sourceSql);
                source.bind(fill.binds);
                SqliteWriter writer(db, fill);
                const SqliteRow current(source.stmt());
                while (source.step())
                    take(current, [&](const QVariantList &r) { writer.add(r); });
                writer.finish();
            }
            if (!progress->step(done))
                throw Cancelled{};
        });
    } catch (const Cancelled &) {
        return false;
    }
    return true;
}

} // namespace

bool ReplaceScratchRows(AppContext &ctx, const ScratchFill &fill, QWidget *parent)
{
    const BusyCursor busy;
    return fill.values.isEmpty() ? programCopy(ctx, fill, parent) : engineCopy(ctx, fill, parent);
}
