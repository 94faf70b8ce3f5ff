#include "shared/scratch_table.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/busy.h"
#include "shared/ui.h"

#include <QSqlError>
#include <optional>

namespace {

struct Cancelled {};

constexpr int kValuesPerStatement = 4096;
constexpr qint64 kProgressEvery = 1000;

QString insertSql(const ScratchFill &fill, int rows)
{
    const QString tuple = QLatin1Char('(') + QStringList(fill.columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                          + QLatin1Char(')');
    return QStringLiteral("insert into %1 (%2) values ").arg(fill.table, fill.columns.join(QLatin1Char(',')))
           + QStringList(rows, tuple).join(QLatin1Char(','));
}

void run(QSqlQuery &q, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
}

} // namespace

int ScratchRowsPerStatement(int columns)
{
    return qMax(1, kValuesPerStatement / qMax(1, columns));
}

bool ReplaceScratchRows(AppContext &ctx, const ScratchFill &fill, QWidget *parent)
{
    const BusyCursor busy;
    Tdm &dm = *ctx.dm;
    const qint64 total = fill.countSql.isEmpty() ? 0 : dm.scalar(fill.countSql, fill.countBinds).toLongLong();
    const std::unique_ptr<Ui::Progress> progress = ctx.ui->startProgress(fill.progressText, total, parent);
    // The list is read on a connection of its own while the main connection writes.
    QSqlQuery source(dm.readerConnection());
    source.setForwardOnly(true);
    source.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    const int perStatement = ScratchRowsPerStatement(fill.columns.size());
    // A text longer than its column is refused on both databases alike.
    QList<int> widths;
    for (const QString &c : fill.columns) {
        const db::ColumnDef *def = db::findColumn(fill.table, c);
        widths << (def && def->type == db::ColType::Text ? def->length : 0);
    }
    auto checkWidths = [&](const QVariantList &row) {
        for (int i = 0; i < row.size() && i < widths.size(); ++i)
            if (widths.at(i) > 0 && row.at(i).typeId() == QMetaType::QString && row.at(i).toString().size() > widths.at(i))
                db::columnValue(fill.table, fill.columns.at(i), row.at(i).toString()); // throws
    };
    try {
        // Another workstation's run of the same report waits here until this one commits, and
        // then empties what this one wrote.
        dm.writeTransaction(fill.table, [&] {
            dm.exec(QStringLiteral("delete from %1").arg(fill.table));

            if (!source.prepare(fill.sourceSql))
                throw DbError(source.lastError().text());
            for (int i = 0; i < fill.sourceBinds.size(); ++i)
                source.bindValue(i, fill.sourceBinds.at(i));
            if (!source.exec())
                throw DbError(source.lastError().text());

            std::optional<QSqlQuery> full;
            QVariantList batch, row;
            int batchRows = 0;
            auto flush = [&] {
                if (batchRows == 0)
                    return;
                if (batchRows == perStatement) {
                    if (!full) {
                        full.emplace(dm.ADOConnection1());
                        if (!full->prepare(insertSql(fill, perStatement)))
                            throw DbError(full->lastError().text());
                    }
                    run(*full, batch);
                } else {
                    QSqlQuery tail(dm.ADOConnection1());
                    if (!tail.prepare(insertSql(fill, batchRows)))
                        throw DbError(tail.lastError().text());
                    run(tail, batch);
                }
                batch.clear();
                batchRows = 0;
            };
            qint64 done = 0;
            while (source.next()) {
                row.clear();
                if (fill.build(source, row)) {
                    checkWidths(row);
                    batch += row;
                    if (fill.written)
                        fill.written(row);
                    if (++batchRows == perStatement)
                        flush();
                }
                if (++done % kProgressEvery == 0 && !progress->step(done))
                    throw Cancelled{};
            }
            if (source.lastError().isValid())
                throw DbError(source.lastError().text());
            source.finish();
            flush();
            if (!progress->step(done))
                throw Cancelled{};
        });
    } catch (const Cancelled &) {
        return false;
    }
    return true;
}
