#include "report/renderer.h"

#include "report/fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace report {

namespace {

constexpr double kCellPadX = 0.8; // mm, inside table cells
constexpr double kCellPadY = 0.4;
constexpr double kDefaultGap = 20;  // mm, the dotted gap of an empty label in a sentence
constexpr double kEps = 0.01;

// Base direction of a text: right to left when it holds a right-to-left letter, left to right
// when it holds only left-to-right letters (a Latin code), right to left otherwise (digits, dates).
Qt::LayoutDirection directionOf(const QString &text)
{
    bool ltr = false;
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
            return Qt::RightToLeft;
        case QChar::DirL:
            ltr = true;
            break;
        default:
            break;
        }
    }
    return ltr ? Qt::LeftToRight : Qt::RightToLeft;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar::Nbsp;
}

// A text as printed: line breaks kept (wrapping boxes) or made blanks, every run of blanks one
// blank, no blank at either end, digits as the face draws them.
QString shownText(const QString &raw, const FontSpec &font, bool keepBreaks, bool keepCodes = true)
{
    QString out;
    out.reserve(raw.size());
    bool blank = false;
    for (int i = 0; i < raw.size(); ++i) {
        QChar c = raw.at(i);
        if (c == QLatin1Char('\r') && i + 1 < raw.size() && raw.at(i + 1) == QLatin1Char('\n'))
            continue;
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = keepBreaks ? QChar(QChar::LineSeparator) : QLatin1Char(' ');
        if (isBlank(c)) {
            if (!blank && !out.isEmpty() && out.back() != QChar::LineSeparator)
                out += QLatin1Char(' ');
            blank = true;
            continue;
        }
        if (c == QChar::LineSeparator && blank && !out.isEmpty())
            out.chop(1);
        blank = false;
        out += c;
    }
    if (blank && !out.isEmpty())
        out.chop(1);
    // "15-پانزده", a date or a code stays on one line: no break after its hyphens and slashes.
    // (A narrow table cell may break a code there rather than inside a number.)
    for (int i = int(out.size()) - 2; i >= 1 && keepCodes; --i) {
        const QChar c = out.at(i);
        if ((c == QLatin1Char('-') || c == QLatin1Char('/')) && !out.at(i - 1).isSpace() && !out.at(i + 1).isSpace())
            out.insert(i + 1, QChar(0x2060)); // word joiner
    }
    return withFaceDigits(out, font);
}

// Justified right-to-left lines stretch their blanks, but Qt gives all the stretch of a line to
// a blank that follows a Latin word (a blank of a Latin run outranks the blanks of Arabic text),
// which opens a hole after "Varnoset". An Arabic letter mark (invisible, of the Arabic script)
// after each Latin word makes the blank behind it one of the Arabic text.
QString arabicBlanks(const QString &text)
{
    static const QChar kAlm(0x061C);
    QString out;
    out.reserve(text.size() + 8);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        out += c;
        if (c.script() != QChar::Script_Latin)
            continue;
        int j = i + 1;
        while (j < text.size() && (text.at(j).unicode() == 0x2069 || text.at(j).unicode() == 0x2068))
            ++j;
        if (j < text.size() && isBlank(text.at(j)))
            out += kAlm;
    }
    return out;
}

} // namespace

