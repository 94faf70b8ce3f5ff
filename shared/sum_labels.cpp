#include "shared/sum_labels.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/grid.h"

#include <QBoxLayout>
#include <QLabel>
#include <algorithm>

SumLabels::SumLabels(QWidget *parent, std::span<const SumColumn> columns)
    : QObject(parent)
    , m_columns(columns)
{
    setObjectName(QStringLiteral("sums"));
    for (const SumColumn &c : m_columns) {
        if (!c.label)
            continue;
        const QString name = QLatin1String(c.label);
        auto *l = new QLabel(parent);
        l->setObjectName(name);
        l->setMinimumWidth(60);
        // A figure (Latin digits) stands against its caption, whatever way its digits run.
        l->setAlignment(Qt::AlignAbsolute | Qt::AlignVCenter
                        | (l->layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft));
        m_labels.insert(name, l);
        const bool count = qstrcmp(c.expression, "count(*)") == 0;
        auto *caption = new QLabel(c.caption ? QString::fromUtf8(c.caption) : count ? QStringLiteral("تعداد:") : QString(), parent);
        caption->setObjectName(name + QStringLiteral("_lbl"));
        caption->setBuddy(l);
        m_labels.insert(caption->objectName(), caption);
    }
}

void SumLabels::addTo(QBoxLayout *layout) const
{
    for (const SumColumn &c : m_columns) {
        if (!c.label)
            continue;
        const QString name = QLatin1String(c.label);
        auto *pair = new QHBoxLayout;
        pair->setSpacing(4);
        pair->addWidget(m_labels.value(name + QStringLiteral("_lbl")));
        pair->addWidget(m_labels.value(name));
        pair->addStretch(1);
        layout->addLayout(pair);
    }
}

QString SumLabels::selectSql(const QString &fromWhere) const
{
    QStringList parts;
    for (const SumColumn &c : m_columns)
        parts << QStringLiteral("%1 as %2").arg(QLatin1String(c.expression), QLatin1String(c.alias));
    return QStringLiteral("select ") + parts.join(QLatin1Char(',')) + QLatin1Char(' ') + fromWhere;
}

void SumLabels::run(AppContext &ctx, const QString &fromWhere, const QVariantList &binds, const DataSet *listing)
{
    // A count alone over the listing's own conditions is the listing's row count: the
    // database need not read the rows a second time.
    const bool countOnly = listing && std::all_of(m_columns.begin(), m_columns.end(), [](const SumColumn &c) {
        return qstrcmp(c.expression, "count(*)") == 0;
    });
    DataSet *q = ctx.dm->ADOQuery1;
    if (!countOnly)
        q->open(selectSql(fromWhere), binds);
    for (const SumColumn &c : m_columns) {
        const QString alias = QLatin1String(c.alias);
        const QString v = countOnly ? QString::number(listing->recordCount())
                                    : q->isEmpty() ? QString() : q->text(alias, 0);
        m_values.insert(alias, v);
        if (QLabel *l = c.label ? m_labels.value(QLatin1String(c.label)) : nullptr)
            l->setText(c.display == SumColumn::Grouped ? GridCellText(GridColumn::Money, v) : v);
    }
}

QString SumLabels::value(const QString &alias) const
{
    return m_values.value(alias);
}

QLabel *SumLabels::label(const QString &objectName) const
{
    return m_labels.value(objectName);
}

void SumLabels::clearLabels()
{
    for (const SumColumn &c : m_columns)
        if (c.label)
            m_labels.value(QLatin1String(c.label))->clear();
}
