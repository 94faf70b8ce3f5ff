#include "core/fetch.h"

#include "core/connection.h"
#include "core/errors.h"
#include "core/rowstore.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdlib>
#include <cstring>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Rows read between two reports to the listener.
constexpr int kBatch = 2000;

// ---- SQLite ----

void bindSqlite(sqlite3_stmt *st, int i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        sqlite3_bind_int64(st, i, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime: {
        const QByteArray t = v.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
        sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDate: {
        const QByteArray t = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
    }
}

// A refusal of the engine, said as every failure is (a Persian sentence, its text below).
[[noreturn]] void sqliteFail(sqlite3 *h)
{
    throw DbError(dbconn::failureText(h));
}

void selectSqlite(sqlite3 *h, const QString &sql, const QVariantList &binds, RowStore &store,
                  const dbfetch::Listener &listener)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        sqliteFail(h);
    }
    struct Finalize {
        sqlite3_stmt *st;
        ~Finalize() { sqlite3_finalize(st); }
    } finalize{st};
    const int wanted = sqlite3_bind_parameter_count(st);
    for (int i = 0; i < binds.size() && i < wanted; ++i)
        bindSqlite(st, i + 1, binds.at(i));
    const int n = sqlite3_column_count(st);
    QStringList fields;
    for (int i = 0; i < n; ++i)
        fields << QString::fromUtf8(sqlite3_column_name(st, i));
    if (listener.fields)
        listener.fields(fields);
    int rc;
    int rows = 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER:
                store.addInt(sqlite3_column_int64(st, i));
                break;
            case SQLITE_FLOAT:
                store.addDouble(sqlite3_column_double(st, i));
                break;
            case SQLITE_TEXT: {
                const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                store.addText(p, sqlite3_column_bytes(st, i));
                break;
            }
            case SQLITE_BLOB: {
                const auto *p = static_cast<const char *>(sqlite3_column_blob(st, i));
                store.addBytes(RowStore::Blob, p, sqlite3_column_bytes(st, i));
                break;
            }
            default:
                store.addNull();
            }
        }
        store.endRow();
        if (++rows % kBatch == 0 && listener.progress && !listener.progress(rows))
            return;
    }
    if (rc != SQLITE_DONE)
        sqliteFail(h);
}

// ---- PostgreSQL ----

enum PgOid : Oid {
    kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
    kDate = 1082, kTime = 1083, kTimestamp = 1114, kTimestampTz = 1184, kNumeric = 1700,
};

QByteArray pgParam(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QByteArray:
        return "\\x" + v.toByteArray().toHex();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

// A failure as the user reads it; a connection found gone keeps the driver's text alone, for the
// caller reopens it (dbconn::read) and says so.
QString pgError(PGconn *c, const PGresult *r = nullptr)
{
    if (PQstatus(c) == CONNECTION_BAD) {
        const QString msg = QString::fromUtf8(r ? PQresultErrorMessage(r) : "").trimmed();
        return msg.isEmpty() ? QString::fromUtf8(PQerrorMessage(c)).trimmed() : msg;
    }
    return dbconn::failureText(c, r);
}


void addPgRows(PGresult *r, RowStore &store, const std::vector<Oid> &types)
{
    const int rows = PQntuples(r);
    const int n = int(types.size());
    for (int row = 0; row < rows; ++row) {
        for (int i = 0; i < n; ++i) {
            if (PQgetisnull(r, row, i)) {
                store.addNull();
                continue;
            }
            const char *p = PQgetvalue(r, row, i);
            const int len = PQgetlength(r, row, i);
            switch (types[size_t(i)]) {
            case kInt2:
            case kInt4:
            case kInt8:
            case kOid:
            case kFloat4:
            case kFloat8:
                // Kept as the server wrote them and read as numbers when a cell is read: most
                // of a long listing's cells are never looked at.
                store.addBytes(RowStore::NumberText, p, len);
                break;
            case kNumeric:
                // The money columns and their sums: their text stays exact.
                store.addBytes(RowStore::Decimal, p, len);
                break;
            case kBool:
                store.addBool(p[0] == 't');
                break;
            case kBytea: {
                size_t out = 0;
                unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(p), &out);
                store.addBytes(RowStore::Blob, reinterpret_cast<const char *>(bytes), int(out));
                PQfreemem(bytes);
                break;
            }
            case kDate:
                store.addBytes(RowStore::Date, p, len);
                break;
            case kTime:
                store.addBytes(RowStore::Time, p, len);
                break;
            case kTimestamp:
            case kTimestampTz: {
                // "2026-12-06 20:30:00.123" as ISO with a "T".
                QByteArray iso(p, len);
                if (iso.size() > 10 && iso[10] == ' ')
                    iso[10] = 'T';
                store.addBytes(RowStore::DateTime, iso.constData(), int(iso.size()));
                break;
            }
            default:
                store.addText(p, len);
            }
        }
        store.endRow();
    }
}