// A text laid out right to left (or by its content) in a given width, measured in millimetres.
// It wraps at word boundaries (a word longer than the width anywhere): nothing is cut. Lines
// are set on the line box of the fonts it uses.
class TextBlock {
public:
    TextBlock(const QString &text, const QFont &font, Align align, double widthMm, Qt::LayoutDirection dir,
              const QList<QTextLayout::FormatRange> &formats = {})
        : m_layout(align == Align::Justify && dir == Qt::RightToLeft && formats.isEmpty() ? arabicBlanks(text) : text,
                   font)
    {
        QTextOption opt;
        opt.setTextDirection(dir);
        Qt::Alignment a = Qt::AlignAbsolute;
        switch (align) {
        case Align::Right: a |= Qt::AlignRight; break;
        case Align::Left: a |= Qt::AlignLeft; break;
        case Align::Center: a |= Qt::AlignHCenter; break;
        case Align::Justify: a = Qt::AlignJustify; break;
        }
        opt.setAlignment(a);
        opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        opt.setUseDesignMetrics(true);
        m_layout.setTextOption(opt);
        LineBox box = lineBox(font);
        if (!formats.isEmpty()) {
            m_layout.setFormats(formats);
            for (const QTextLayout::FormatRange &f : formats) {
                if (!f.format.hasProperty(QTextFormat::FontFamilies) && !f.format.hasProperty(QTextFormat::FontPixelSize))
                    continue;
                const LineBox b = lineBox(f.format.font());
                box.ascent = std::max(box.ascent, b.ascent);
                box.descent = std::max(box.descent, b.descent);
            }
        }
        m_layout.setCacheEnabled(true);
        m_spacing = lineSpacing(box);
        m_baseline = box.ascent + (m_spacing - box.ascent - box.descent) / 2;
        const double width = std::max(1.0, widthMm * kUnitsPerMm);
        m_layout.beginLayout();
        for (int i = 0;; ++i) {
            QTextLine line = m_layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            line.setPosition(QPointF(0, i * m_spacing + m_baseline - line.ascent()));
        }
        m_layout.endLayout();
    }

    int lineCount() const { return std::max(1, m_layout.lineCount()); }
    double height() const { return lineCount() * m_spacing / kUnitsPerMm; }
    // Baseline of a line, mm from the block's top.
    double baseline(int line) const { return (line * m_spacing + m_baseline) / kUnitsPerMm; }

    // Where the block's top lands in rect for an alignment.
    double offset(const QRectF &rect, VAlign valign) const
    {
        if (valign == VAlign::Middle)
            return (rect.height() - height()) / 2;
        if (valign == VAlign::Bottom)
            return rect.height() - height();
        return 0;
    }

    void draw(QPainter &p, const QRectF &rect, VAlign valign, const QColor &color) const
    {
        p.save();
        p.translate(rect.left(), rect.top() + offset(rect, valign));
        p.scale(1 / kUnitsPerMm, 1 / kUnitsPerMm);
        p.setPen(color);
        for (int i = 0; i < m_layout.lineCount(); ++i)
            m_layout.lineAt(i).draw(&p, QPointF(0, 0));
        p.restore();
    }

private:
    QTextLayout m_layout;
    double m_spacing = 0;  // units
    double m_baseline = 0; // units from a line's top
};

namespace {

// Height of one line of a font, mm.
double lineHeight(const FontSpec &f)
{
    static QHash<QString, double> cache;
    const QString key = f.family + QLatin1Char('|') + QString::number(f.size) + (f.bold ? QLatin1String("b") : QLatin1String(""));
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const double h = lineSpacing(lineBox(makeFont(f))) / kUnitsPerMm;
    cache.insert(key, h);
    return h;
}

// A dotted gap of about widthMm in a font: the place where a clerk writes a missing value.
QString dots(const FontSpec &f, double widthMm)
{
    const double dot = QFontMetricsF(makeFont(f)).horizontalAdvance(QLatin1Char('.'));
    const int n = dot > 0 ? int(widthMm * kUnitsPerMm / dot) : 10;
    return QString(std::max(3, n), QLatin1Char('.'));
}

const QImage &picture(const QString &resource)
{
    static QHash<QString, QImage> cache;
    auto it = cache.find(resource);
    if (it == cache.end())
        it = cache.insert(resource, QImage(resource));
    return *it;
}

QPen pen(double widthMm, Qt::PenStyle style = Qt::SolidLine, const QColor &color = Qt::black)
{
    QPen p(color, widthMm, style);
    p.setCosmetic(false);
    p.setCapStyle(Qt::FlatCap);
    return p;
}

void dottedLine(QPainter &p, double left, double right, double y, const QColor &color)
{
    p.setPen(pen(0.25, Qt::DotLine, color));
    p.drawLine(QPointF(left, y), QPointF(right, y));
}

bool isText(ElementKind k)
{
    return k == ElementKind::Text || k == ElementKind::Label || k == ElementKind::Field ||
           k == ElementKind::RowNumber || k == ElementKind::Gap || k == ElementKind::Paragraph;
}

} // namespace

