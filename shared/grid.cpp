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
#include <QTextLayout>
#include <QTimer>

#include <cmath>
#include <memory>

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
    // A title's size depends on its text, its font and the sort mark beside it, in the header's
    // font and style: each is measured once (the header measures every title whenever its own
    // size is asked, and shaping the titles is what that costs).
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        const QAbstractItemModel *m = model();
        if (!m)
            return QHeaderView::sectionSizeFromContents(logicalIndex);
        const QVariant font = m->headerData(logicalIndex, orientation(), Qt::FontRole);
        const TitleKey key{m->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString(),
                           font.isValid() ? font.value<QFont>() : QFont(), font.isValid(),
                           !isSortIndicatorShown() ? 0 : sortIndicatorSection() == logicalIndex ? 2 : 1};
        if (m_sizesFont != this->font() || m_sizesStyle != style()) {
            m_sizes.clear();
            m_sizesFont = this->font();
            m_sizesStyle = style();
        }
        const auto it = m_sizes.constFind(key);
        if (it != m_sizes.constEnd())
            return *it;
        const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
        m_sizes.insert(key, size);
        return size;
    }

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
    struct TitleKey {
        QString text;
        QFont font;
        bool ownFont;
        int sortMark; // none shown, shown beside another title, beside this one
        bool operator==(const TitleKey &o) const
        {
            return ownFont == o.ownFont && sortMark == o.sortMark && text == o.text && (!ownFont || font == o.font);
        }
        friend size_t qHash(const TitleKey &k, size_t seed = 0) { return qHashMulti(seed, k.text, k.ownFont, k.sortMark); }
    };
    std::span<const GridColumn> m_columns;
    DataSet *m_ds;
    mutable QHash<TitleKey, QSize> m_sizes;
    mutable QFont m_sizesFont;
    mutable const QStyle *m_sizesStyle = nullptr;
};

// The texts of a grid measured and laid out once: a grid measures and draws the same cell texts
// (places, names, dates, amounts) again on every listing and every repaint, and shaping Persian
// text is most of what that costs. What comes out of the cache is what measuring or laying out
// the text again would give.
class TextCache {
public:
    // QFontMetrics(font).horizontalAdvance(text).
    int width(const QFont &font, const QString &text) { return measure(widths(font).byText, font, text); }
    // The width of what a cell of the column shows for the dataset's text (GridCellText).
    int cellWidth(const QFont &font, GridColumn::Display display, const QString &text)
    {
        Widths &w = widths(font);
        QHash<QString, int> &shown = w.byCell[display];
        const auto it = shown.constFind(text);
        if (it != shown.constEnd())
            return *it;
        if (shown.size() >= kMaxWidths)
            shown.clear();
        const int advance = measure(w.byText, font, GridCellText(display, text));
        shown.insert(text, advance);
        return advance;
    }

    // A cell's text laid out as the style lays it out in the text rectangle `r` (without its
    // margins) for drawing, and where it starts below r's top; nullptr when it takes more than
    // one line or is wider than r, which the style draws its own way.
    struct Shaped {
        std::unique_ptr<QTextLayout> layout;
        qreal top = 0;
    };
    const Shaped *shaped(const QString &text, const QFont &font, const QTextOption &option, Qt::Alignment alignment,
                         const QSize &r)
    {
        const LayoutKey key{text, fontId(font), r.width(), r.height(), int(option.textDirection()),
                            int(option.alignment()), int(alignment)};
        const auto it = m_layouts.constFind(key);
        if (it != m_layouts.constEnd())
            return it->get();
        if (m_layouts.size() >= kMaxLayouts)
            m_layouts.clear();
        auto shaped = std::make_shared<Shaped>();
        shaped->layout = std::make_unique<QTextLayout>(text, font);
        QTextLayout &l = *shaped->layout;
        l.setTextOption(option);
        l.setCacheEnabled(true); // the glyphs stay for drawing again
        l.beginLayout();
        QTextLine line = l.createLine();
        bool oneLine = line.isValid();
        if (oneLine) {
            line.setLineWidth(r.width());
            line.setPosition(QPointF(0, 0));
            oneLine = !l.createLine().isValid() && line.naturalTextWidth() <= r.width();
        }
        l.endLayout();
        if (!oneLine) {
            m_layouts.insert(key, nullptr);
            return nullptr;
        }
        // Vertically placed as the style places the text's bounding box.
        const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, alignment,
                                                 l.boundingRect().size().toSize(), QRect(QPoint(0, 0), r));
        shaped->top = placed.top();
        return m_layouts.insert(key, std::move(shaped))->get();
    }

