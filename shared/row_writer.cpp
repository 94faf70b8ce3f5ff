#include "shared/row_writer.h"

#include "core/connection.h"
#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/log.h"
#include "shared/ui.h"

#include <optional>

namespace {

// The last write of each connection whose outcome was not learned (the answer to its commit
// lost, the server not reached since), by what it wrote: asked again, the same write first asks
// the server what became of that one, so that a retry never stores a row twice.
struct Unresolved {
    QString write;
    qint64 xid = 0;
    int backend = 0;
    QVariant key;
};
QHash<QString, Unresolved> &unresolvedWrites()
{
    static QHash<QString, Unresolved> writes;
    return writes;
}

// What a write stores: its tables, columns and values (and the row an update writes).
QString writeText(const QList<RowWrite> &rows, const QVariant &key)
{
    QStringList parts;
    for (const RowWrite &r : rows) {
        parts << r.table << r.columns.join(QLatin1Char(','));
        for (const QVariant &v : r.values)
            parts << (v.isNull() ? QStringLiteral("\x01") : v.toString());
    }
    parts << key.toString();
    return parts.join(QChar(0x1f));
}

// The same write asked again after its outcome was not learned: kept by the server, it is the
// result (nothing is written again); not kept, nothing (it is written now); still not known, the
// clerk is told so again.
// `write` gives the write's text, made only when there is an unresolved write to compare with
// (an attachment's bytes are among the values).
std::optional<WriteResult> earlierAttempt(Tdm *dm, const std::function<QString()> &write)
{
    const QSqlDatabase db = dm->ADOConnection1();
    const auto it = unresolvedWrites().constFind(db.connectionName());
    if (it == unresolvedWrites().constEnd() || it->write != write())
        return std::nullopt;
    const Unresolved u = *it;
    switch (dbconn::outcomeOf(db, u.xid, u.backend)) {
    case dbconn::Outcome::Committed: {
        unresolvedWrites().remove(db.connectionName());
        WriteResult r;
        r.outcome = WriteResult::Written;
        r.key = u.key;
        return r;
    }
    case dbconn::Outcome::Aborted:
        unresolvedWrites().remove(db.connectionName());
        return std::nullopt;
    case dbconn::Outcome::Unknown:
        break;
    }
    throw OutcomeUnknown(msg::kOutcomeUnknown, u.xid, u.backend);
}

// Runs the write's transaction; an outcome not learned is kept to be asked by a retry, with the
// key the write gave its row (`key` as the transaction left it).
void remembering(Tdm *dm, const std::function<QString()> &write, const QVariant *key, const std::function<void()> &transaction)
{
    try {
        transaction();
    } catch (const OutcomeUnknown &e) {
        unresolvedWrites().insert(dm->ADOConnection1().connectionName(), {write(), e.xid(), e.backend(), *key});
        throw;
    }
}

QVariant valueOf(const RowWrite &row, const QString &column)
{
    for (int i = 0; i < row.columns.size(); ++i)
        if (row.columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return row.values.value(i);
    return {};
}

bool writes(const RowWrite &row, const QString &column)
{
    return row.columns.contains(column, Qt::CaseInsensitive);
}

// The sentences of the parents no longer there. Each parent found stays locked against a
// delete until the commit (PostgreSQL; SQLite's write lock keeps every other writer out).
QStringList parentsGone(Tdm *dm, const RowWrite &row)
{
    QStringList gone;
    for (const ParentDef &p : row.parents) {
        if (!writes(row, p.column))
            continue;
        const QVariant key = valueOf(row, p.column);
        const bool found = !key.isNull() && !key.toString().isEmpty()
                           && !dm->scalar(QStringLiteral("select %1 from %2 where %1=?%3")
                                              .arg(p.key, p.table, dm->isPostgres() ? QStringLiteral(" for share") : QString()),
                                          {key})
                                   .isNull();
        if (!found && !gone.contains(p.gone))
            gone << p.gone;
    }
    return gone;
}

// Whether another row holds the same natural key (`self`: the row an update writes).
bool isDuplicate(Tdm *dm, const RowWrite &row, const QVariant &self = {})
{
    if (row.duplicateKey.isEmpty())
        return false;
    QStringList conditions;
    QVariantList binds;
    for (const QString &c : row.duplicateKey) {
        const QVariant v = valueOf(row, c);
        const db::ColumnDef *def = db::findColumn(row.table, c);
        // A text column (or, outside the schema, a text value) compares in the folded form.
        if (def ? def->type == db::ColType::Text : v.typeId() == QMetaType::QString) {
            conditions << db::foldedSql(c) + QStringLiteral("=?");
            binds << db::foldedText(v.toString());
        } else {
            conditions << c + QStringLiteral("=?");
            binds << v;
        }
    }
    if (!self.isNull()) {
        conditions << row.key + QStringLiteral("<>?");
        binds << self;
    }
    return dm->scalar(QStringLiteral("select count(*) from %1 where %2").arg(row.table, conditions.join(QStringLiteral(" and "))),
                      binds)
               .toLongLong()
           > 0;
}

// The window's refusals, the parents, the duplicate test: what stops the write.
QStringList refusalsOf(Tdm *dm, const RowWrite &row, const QVariant &self)
{
    QStringList refused = row.refusals ? row.refusals() : QStringList();
    // The parents no longer there are told together, in one message.
    const QStringList gone = parentsGone(dm, row);
    if (!gone.isEmpty())
        refused << gone.join(QLatin1Char('\n'));
    if (gone.isEmpty() && isDuplicate(dm, row, self))
        refused << row.duplicateMessage;
    return refused;
}

void finish(AppContext &ctx, const RowWrite &row, const QVariant &key)
{
    if (row.after)
        row.after(key);
    if (row.logText)
        if (const QString log = row.logText(); !log.isEmpty())
            WriteLog(ctx, log);
}

} // namespace

WriteResult InsertRows(AppContext &ctx, const QList<RowWrite> &rows)
{
    WriteResult result;
    if (rows.isEmpty())
        return result;
    Tdm *dm = ctx.dm;
    const auto write = [&] { return writeText(rows, {}); };
    if (std::optional<WriteResult> earlier = earlierAttempt(dm, write))
        return *earlier;
    remembering(dm, write, &result.key, [&] {
        dm->writeTransaction(rows.first().table, [&] {
            for (const RowWrite &row : rows)
                for (const QString &r : refusalsOf(dm, row, {}))
                    if (!result.refusals.contains(r))
                        result.refusals << r;
            if (!result.refusals.isEmpty())
                return;
            for (const RowWrite &row : rows) {
                const QString marks = QStringLiteral("?,").repeated(row.columns.size()).chopped(1);
                dm->exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(row.table, row.columns.join(QLatin1Char(',')), marks),
                         row.values);
                // The newest row is the one just written: the lock keeps other writers out.
                result.key = dm->scalar(QStringLiteral("select max(%1) from %2").arg(row.key, row.table));
                finish(ctx, row, result.key);
            }
            result.outcome = WriteResult::Written;
        });
    });
    return result;
}

