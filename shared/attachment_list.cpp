#include "shared/attachment_list.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/values.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/ui.h"

#include <algorithm>

namespace {
const QString kNoOwner = QStringLiteral("خطا! رديف جاري مشخص نيست");

bool isNullId(const QVariant &v)
{
    return v.isNull() || !v.isValid() || v.toString().isEmpty();
}
} // namespace

AttachmentList::AttachmentList(AppContext &ctx, const AttachmentTable &table, const QString &datasetName,
                               QWidget *window)
    : QObject(window)
    , m_ctx(ctx)
    , m_table(table)
    , m_window(window)
    , m_rows(new DataSet(datasetName, this))
{
    m_rows->setDatabase(ctx.dm->ADOConnection1());
}

QString AttachmentList::selectList() const
{
    QStringList cols{m_table.key};
    if (!m_table.owner.isEmpty())
        cols << m_table.owner;
    cols << m_table.description << m_table.ext << m_table.extra;
    QString sql = QStringLiteral("select ") + cols.join(QLatin1Char(',')) + QStringLiteral(" from ") + m_table.table;
    return sql;
}

void AttachmentList::listOwner(const QVariant &owner)
{
    if (isNullId(owner)) {
        // An owner id no row carries: the listing comes out empty.
        listAll(QStringLiteral("1=0"));
        return;
    }
    listAll(m_table.owner + QStringLiteral("=?"), {owner});
}

void AttachmentList::listQuery(const QString &sql, const QVariantList &binds)
{
    m_rows->open(sql, binds);
}

void AttachmentList::listAll(const QString &where, const QVariantList &binds)
{
    QString sql = selectList();
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    sql += QStringLiteral(" order by ") + (m_table.orderBy.isEmpty() ? m_table.key : m_table.orderBy);
    m_rows->open(sql, binds);
}

void AttachmentList::relist()
{
    if (m_rows->isOpen())
        m_rows->reopen(m_table.key);
}

void AttachmentList::setCaptions(std::span<const GridColumn> columns)
{
    for (const GridColumn &c : columns)
        if (c.title && *c.title)
            setCaption(QLatin1String(c.field), QString::fromUtf8(c.title));
}

void AttachmentList::setCaption(const QString &column, const QString &caption)
{
    m_captions.insert(column.toLower(), caption);
}

int AttachmentList::store(const QVariantList &owners, const QString &description, const StoredFile &file,
                          const QVariantMap &extra, const QString &ownerGone)
{
    const bool owned = !m_table.owner.isEmpty();
    if (owned) {
        if (owners.isEmpty() || std::any_of(owners.begin(), owners.end(), isNullId))
            throw AppError(kNoOwner);
    }
    // Every text checked against its column before anything is written; a refusal names the
    // column by its caption.
    auto value = [&](const QString &column, const QString &text) {
        return BoxValue(m_table.table, column, text, m_captions.value(column.toLower()));
    };
    RowWrite row{.table = m_table.table, .key = m_table.key,
                 .columns = {m_table.description, m_table.ext, m_table.blob},
                 .values = {value(m_table.description, description), value(m_table.ext, file.ext), file.bytes}};
    for (const QString &c : m_table.extra) {
        row.columns << c;
        row.values << value(c, extra.value(c).toString());
    }
    QList<RowWrite> rows;
    if (!owned)
        rows << row;
    for (const QVariant &o : owned ? owners : QVariantList()) {
        RowWrite r = row;
        r.columns.prepend(m_table.owner);
        r.values.prepend(o);
        if (!m_table.parent.table.isEmpty()) {
            ParentDef p = m_table.parent;
            if (!ownerGone.isEmpty())
                p.gone = ownerGone;
            r.parents << p;
        }
        rows << r;
    }
    const WriteResult r = InsertRows(m_ctx, rows);
    if (!r.written())
        throw db::Refusal(db::Refusal::ParentGone, r.refusals.join(QLatin1Char('\n')));
    return int(rows.size());
}

int AttachmentList::add(const Add &a)
{
    if (!a.ask && !a.emptyDescription.isEmpty() && a.description.isEmpty()) {
        m_ctx.ui->message(a.emptyDescription, m_window);
        return 0;
    }
    if (!m_table.owner.isEmpty() && (a.owners.isEmpty() || std::any_of(a.owners.begin(), a.owners.end(), isNullId)))
        return 0;
    StoredFile file;
    if (!ChooseAttachment(m_ctx, &file, nullptr, a.filter))
        return 0;
    QString description = a.description;
    if (a.ask)
        description = m_ctx.ui->inputBox(a.ask->caption, a.ask->prompt, a.ask->def, m_window);
    if (a.check) {
        const QString refusal = a.check(file);
        if (!refusal.isEmpty()) {
            m_ctx.ui->message(refusal, m_window);
            return 0;
        }
    }
    if (a.refused)
        return 0;
    int stored = 0;
    try {
        stored = store(a.owners, description, file, a.extra, a.ownerGone);
    } catch (const InputError &e) {
        m_ctx.ui->message(e.message(), m_window);
        return 0;
    } catch (const AppError &e) {
        // A full disk is named as such whatever the window's own words for a failure.
        const QString full = DiskFullText(e.message(), kAttachmentDiskFull);
        m_ctx.ui->message(!full.isEmpty() ? full : a.failure.isEmpty() ? e.message() : a.failure, m_window);
        return 0;
    }
    m_ctx.ui->message(msg::kInserted, m_window);
    guarded(m_ctx, [&] { relist(); });
    return stored;
}

StoredFile AttachmentList::file(int row) const
{
    StoredFile f;
    if (m_rows->eof() && row < 0)
        return f;
    const QVariant key = m_rows->value(m_table.key, row);
    DataSet q(QStringLiteral("attachment"));
    q.setDatabase(m_ctx.dm->ADOConnection1());
    q.open(QStringLiteral("select ") + m_table.blob + QLatin1Char(',') + m_table.ext + QStringLiteral(" from ")
               + m_table.table + QStringLiteral(" where ") + m_table.key + QStringLiteral("=?"),
           {key});
    if (q.isEmpty())
        throw AppError(QStringLiteral("خطا! اين مورد حذف شده است"));
    return StoredFileOf(&q, m_table.blob, m_table.ext, 0);
}

QString AttachmentList::openTemp()
{
    QString path;
    guarded(m_ctx, [&] {
        if (m_rows->eof())
            return;
        path = OpenAttachment(m_ctx, file());
    });
    return path;
}

QString AttachmentList::saveAs(bool openAfter)
{
    QString path;
    guarded(m_ctx, [&] {
        if (m_rows->eof())
            return;
        path = OpenAttachment(m_ctx, file(), true, m_rows->text(m_table.description), openAfter);
    });
    return path;
}

int AttachmentList::saveAll(const QString &stem)
{
    int written = 0;
    guarded(m_ctx, [&] {
        for (int row = 0; row < m_rows->recordCount(); ++row) {
            const StoredFile f = file(row);
            if (!WriteAttachment(m_ctx, f, stem + QString::number(row + 1) + f.ext))
                return;
            ++written;
        }
    });
    return written;
}

bool AttachmentList::deleteCurrent(const DeleteDef &confirm)
{
    if (m_rows->eof())
        return false;
    DeleteDef decl = confirm;
    decl.table = m_table.table;
    decl.keyColumn = m_table.key;
    bool deleted = false;
    guarded(m_ctx, [&] {
        deleted = RunDelete(m_ctx, m_window, decl, m_rows->value(m_table.key));
        if (deleted)
            relist();
    });
    return deleted;
}