private:
    static constexpr int kMaxWidths = 20000, kMaxLayouts = 2000;
    struct Widths {
        QFontMetrics metrics;
        QHash<QString, int> byText;
        QHash<QString, int> byCell[3]; // by the dataset's text, for each GridColumn::Display
    };
    int measure(QHash<QString, int> &known, const QFont &font, const QString &text)
    {
        const auto it = known.constFind(text);
        if (it != known.constEnd())
            return *it;
        if (known.size() >= kMaxWidths)
            known.clear();
        const int advance = widths(font).metrics.horizontalAdvance(text);
        known.insert(text, advance);
        return advance;
    }
    struct LayoutKey {
        QString text;
        int font, width, height, direction, textAlignment, alignment;
        bool operator==(const LayoutKey &o) const
        {
            return font == o.font && width == o.width && height == o.height && direction == o.direction
                   && textAlignment == o.textAlignment && alignment == o.alignment && text == o.text;
        }
        friend size_t qHash(const LayoutKey &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.text, k.font, k.width, k.height, k.direction, k.textAlignment, k.alignment);
        }
    };

    // A small number for each font the grid meets (its own, a number drawn smaller).
    int fontId(const QFont &font)
    {
        if (m_lastFont >= 0 && m_fonts.at(m_lastFont) == font)
            return m_lastFont;
        for (int i = 0; i < m_fonts.size(); ++i) {
            if (m_fonts.at(i) == font)
                return m_lastFont = i;
        }
        m_fonts.append(font);
        m_widths.emplace_back(std::make_unique<Widths>(Widths{QFontMetrics(font), {}, {}}));
        return m_lastFont = int(m_fonts.size()) - 1;
    }
    Widths &widths(const QFont &font) { return *m_widths[size_t(fontId(font))]; }

    QList<QFont> m_fonts;
    std::vector<std::unique_ptr<Widths>> m_widths;
    int m_lastFont = -1;
    QHash<LayoutKey, std::shared_ptr<Shaped>> m_layouts;
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

    TextCache &texts() const { return m_texts; }

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
            for (int i = 0; i < 8 && m_texts.width(opt.font, opt.text) > room; ++i) {
                if (opt.font.pointSizeF() <= 5)
                    break;
                opt.font.setPointSizeF(opt.font.pointSizeF() * 0.9);
            }
        }
        const QWidget *w = opt.widget;
        const QStyle *style = w ? w->style() : QApplication::style();
        if (!drawWithKeptText(painter, opt, style))
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
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
    // The item as the style draws it -- its background, its text, then the focus frame over
    // both, in the same rectangles, pen and place -- with the text laid out once and kept.
    // False, having drawn nothing, for what the style must draw itself (a check box, an icon,
    // wrapped or multi-line text, text wider than its cell).
    bool drawWithKeptText(QPainter *p, const QStyleOptionViewItem &opt, const QStyle *style) const
    {
        if (opt.features & (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration
                            | QStyleOptionViewItem::WrapText)
            || (opt.state & QStyle::State_Editing))
            return false;
        // The item's rectangles do not depend on its text when it is drawn.
        QStyleOptionViewItem bare(opt);
        bare.text.clear();
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &bare, opt.widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
        const QRect r = textRect.adjusted(margin, 0, -margin, 0);
        const TextCache::Shaped *shaped = nullptr;
        if (!opt.text.isEmpty()) {
            QTextOption option;
            option.setWrapMode(QTextOption::ManualWrap);
            option.setTextDirection(opt.direction);
            option.setAlignment(QStyle::visualAlignment(opt.direction, opt.displayAlignment));
            shaped = m_texts.shaped(opt.text, opt.font, option, opt.displayAlignment, r.size());
            if (!shaped)
                return false;
        }
        p->save();
        p->setClipRect(opt.rect);
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, p, opt.widget);
        if (shaped) {
            QPalette::ColorGroup cg = (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
            if (cg == QPalette::Normal && !(opt.state & QStyle::State_Active))
                cg = QPalette::Inactive;
            p->setPen(opt.palette.color(cg, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                 : QPalette::Text));
            shaped->layout->draw(p, QPointF(r.x(), r.y() + shaped->top));
        }
        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &bare, opt.widget);
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            const QPalette::ColorGroup cg = (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
            focus.backgroundColor =
                opt.palette.color(cg, (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, opt.widget);
        }
        p->restore();
        return true;
    }

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
    mutable TextCache m_texts;
};