WriteResult InsertRow(AppContext &ctx, const RowWrite &row)
{
    return InsertRows(ctx, {row});
}

WriteResult UpdateRow(AppContext &ctx, const RowWrite &row, const QVariant &key, const QHash<QString, QString> &loaded)
{
    WriteResult result;
    Tdm *dm = ctx.dm;
    const QString columns = row.columns.join(QLatin1Char(','));
    // What the row holds now is what the next save compares with.
    auto readStored = [&](WriteResult &r) {
        DataSet now(QStringLiteral("now"));
        now.setDatabase(dm->ADOConnection1());
        now.open(QStringLiteral("select %1 from %2 where %3=?").arg(columns, row.table, row.key), {key});
        for (const QString &c : row.columns)
            r.stored.insert(c.toLower(), now.isEmpty() ? QString() : now.text(c, 0));
    };
    const auto write = [&] { return writeText({row}, key); };
    if (std::optional<WriteResult> earlier = earlierAttempt(dm, write)) {
        readStored(*earlier); // kept the first time
        return *earlier;
    }
    const QVariant written = key;
    remembering(dm, write, &written, [&] {
        dm->writeTransaction(row.table, [&] {
            result.refusals = refusalsOf(dm, row, key);
            if (!result.refusals.isEmpty())
                return;
            // The row as it is now, held until the commit: the update goes on only when the
            // columns it writes still hold what the form read.
            DataSet now(QStringLiteral("now"));
            now.setDatabase(dm->ADOConnection1());
            now.open(QStringLiteral("select %1 from %2 where %3=?%4")
                         .arg(columns, row.table, row.key, dm->isPostgres() ? QStringLiteral(" for update") : QString()),
                     {key});
            if (now.isEmpty()) {
                result.outcome = WriteResult::Gone;
                return;
            }
            for (const QString &c : row.columns) {
                const auto was = loaded.constFind(c.toLower());
                if (was != loaded.constEnd() && now.text(c, 0) != *was) {
                    result.outcome = WriteResult::Changed;
                    return;
                }
            }
            QStringList sets;
            for (const QString &c : row.columns)
                sets << c + QStringLiteral("=?");
            if (dm->exec(QStringLiteral("update %1 set %2 where %3=?").arg(row.table, sets.join(QLatin1Char(',')), row.key),
                         row.values + QVariantList{key})
                == 0) {
                result.outcome = WriteResult::Gone;
                return;
            }
            finish(ctx, row, key);
            readStored(result);
            result.key = key;
            result.outcome = WriteResult::Written;
        });
    });
    return result;
}

void TellWrite(AppContext &ctx, QWidget *parent, const WriteResult &result, const QString &done)
{
    for (const QString &r : result.written() ? QStringList{done} : result.refusals)
        ctx.ui->message(r, parent);
}

QVariant BoxValue(const QString &table, const QString &column, const QString &text, const QString &caption)
{
    try {
        return db::columnValue(table, column, text);
    } catch (const db::Refusal &r) {
        throw r.named(caption);
    }
}