void selectPg(PGconn *c, const QString &sql, const QVariantList &binds, RowStore &store,
              const dbfetch::Listener &listener)
{
    std::vector<QByteArray> values;
    std::vector<const char *> params;
    values.reserve(size_t(binds.size()));
    for (const QVariant &v : binds) {
        const bool null = !v.isValid() || v.isNull();
        values.push_back(null ? QByteArray() : pgParam(v));
        params.push_back(null ? nullptr : values.back().constData());
    }
    // The statement runs as it is (its plan and the server's parallel workers as for any
    // statement); its rows are taken one at a time as they arrive, so libpq never holds the
    // whole result beside the listing.
    const QByteArray statement = dbfetch::pgPlaceholders(sql);
    if (!PQsendQueryParams(c, statement.constData(), int(params.size()), nullptr, params.data(), nullptr, nullptr, 0))
        throw DbError(pgError(c));
    PQsetSingleRowMode(c);
    std::vector<Oid> types;
    QString error;
    bool reading = true;
    int total = 0;
    // Every result is read to the end, whatever happened, so the connection is free after.
    while (PGresult *r = PQgetResult(c)) {
        const ExecStatusType st = PQresultStatus(r);
        if (st == PGRES_SINGLE_TUPLE || st == PGRES_TUPLES_OK) {
            if (types.empty() && error.isEmpty()) {
                QStringList fields;
                for (int i = 0; i < PQnfields(r); ++i) {
                    fields << QString::fromUtf8(PQfname(r, i));
                    types.push_back(PQftype(r, i));
                }
                if (listener.fields)
                    listener.fields(fields);
            }
            if (st == PGRES_SINGLE_TUPLE && reading && error.isEmpty()) {
                addPgRows(r, store, types);
                if (++total % kBatch == 0 && listener.progress)
                    reading = listener.progress(total);
            }
        } else if (error.isEmpty()) {
            error = pgError(c, r);
        }
        PQclear(r);
    }
    if (!error.isEmpty())
        throw DbError(error);
}

// ---- Any other driver ----

void selectQt(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, RowStore &store,
              const dbfetch::Listener &listener)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.prepare(sql))
        throw DbError(dbconn::errorText(db, q.lastError()));
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        throw DbError(dbconn::errorText(db, q.lastError()));
    const QSqlRecord rec = q.record();
    QStringList fields;
    for (int i = 0; i < rec.count(); ++i)
        fields << rec.fieldName(i);
    if (listener.fields)
        listener.fields(fields);
    int rows = 0;
    while (q.next()) {
        for (int i = 0; i < rec.count(); ++i)
            store.addVariant(q.value(i));
        store.endRow();
        if (++rows % kBatch == 0 && listener.progress && !listener.progress(rows))
            return;
    }
}

} // namespace

namespace dbfetch {

QByteArray pgPlaceholders(const QString &sql)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 16);
    int n = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char ch = in[i];
        if (ch == '\'' || ch == '"') {
            // A quoted text or name, with its doubled quotes, copied as it is.
            out += ch;
            for (++i; i < in.size(); ++i) {
                out += in[i];
                if (in[i] == ch) {
                    if (i + 1 < in.size() && in[i + 1] == ch) {
                        out += in[++i];
                        continue;
                    }
                    break;
                }
            }
        } else if (ch == '-' && i + 1 < in.size() && in[i + 1] == '-') {
            const qsizetype end = in.indexOf('\n', i);
            const qsizetype stop = end < 0 ? in.size() : end;
            out += in.mid(i, stop - i);
            i = stop - 1;
        } else if (ch == '?') {
            out += '$' + QByteArray::number(++n);
        } else {
            out += ch;
        }
    }
    return out;
}

void select(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, RowStore &store,
            const Listener &listener)
{
    if (sqlite3 *h = dbconn::sqliteHandle(db))
        selectSqlite(h, sql, binds, store, listener);
    else if (PGconn *c = dbconn::pgHandle(db))
        selectPg(c, sql, binds, store, listener);
    else
        selectQt(db, sql, binds, store, listener);
}

} // namespace dbfetch