Renderer::Renderer(const FilledReport &r) : m_report(r)
{
    const Layout &l = m_report.layout();
    const bool rows = l.hasRows();
    const int rowCount = rows ? m_report.rowCount() : 0;
    if (l.table)
        for (const Column &c : l.table->columns)
            m_fieldIndex << (c.field.isEmpty() ? -1 : m_report.columnIndex(c.field));

    const double top = l.margins.top();
    const double bottom = l.pageSizeMm().height() - l.margins.bottom();
    const Band &header = l.band(BandKind::PageHeader);
    const Band &footer = l.band(BandKind::PageFooter);
    const double footerHeight = footer.present ? bandHeight(BandKind::PageFooter, -1) : 0;
    const double limit = bottom - (footer.present && footer.everyPage ? footerHeight : 0);

    double y = top;
    bool pageHasBody = false; // something besides the page header and column header
    auto place = [&](BandKind k, double h, int row = -1) {
        m_pages.last() << Placed{k, y, h, row};
        y += h;
    };
    auto newPage = [&]() {
        m_pages.append(QVector<Placed>());
        y = top;
        pageHasBody = false;
        if (header.present && (header.everyPage || m_pages.size() == 1))
            place(BandKind::PageHeader, bandHeight(BandKind::PageHeader, -1));
    };
    // Starts a new page when h does not fit, unless the page holds nothing yet that could move.
    auto ensure = [&](double h) {
        if (y + h > limit + 0.001 && pageHasBody)
            newPage();
    };
    const bool hasColumnHeader = l.table || l.band(BandKind::ColumnHeader).present;
    const double columnHeaderHeight = hasColumnHeader ? bandHeight(BandKind::ColumnHeader, -1) : 0;

    newPage();
    if (l.band(BandKind::Title).present) {
        place(BandKind::Title, bandHeight(BandKind::Title, -1));
        pageHasBody = true;
    }
    QVector<double> rowHeights;
    if (rows) {
        rowHeights.resize(rowCount);
        for (int i = 0; i < rowCount; ++i)
            rowHeights[i] = bandHeight(BandKind::Detail, i);
        if (hasColumnHeader) {
            // The heading stays with the first row.
            ensure(columnHeaderHeight + (rowCount > 0 ? rowHeights[0] : 0));
            place(BandKind::ColumnHeader, columnHeaderHeight);
        }
        for (int i = 0; i < rowCount; ++i) {
            const double h = rowHeights[i];
            if (y + h > limit + 0.001 && pageHasBody) {
                newPage();
                if (hasColumnHeader)
                    place(BandKind::ColumnHeader, columnHeaderHeight);
            }
            place(BandKind::Detail, h, i);
            pageHasBody = true;
        }
    } else {
        if (hasColumnHeader) {
            place(BandKind::ColumnHeader, columnHeaderHeight);
            pageHasBody = true;
        }
        if (l.band(BandKind::Detail).present) {
            const double h = bandHeight(BandKind::Detail, -1);
            ensure(h);
            place(BandKind::Detail, h);
            pageHasBody = true;
        }
    }
    // The total and a last-page signature block never open a page of their own: when they do
    // not fit under the last row, that row goes over to the next page with them.
    const double summaryHeight = l.band(BandKind::Summary).present ? bandHeight(BandKind::Summary, -1) : 0;
    const double tail = summaryHeight + (footer.present && !footer.everyPage ? footerHeight : 0);
    if (rows && rowCount > 0 && tail > 0 && y + tail > limit + 0.001) {
        QVector<Placed> &pg = m_pages.last();
        int details = 0;
        for (const Placed &pl : pg)
            details += pl.kind == BandKind::Detail;
        // A new page starts under its page header when that is on every page.
        const double pageHeader = header.present && header.everyPage ? bandHeight(BandKind::PageHeader, -1) : 0;
        const bool fitsAfterMove = pageHeader + (hasColumnHeader ? columnHeaderHeight : 0) + pg.last().height + tail
                                   <= limit - top + 0.001;
        if (pg.last().kind == BandKind::Detail && (details > 1 || l.band(BandKind::Title).present) && fitsAfterMove) {
            const Placed last = pg.takeLast();
            newPage();
            if (hasColumnHeader)
                place(BandKind::ColumnHeader, columnHeaderHeight);
            place(BandKind::Detail, last.height, last.row);
            pageHasBody = true;
        }
    }
    if (l.band(BandKind::Summary).present) {
        const double h = summaryHeight;
        ensure(h);
        place(BandKind::Summary, h);
        pageHasBody = true;
    }
    if (footer.present && !footer.everyPage) {
        if (y + footerHeight > bottom + 0.001 && pageHasBody)
            newPage();
        m_pages.last() << Placed{BandKind::PageFooter, bottom - footerHeight, footerHeight, -1};
    }
    if (footer.present && footer.everyPage)
        for (auto &pg : m_pages)
            pg << Placed{BandKind::PageFooter, bottom - footerHeight, footerHeight, -1};
}

