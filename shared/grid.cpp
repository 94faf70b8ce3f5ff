#include "shared/grid.h"

#include "core/dataset.h"
#include "core/money.h"
#include "shared/gridsort.h"
#include "shared/numwords.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <cmath>

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

// Money and numbers as a clerk reads them, an empty date as an empty cell, a text without
// Persian letters left to right; a coloured row keeps its colour in every cell and the current
// row is marked over it; a number wider than its cell is drawn smaller, never elided.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(std::span<const GridColumn> columns, DataSet *ds, QObject *parent)
        : QStyledItemDelegate(parent), m_columns(columns), m_ds(ds)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        if (index.data(Qt::BackgroundRole).isValid() && (opt.state & QStyle::State_Selected)) {
            // The row's colour mixed with the selection colour: still the row's, plainly marked.
            const QColor row = opt.backgroundBrush.color();
            const QColor mark = opt.palette.color(QPalette::Highlight);
            opt.backgroundBrush = QColor((row.red() + 2 * mark.red()) / 3, (row.green() + 2 * mark.green()) / 3,
                                         (row.blue() + 2 * mark.blue()) / 3);
            opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::HighlightedText));
            opt.state &= ~QStyle::State_Selected;
        }
        const GridColumn *c = columnOf(m_columns, m_ds, index.column());
        if (c && c->display != GridColumn::Text) {
            const int room = opt.rect.width() - 8;
            for (int i = 0; i < 8 && QFontMetrics(opt.font).horizontalAdvance(opt.text) > room; ++i) {
                if (opt.font.pointSizeF() <= 5)
                    break;
                opt.font.setPointSizeF(opt.font.pointSizeF() * 0.9);
            }
        }
        const QWidget *w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    }

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const GridColumn *c = columnOf(m_columns, m_ds, index.column());
        const GridColumn::Display display = c ? c->display : GridColumn::Text;
        option->text = GridCellText(display, option->text);
        option->textElideMode = Qt::ElideNone;
        if (display != GridColumn::Text)
            option->displayAlignment = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter;
        else if (leftToRight(option->text))
            option->direction = Qt::LeftToRight;
    }

private:
    // Latin letters and no Persian ones: ".jpg", "X Start".
    static bool leftToRight(const QString &text)
    {
        bool ltr = false;
        for (const QChar ch : text) {
            const QChar::Direction d = ch.direction();
            if (d == QChar::DirR || d == QChar::DirAL)
                return false;
            ltr = ltr || d == QChar::DirL;
        }
        return ltr;
    }

    std::span<const GridColumn> m_columns;
    DataSet *m_ds;
};

// The room a column needs: its title, and the cells of the listing's first rows.
int neededWidth(const QTableView *grid, const DataSet *ds, int logical, GridColumn::Display display)
{
    constexpr int kRowsMeasured = 200, kPadding = 14;
    const QFontMetrics cells(grid->font());
    const QFontMetrics title(grid->horizontalHeader()->font());
    int w = title.horizontalAdvance(ds->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString()) + 2 * kPadding;
    const int rows = std::min(ds->rowCount(), kRowsMeasured);
    for (int r = 0; r < rows; ++r)
        w = std::max(w, cells.horizontalAdvance(GridCellText(display, ds->data(ds->index(r, logical)).toString())) + kPadding);
    return w;
}

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
            const int width = c.width > 0 ? c.width : defaultWidth;
            h->resizeSection(logical, std::max(width, neededWidth(grid, ds, logical, c.display)));
        }
    };
    QObject::connect(ds, &QAbstractItemModel::modelReset, grid, arrange);
    arrange();
    // A listing's rows arrive after its columns (a search keeps the columns it had): once they
    // are shown, the columns widen to the first rows' cells. It runs when the event loop next
    // turns, so a search that is still working does not wait for the measuring.
    auto fit = [grid, ds, columns] {
        QHeaderView *h = grid->horizontalHeader();
        for (const GridColumn &c : columns) {
            const int logical = ds->fieldIndex(QLatin1String(c.field));
            if (logical >= 0 && c.title && *c.title)
                h->resizeSection(logical, std::max(h->sectionSize(logical), neededWidth(grid, ds, logical, c.display)));
        }
    };
    QObject::connect(ds, &QAbstractItemModel::rowsInserted, grid, [grid, fit](const QModelIndex &, int first, int) {
        if (first == 0)
            QTimer::singleShot(0, grid, fit);
    });

    if (QMenu *popup = decl.popup) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(grid, &QWidget::customContextMenuRequested, grid,
                         [grid, popup](const QPoint &p) { popup->popup(grid->viewport()->mapToGlobal(p)); });
    }
    return grid;
}

QString GridCellText(GridColumn::Display display, const QString &text)
{
    if (display == GridColumn::Text) {
        // The empty date mask ("    /  /  ") is no date.
        for (const QChar c : text)
            if (c != QLatin1Char(' ') && c != QLatin1Char('/'))
                return text;
        return QString();
    }
    if (display == GridColumn::Money) {
        qint64 amount = 0;
        return money::read(text, &amount) ? money::grouped(amount) : text;
    }
    QString plain = text.trimmed();
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double d = plain.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return text;
    if (d == std::trunc(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

QList<ExportColumn> GridExportColumns(std::span<const GridColumn> columns)
{
    QList<ExportColumn> out;
    for (const GridColumn &c : columns)
        if (c.title && *c.title)
            out << ExportColumn(c.field, c.title);
    return out;
}
