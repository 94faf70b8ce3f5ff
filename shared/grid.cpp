#include "shared/grid.h"

#include "core/dataset.h"
#include "shared/gridsort.h"
#include "shared/numwords.h"

#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

const GridColumn *columnOf(std::span<const GridColumn> columns, const DataSet *ds, int logical)
{
    if (logical < 0 || logical >= ds->fieldNames().size())
        return nullptr;
    const QString &f = ds->fieldNames().at(logical);
    for (const GridColumn &c : columns)
        if (f.compare(QLatin1String(c.field), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

// Titles with their background colours.
class ColouredHeader : public QHeaderView {
public:
    ColouredHeader(std::span<const GridColumn> columns, DataSet *ds, QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent), m_columns(columns), m_ds(ds)
    {
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const GridColumn *c = columnOf(m_columns, m_ds, logicalIndex);
        if (!c || !c->titleColor)
            return;
        const QColor colour = QColor::fromRgb(c->titleColor);
        option->palette.setColor(QPalette::Button, colour);
        option->palette.setColor(QPalette::Window, colour);
    }

private:
    std::span<const GridColumn> m_columns;
    DataSet *m_ds;
};

// A coloured row keeps its colour in every cell, the current one too; money is grouped and
// numbers are never elided.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(std::span<const GridColumn> columns, DataSet *ds, QObject *parent)
        : QStyledItemDelegate(parent), m_columns(columns), m_ds(ds)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        if (index.data(Qt::BackgroundRole).isValid())
            opt.state &= ~QStyle::State_Selected;
        const GridColumn *c = columnOf(m_columns, m_ds, index.column());
        if (c && c->display != GridColumn::Text)
            opt.textElideMode = Qt::ElideNone;
        QStyledItemDelegate::paint(painter, opt, index);
    }

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const GridColumn *c = columnOf(m_columns, m_ds, index.column());
        if (!c || c->display == GridColumn::Text)
            return;
        if (c->display == GridColumn::Money)
            option->text = GroupDigits(option->text);
        option->displayAlignment = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter;
        option->textElideMode = Qt::ElideNone;
    }

private:
    std::span<const GridColumn> m_columns;
    DataSet *m_ds;
};

} // namespace

QTableView *MakeGrid(QWidget *parent, DataSet *ds, const GridSpec &decl)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(decl.objectName));
    grid->setHorizontalHeader(new ColouredHeader(decl.columns, ds, grid));
    grid->setLayoutDirection(Qt::RightToLeft);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setWordWrap(false);
    grid->setItemDelegate(new GridDelegate(decl.columns, ds, grid));
    QHeaderView *h = grid->horizontalHeader();
    h->setDefaultSectionSize(decl.defaultWidth);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->hide();

    QHash<QString, QString> titles;
    for (const GridColumn &c : decl.columns)
        if (c.title && *c.title)
            titles.insert(QLatin1String(c.field), QString::fromUtf8(c.title));
    ds->setTitles(titles);
    if (decl.rowColor) {
        auto fn = decl.rowColor;
        ds->setRowColor([ds, fn](int row) { return fn(*ds, row); });
    }
    BindGrid(grid, ds, decl.sortable);

    // The table's columns in its order with their widths; every other field stays hidden.
    const std::span<const GridColumn> columns = decl.columns;
    const int defaultWidth = decl.defaultWidth;
    auto arrange = [grid, ds, columns, defaultWidth] {
        QHeaderView *h = grid->horizontalHeader();
        for (int i = 0; i < ds->fieldNames().size(); ++i)
            h->setSectionHidden(i, true);
        int visual = 0;
        for (const GridColumn &c : columns) {
            const int logical = ds->fieldIndex(QLatin1String(c.field));
            if (logical < 0 || !c.title || !*c.title)
                continue;
            h->setSectionHidden(logical, false);
            h->moveSection(h->visualIndex(logical), visual++);
            h->resizeSection(logical, c.width > 0 ? c.width : defaultWidth);
        }
    };
    QObject::connect(ds, &QAbstractItemModel::modelReset, grid, arrange);
    arrange();

    if (QMenu *popup = decl.popup) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(grid, &QWidget::customContextMenuRequested, grid,
                         [grid, popup](const QPoint &p) { popup->popup(grid->viewport()->mapToGlobal(p)); });
    }
    return grid;
}

QList<ExportColumn> GridExportColumns(std::span<const GridColumn> columns)
{
    QList<ExportColumn> out;
    for (const GridColumn &c : columns)
        if (c.title && *c.title)
            out << ExportColumn(c.field, c.title);
    return out;
}