// A paragraph's runs in one right-to-left text. Each run is a unit of its own (a bidi isolate),
// as a separately placed label would be: a date, a code or "60-70" in a run reads left to right
// whatever Persian words stand around it, and a value's brackets or "&" stay with it. An empty
// label keeps a dotted gap; two values side by side are kept apart by a wide blank.
std::unique_ptr<TextBlock> Renderer::paragraph(const Element &e, double width) const
{
    static const QChar kFsi(0x2068), kPdi(0x2069), kWide(0x2003);
    QString text;
    QList<QTextLayout::FormatRange> formats;
    bool lastWasLabel = false, lastWasLatin = false;
    for (const Run &run : e.runs) {
        FontSpec f = run.font;
        if (run.isLabel && m_report.fontSize(run.text) > 0)
            f.size = m_report.fontSize(run.text);
        QString piece = shownText(run.isLabel ? m_report.text(run.text) : run.text, f, false);
        const bool empty = piece.isEmpty();
        if (empty) {
            if (!run.isLabel)
                continue;
            piece = dots(f, run.w > 0 ? run.w : kDefaultGap);
        }
        if (e.align == Align::Justify)
            piece = arabicBlanks(piece);
        if (!text.isEmpty()) {
            if (e.align == Align::Justify && lastWasLatin)
                text += QChar(0x061C);
            text += run.isLabel && lastWasLabel ? kWide : QLatin1Char(' ');
        }
        text += kFsi;
        QTextCharFormat format;
        bool own = false;
        if (!(f == e.font)) {
            format.setFont(makeFont(f));
            own = true;
        }
        if (run.gap && !empty) {
            // The dotted line keeps at least the gap's width, the value in its middle.
            const QFontMetricsF fm(makeFont(f));
            const double missing = (run.w > 0 ? run.w : kDefaultGap) * kUnitsPerMm - fm.horizontalAdvance(piece);
            const double nbsp = fm.horizontalAdvance(QChar(QChar::Nbsp));
            if (missing > 0 && nbsp > 0) {
                const QString pad(int(missing / nbsp / 2), QChar(QChar::Nbsp));
                piece = pad + piece + pad;
            }
            format.setFontUnderline(true);
            format.setUnderlineStyle(QTextCharFormat::DotLine);
            own = true;
        }
        if (own) {
            QTextLayout::FormatRange fr;
            fr.start = int(text.size());
            fr.length = int(piece.size());
            fr.format = format;
            formats << fr;
        }
        text += piece;
        text += kPdi;
        lastWasLabel = run.isLabel;
        lastWasLatin = piece.back().script() == QChar::Script_Latin;
    }
    return std::make_unique<TextBlock>(text, makeFont(e.font), e.align, width, Qt::RightToLeft, formats);
}

std::unique_ptr<TextBlock> Renderer::textBlock(const Element &e, int row, double width) const
{
    const FontSpec f = elementFont(e);
    const QString text = shownText(elementText(e, row), f, e.wrap);
    return std::make_unique<TextBlock>(text, makeFont(f), e.kind == ElementKind::Gap ? Align::Center : e.align,
                                       width, directionOf(text));
}

