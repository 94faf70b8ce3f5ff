#include "shared/keyed_insert.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "db/dialect.h"
#include "core/errors.h"
#include "db/schema.h"
#include "db/values.h"

QVariant InsertUnlessDuplicate(AppContext &ctx, const KeyedInsert &ins, const std::function<void()> &refusals)
{
    Tdm *dm = ctx.dm;
    QVariant key;
    dm->writeTransaction(ins.table, [&] {
        if (refusals)
            refusals();
        QString where;
        QVariantList binds;
        for (const QString &c : ins.duplicateKey) {
            const QVariant v = ins.values.at(ins.columns.indexOf(c));
            const db::ColumnDef *def = db::findColumn(ins.table, c);
            where += where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ");
            if (def && def->type == db::ColType::Text) {
                where += db::foldedSql(c) + QStringLiteral("=?");
                binds << db::foldedText(v.toString());
            } else {
                where += c + QStringLiteral("=?");
                binds << v;
            }
        }
        if (!where.isEmpty()
            && dm->scalar(QStringLiteral("select count(*) from ") + ins.table + where, binds).toLongLong() > 0)
            return;
        const QString marks = QStringLiteral("?,").repeated(ins.columns.size()).chopped(1);
        dm->exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(ins.table, ins.columns.join(QLatin1Char(',')), marks),
                 ins.values);
        // The newest row of this key is the one just written: the lock keeps others out.
        key = dm->scalar(QStringLiteral("select max(%1) from %2").arg(ins.keyColumn, ins.table) + where, binds);
    });
    return key;
}

QVariant CaptionedValue(const QString &column, const QString &caption, const std::function<QVariant()> &convert)
{
    try {
        return convert();
    } catch (const InputError &e) {
        // The column's message, with the box's caption where it names the column.
        QString m = e.message();
        m.replace(QStringLiteral("ستون ") + column.toLower(), QStringLiteral("«%1»").arg(caption));
        throw InputError(m);
    }
}

QVariant BoxValue(const QString &table, const QString &column, const QString &text, const QString &caption)
{
    return CaptionedValue(column, caption, [&] { return db::columnValue(table, column, text); });
}