// The room each titled column needs (its logical index and width): its title, and the cells of
// the listing's first rows.
QList<QPair<int, int>> neededWidths(const QTableView *grid, const DataSet *ds, std::span<const GridColumn> columns,
                                    TextCache &texts)
{
    constexpr int kRowsMeasured = 200, kPadding = 14;
    const QFont cells = grid->font(), titles = grid->horizontalHeader()->font();
    QList<QPair<int, int>> out;
    QList<GridColumn::Display> display;
    for (const GridColumn &c : columns) {
        const int logical = ds->fieldIndex(QLatin1String(c.field));
        if (logical < 0 || !c.title || !*c.title)
            continue;
        out.append({logical, texts.width(titles, ds->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString())
                                 + 2 * kPadding});
        display.append(c.display);
    }
    QStringList row;
    const int rows = std::min(ds->rowCount(), kRowsMeasured);
    for (int r = 0; r < rows; ++r) {
        ds->rowTexts(r, row);
        for (int i = 0; i < out.size(); ++i)
            out[i].second = std::max(out[i].second, texts.cellWidth(cells, display[i], row.at(out[i].first)) + kPadding);
    }
    return out;
}

} // namespace

QTableView *MakeGrid(QWidget *parent, DataSet *ds, const GridDef &decl)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(decl.objectName));
    grid->setHorizontalHeader(new ColouredHeader(decl.columns, ds, grid));
    grid->setLayoutDirection(Qt::RightToLeft);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setWordWrap(false);
    auto *delegate = new GridDelegate(decl.columns, ds, grid);
    grid->setItemDelegate(delegate);
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
    auto arrange = [grid, ds, columns, defaultWidth, delegate] {
        QHeaderView *h = grid->horizontalHeader();
        for (int i = 0; i < ds->fieldNames().size(); ++i)
            h->setSectionHidden(i, true);
        const QList<QPair<int, int>> needed = neededWidths(grid, ds, columns, delegate->texts());
        int visual = 0;
        for (const GridColumn &c : columns) {
            const int logical = ds->fieldIndex(QLatin1String(c.field));
            if (logical < 0 || !c.title || !*c.title)
                continue;
            h->setSectionHidden(logical, false);
            h->moveSection(h->visualIndex(logical), visual);
            const int width = c.width > 0 ? c.width : defaultWidth;
            h->resizeSection(logical, std::max(width, needed.at(visual).second));
            ++visual;
        }
    };
    QObject::connect(ds, &QAbstractItemModel::modelReset, grid, arrange);
    arrange();
    // A listing's rows arrive after its columns (a search keeps the columns it had): once they
    // are shown, the columns widen to the first rows' cells. It runs when the event loop next
    // turns, so a search that is still working does not wait for the measuring.
    auto fit = [grid, ds, columns, delegate] {
        QHeaderView *h = grid->horizontalHeader();
        for (const auto &[logical, width] : neededWidths(grid, ds, columns, delegate->texts()))
            h->resizeSection(logical, std::max(h->sectionSize(logical), width));
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