FontSpec Renderer::elementFont(const Element &e) const
{
    FontSpec f = e.font;
    if ((e.kind == ElementKind::Label || e.kind == ElementKind::Gap)) {
        const double s = m_report.fontSize(e.name);
        if (s > 0)
            f.size = s;
    }
    return f;
}

QString Renderer::elementText(const Element &e, int row) const
{
    switch (e.kind) {
    case ElementKind::Text: return e.text;
    case ElementKind::Label:
    case ElementKind::Gap: return m_report.text(e.name);
    case ElementKind::Field: return m_report.cell(row, e.name);
    case ElementKind::RowNumber: return row >= 0 ? QString::number(row + 1) : QString();
    default: return {};
    }
}

QRectF Renderer::elementRect(const Element &e, double top) const
{
    const Layout &l = m_report.layout();
    const double pw = l.printableWidth();
    double x, w;
    if (e.fromRight) {
        w = e.w >= 0 ? e.w : pw - e.x;
        x = pw - e.x - w;
    } else {
        x = e.x;
        w = e.w >= 0 ? e.w : pw - e.x;
    }
    return QRectF(l.margins.left() + x, top + e.y, std::max(0.0, w), e.h);
}

double Renderer::measuredHeight(const Element &e, int row, double width) const
{
    if (e.kind == ElementKind::Paragraph)
        return paragraph(e, width)->height();
    return textBlock(e, row, width)->height();
}

// The band's elements where they land. A text element has the room the layout gave it: its
// height, or without one the room down to the next element below it (or to the band's end), at
// least a line. A text that needs more grows, and every element that starts below the room it
// was given moves down by as much (and by what moved it); the band grows by what moved its end.
Renderer::BandLayout Renderer::layoutBand(BandKind kind, int row) const
{
    const Layout &l = m_report.layout();
    const Band &b = l.band(kind);
    const int n = int(b.elements.size());
    BandLayout out;
    out.boxes.resize(n);
    QVector<double> room(n, 0), grow(n, 0), shift(n, 0);
    for (int i = 0; i < n; ++i) {
        const Element &e = b.elements.at(i);
        QRectF r = elementRect(e, 0);
        out.boxes[i].e = &e;
        if (!isText(e.kind)) {
            room[i] = std::max(0.0, e.h);
            r.setHeight(room[i]);
            out.boxes[i].r = r;
            continue;
        }
        double given = e.h;
        if (given < 0) {
            given = b.height - e.y;
            for (int j = 0; j < n; ++j) {
                const Element &o = b.elements.at(j);
                if (j == i || o.y <= e.y + kEps)
                    continue;
                const QRectF orect = elementRect(o, 0);
                if (orect.right() > r.left() + kEps && orect.left() < r.right() - kEps)
                    given = std::min(given, o.y - e.y);
            }
            given = std::max(given, e.kind == ElementKind::Paragraph ? lineHeight(e.font) : lineHeight(elementFont(e)));
        }
        room[i] = given;
        const double need = measuredHeight(e, row, r.width());
        grow[i] = need > given + kEps ? need - given : 0;
        out.boxes[i].grown = grow[i] > 0;
        r.setHeight(given + grow[i]);
        out.boxes[i].r = r;
    }
    // Elements in order of their tops (lines before what starts where they are).
    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int c) {
        const Element &ea = b.elements.at(a), &ec = b.elements.at(c);
        return ea.y < ec.y - kEps || (std::abs(ea.y - ec.y) <= kEps && room[a] < room[c]);
    });
    double bandShift = 0;
    for (int k = 0; k < n; ++k) {
        const int j = order.at(k);
        const double y = b.elements.at(j).y;
        for (int m = 0; m < k; ++m) {
            const int i = order.at(m);
            if (b.elements.at(i).y + room[i] <= y + kEps)
                shift[j] = std::max(shift[j], shift[i] + grow[i]);
        }
    }
    double height = b.height;
    for (int i = 0; i < n; ++i) {
        if (b.elements.at(i).y + room[i] <= b.height + kEps)
            bandShift = std::max(bandShift, shift[i] + grow[i]);
        out.boxes[i].r.translate(0, shift[i]);
        height = std::max(height, out.boxes[i].r.bottom());
    }
    out.height = std::max(height, b.height + bandShift);
    return out;
}

