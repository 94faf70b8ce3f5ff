#include "shared/row_writer.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/log.h"
#include "shared/ui.h"

namespace {

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
    const QStringList gone = parentsGone(dm, row);
    refused += gone;
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
        // What the row holds now is what the next save compares with.
        now.open(QStringLiteral("select %1 from %2 where %3=?").arg(columns, row.table, row.key), {key});
        for (const QString &c : row.columns)
            result.stored.insert(c.toLower(), now.isEmpty() ? QString() : now.text(c, 0));
        result.key = key;
        result.outcome = WriteResult::Written;
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