double Renderer::tableRowHeight(int row) const
{
    const Table &t = *m_report.layout().table;
    double rh = t.rowHeight;
    for (const Column &c : t.columns) {
        const QString text = shownText(cellText(c, row), c.font, true, false);
        if (text.isEmpty())
            continue;
        const double th = TextBlock(text, makeFont(c.font), c.align, c.width - 2 * kCellPadX, directionOf(text)).height();
        rh = std::max(rh, th + 2 * kCellPadY);
    }
    return rh;
}

double Renderer::bandHeight(BandKind kind, int row) const
{
    const Layout &l = m_report.layout();
    double h = layoutBand(kind, row).height;
    if (l.table && kind == BandKind::ColumnHeader)
        h = std::max(h, l.table->headerHeight);
    if (l.table && kind == BandKind::Detail && row >= 0)
        h = std::max(h, tableRowHeight(row));
    return h;
}

QString Renderer::cellText(const Column &c, int row) const
{
    if (c.rowNumber)
        return QString::number(row + 1);
    if (!c.field.isEmpty()) {
        const Table &t = *m_report.layout().table;
        const int i = int(&c - t.columns.constData());
        const int fi = i >= 0 && i < m_fieldIndex.size() ? m_fieldIndex.at(i) : m_report.columnIndex(c.field);
        return m_report.cell(row, fi);
    }
    return c.text;
}

QString Renderer::pageNumberText(int page) const
{
    if (pageCount() < 2)
        return {};
    return withFaceDigits(QStringLiteral("صفحه %1 از %2").arg(page + 1).arg(pageCount()), m_report.layout().font);
}

void Renderer::paintPage(QPainter &p, int page) const
{
    if (page < 0 || page >= m_pages.size())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Placed &b : m_pages.at(page))
        paintBand(p, b);
    paintPageNumber(p, page);
    p.restore();
}

// "صفحه n از m" centred in the bottom margin (or just above the paper's edge when the margin is
// narrower than a line).
void Renderer::paintPageNumber(QPainter &p, int page) const
{
    const QString text = pageNumberText(page);
    if (text.isEmpty())
        return;
    const Layout &l = m_report.layout();
    FontSpec f = l.font;
    f.size = 9;
    f.bold = false;
    const TextBlock block(text, makeFont(f), Align::Center, l.printableWidth(), Qt::RightToLeft);
    const double pageHeight = l.pageSizeMm().height();
    const double margin = l.margins.bottom();
    const double top = margin >= block.height() + 2 ? pageHeight - margin + (margin - block.height()) / 2
                                                    : pageHeight - block.height() - 1;
    block.draw(p, QRectF(l.margins.left(), top, l.printableWidth(), block.height()), VAlign::Top, Qt::black);
}

void Renderer::paintBand(QPainter &p, const Placed &b) const
{
    const Layout &l = m_report.layout();
    if (l.table && b.kind == BandKind::ColumnHeader)
        paintTableHeader(p, b.y);
    if (l.table && b.kind == BandKind::Detail && b.row >= 0)
        paintTableRow(p, b.y, b.height, b.row);
    const BandLayout band = layoutBand(b.kind, b.row);
    for (const Box &box : band.boxes)
        paintElement(p, box, b.y, b.row);
}

void Renderer::paintElement(QPainter &p, const Box &box, double top, int row) const
{
    const Element &e = *box.e;
    const QRectF r = box.r.translated(0, top);
    switch (e.kind) {
    case ElementKind::Line:
        p.setPen(pen(e.pen, e.penStyle, e.color));
        p.drawLine(QPointF(r.left(), r.top()), QPointF(r.left() + e.w, r.top() + e.h));
        return;
    case ElementKind::Rect:
        if (e.fill.isValid())
            p.fillRect(r, e.fill);
        if (e.pen > 0) {
            p.setPen(pen(e.pen, e.penStyle, e.color));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        return;
    case ElementKind::Picture: {
        const QImage &img = picture(e.resource);
        if (img.isNull() || r.width() <= 0 || r.height() <= 0)
            return;
        QSizeF s = img.size();
        s.scale(r.size(), Qt::KeepAspectRatio);
        const QRectF target(r.left() + (r.width() - s.width()) / 2, r.top() + (r.height() - s.height()) / 2,
                            s.width(), s.height());
        p.drawImage(target, img);
        return;
    }
    case ElementKind::Paragraph: {
        const auto block = paragraph(e, r.width());
        block->draw(p, r, box.grown || e.valign == VAlign::Default ? VAlign::Top : e.valign, e.color);
        break;
    }
    default: {
        const auto block = textBlock(e, row, r.width());
        const bool empty = elementText(e, row).trimmed().isEmpty();
        VAlign va = e.valign != VAlign::Default ? e.valign
                                                : (e.wrap || block->lineCount() > 1 ? VAlign::Top : VAlign::Middle);
        if (e.kind == ElementKind::Gap)
            va = VAlign::Bottom; // the value stands on its dotted line
        if (box.grown)
            va = VAlign::Top;
        const double baseline = r.top() + block->offset(r, va) + block->baseline(block->lineCount() - 1);
        if (e.kind == ElementKind::Gap || (e.kind == ElementKind::Label && empty))
            dottedLine(p, r.left(), r.right(), std::min(r.bottom(), baseline + 0.5), e.color);
        if (!empty)
            block->draw(p, r, va, e.color);
        break;
    }
    }
    if (e.border > 0) {
        p.setPen(pen(e.border, Qt::SolidLine, e.color));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
}

void Renderer::paintTableHeader(QPainter &p, double top) const
{
    const Layout &l = m_report.layout();
    const Table &t = *l.table;
    const double left = l.margins.left();
    const QFont font = makeFont(t.headerFont);
    auto cell = [&](const QRectF &r, const QString &title) {
        if (t.headerFill.isValid())
            p.fillRect(r, t.headerFill);
        if (t.border > 0) {
            p.setPen(pen(t.border));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        const QString text = shownText(title, t.headerFont, true);
        if (!text.isEmpty()) {
            const QRectF inner = r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY);
            TextBlock(text, font, Align::Center, inner.width(), directionOf(text)).draw(p, inner, VAlign::Middle, Qt::black);
        }
    };
    const bool two = t.twoLevel();
    for (int i = 0; i < t.columns.size();) {
        const Column &c = t.columns.at(i);
        if (!two || c.group.isEmpty()) {
            cell(QRectF(left + c.x, top, c.width, t.headerHeight), c.title);
            ++i;
            continue;
        }
        // A group: the run of adjacent columns with the same group heading.
        int j = i;
        double groupLeft = c.x, groupRight = c.x + c.width;
        while (j < t.columns.size() && t.columns.at(j).group == c.group) {
            groupLeft = std::min(groupLeft, t.columns.at(j).x);
            ++j;
        }
        cell(QRectF(left + groupLeft, top, groupRight - groupLeft, t.groupHeight), c.group);
        for (int k = i; k < j; ++k) {
            const Column &s = t.columns.at(k);
            cell(QRectF(left + s.x, top + t.groupHeight, s.width, t.headerHeight - t.groupHeight), s.title);
        }
        i = j;
    }
}

void Renderer::paintTableRow(QPainter &p, double top, double height, int row) const
{
    const Layout &l = m_report.layout();
    const Table &t = *l.table;
    const double left = l.margins.left();
    for (const Column &c : t.columns) {
        const QRectF r(left + c.x, top, c.width, height);
        if (t.border > 0) {
            p.setPen(pen(t.border));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        const QString text = shownText(cellText(c, row), c.font, true, false);
        if (text.isEmpty())
            continue;
        const QRectF inner = r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY);
        TextBlock(text, makeFont(c.font), c.align, inner.width(), directionOf(text)).draw(p, inner, VAlign::Middle, Qt::black);
    }
}

} // namespace report
