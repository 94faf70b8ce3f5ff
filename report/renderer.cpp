#include "report/renderer.h"

#include "report/fonts.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace report {

namespace {

constexpr double kCellPadX = 0.8; // mm, inside table cells
constexpr double kCellPadY = 0.4;

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

QString oneLine(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

QString withLineBreaks(QString s)
{
    s.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    s.replace(QLatin1Char('\n'), QChar::LineSeparator);
    s.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return s;
}

} // namespace

// A text laid out right to left (or by its content) in a given width, measured in millimetres.
class TextBlock {
public:
    TextBlock(const QString &text, const QFont &font, Align align, bool wrap, double widthMm,
              const QList<QTextLayout::FormatRange> &formats = {}, bool paragraph = false)
        : m_layout(text, font)
    {
        QTextOption opt;
        const Qt::LayoutDirection dir = paragraph ? Qt::RightToLeft : directionOf(text);
        opt.setTextDirection(dir);
        Qt::Alignment a = Qt::AlignAbsolute;
        switch (align) {
        case Align::Right: a |= Qt::AlignRight; break;
        case Align::Left: a |= Qt::AlignLeft; break;
        case Align::Center: a |= Qt::AlignHCenter; break;
        case Align::Justify: a = Qt::AlignJustify; break;
        }
        opt.setAlignment(a);
        opt.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
        opt.setUseDesignMetrics(true);
        m_layout.setTextOption(opt);
        if (!formats.isEmpty())
            m_layout.setFormats(formats);
        m_layout.setCacheEnabled(true);
        const double width = std::max(1.0, widthMm * kUnitsPerMm);
        m_layout.beginLayout();
        double y = 0;
        for (;;) {
            QTextLine line = m_layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        m_layout.endLayout();
        m_height = y / kUnitsPerMm;
    }

    double height() const { return m_height; }

    // Draws the text in rect (mm). When clip, lines that would end below the rect are left out.
    void draw(QPainter &p, const QRectF &rect, VAlign valign, bool clip, const QColor &color) const
    {
        double shown = m_height;
        int lines = m_layout.lineCount();
        if (clip && m_height > rect.height() + 0.01) {
            lines = 0;
            for (int i = 0; i < m_layout.lineCount(); ++i) {
                const QTextLine l = m_layout.lineAt(i);
                if ((l.y() + l.height()) / kUnitsPerMm > rect.height() + 0.01 && i > 0)
                    break;
                lines = i + 1;
                shown = (l.y() + l.height()) / kUnitsPerMm;
            }
        }
        double dy = 0;
        if (valign == VAlign::Middle)
            dy = (rect.height() - shown) / 2;
        else if (valign == VAlign::Bottom)
            dy = rect.height() - shown;
        p.save();
        p.translate(rect.left(), rect.top() + dy);
        p.scale(1 / kUnitsPerMm, 1 / kUnitsPerMm);
        p.setPen(color);
        for (int i = 0; i < lines; ++i)
            m_layout.lineAt(i).draw(&p, QPointF(0, 0));
        p.restore();
    }

private:
    QTextLayout m_layout;
    double m_height = 0;
};

namespace {

double lineHeight(const FontSpec &f)
{
    static QHash<QString, double> cache;
    const QString key = f.family + QLatin1Char('|') + QString::number(f.size) + (f.bold ? QLatin1String("b") : QLatin1String(""));
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const double h = TextBlock(QStringLiteral("آ"), makeFont(f), Align::Right, false, 100).height();
    cache.insert(key, h);
    return h;
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
    if (rows) {
        m_rowHeights.resize(rowCount);
        for (int i = 0; i < rowCount; ++i)
            m_rowHeights[i] = bandHeight(BandKind::Detail, i);
        if (hasColumnHeader) {
            // The heading stays with the first row.
            ensure(columnHeaderHeight + (rowCount > 0 ? m_rowHeights[0] : 0));
            place(BandKind::ColumnHeader, columnHeaderHeight);
        }
        for (int i = 0; i < rowCount; ++i) {
            const double h = m_rowHeights[i];
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
        const bool fitsAfterMove = (hasColumnHeader ? columnHeaderHeight : 0) + pg.last().height + tail
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
// whatever Persian words stand around it, and a value's brackets or "&" stay with it.
std::unique_ptr<TextBlock> Renderer::paragraph(const Element &e, double width) const
{
    static const QChar kFsi(0x2068), kPdi(0x2069);
    QString text;
    QList<QTextLayout::FormatRange> formats;
    for (const Run &run : e.runs) {
        FontSpec f = run.font;
        const QString piece = run.isLabel ? oneLine(m_report.text(run.text)) : oneLine(run.text);
        if (run.isLabel && m_report.fontSize(run.text) > 0)
            f.size = m_report.fontSize(run.text);
        if (piece.trimmed().isEmpty())
            continue;
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += kFsi;
        if (!(f == e.font)) {
            QTextLayout::FormatRange fr;
            fr.start = int(text.size());
            fr.length = int(piece.size());
            fr.format.setFont(makeFont(f));
            formats << fr;
        }
        text += piece;
        text += kPdi;
    }
    return std::make_unique<TextBlock>(text, makeFont(e.font), e.align, true, width, formats, true);
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

double Renderer::elementHeight(const Element &e, int row) const
{
    if (e.h >= 0)
        return e.h;
    switch (e.kind) {
    case ElementKind::Text:
    case ElementKind::Label:
    case ElementKind::Field:
    case ElementKind::RowNumber:
    case ElementKind::Gap: {
        const FontSpec f = elementFont(e);
        if (!e.wrap)
            return lineHeight(f);
        const QRectF r = elementRect(e, 0);
        return std::max(lineHeight(f), TextBlock(withLineBreaks(elementText(e, row)), makeFont(f), e.align, true,
                                                 r.width())
                                           .height());
    }
    case ElementKind::Paragraph: {
        // Measured as painted.
        const QRectF r = elementRect(e, 0);
        return std::max(lineHeight(e.font), paragraph(e, r.width())->height());
    }
    default:
        return 0;
    }
}

double Renderer::bandHeight(BandKind kind, int row) const
{
    const Layout &l = m_report.layout();
    const Band &b = l.band(kind);
    double h = b.height;
    for (const Element &e : b.elements)
        h = std::max(h, e.y + elementHeight(e, row));
    if (l.table && kind == BandKind::ColumnHeader)
        h = std::max(h, l.table->headerHeight);
    if (l.table && kind == BandKind::Detail && row >= 0) {
        const Table &t = *l.table;
        double rh = t.rowHeight;
        for (int i = 0; i < t.columns.size(); ++i) {
            const Column &c = t.columns.at(i);
            const QString text = cellText(c, row);
            if (text.isEmpty())
                continue;
            const double th = c.wrap ? TextBlock(withLineBreaks(text), makeFont(c.font), c.align, true,
                                                 c.width - 2 * kCellPadX)
                                           .height()
                                     : lineHeight(c.font);
            rh = std::max(rh, th + 2 * kCellPadY);
        }
        h = std::max(h, rh);
    }
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
    p.restore();
}

void Renderer::paintBand(QPainter &p, const Placed &b) const
{
    const Layout &l = m_report.layout();
    if (l.table && b.kind == BandKind::ColumnHeader)
        paintTableHeader(p, b.y);
    if (l.table && b.kind == BandKind::Detail && b.row >= 0)
        paintTableRow(p, b.y, b.height, b.row);
    for (const Element &e : l.band(b.kind).elements)
        paintElement(p, e, b.y, b.row);
}

void Renderer::paintElement(QPainter &p, const Element &e, double top, int row) const
{
    QRectF r = elementRect(e, top);
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
        if (r.height() < 0)
            r.setHeight(block->height());
        block->draw(p, r, e.valign == VAlign::Default ? VAlign::Top : e.valign, e.h >= 0, e.color);
        break;
    }
    default: {
        const FontSpec f = elementFont(e);
        const QString text = e.wrap ? withLineBreaks(elementText(e, row)) : oneLine(elementText(e, row));
        if (r.height() < 0)
            r.setHeight(elementHeight(e, row));
        if (e.kind == ElementKind::Gap) {
            p.setPen(pen(0.25, Qt::DotLine, e.color));
            p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
        }
        if (!text.isEmpty()) {
            const TextBlock block(text, makeFont(f), e.kind == ElementKind::Gap ? Align::Center : e.align, e.wrap,
                                  r.width());
            const VAlign va = e.valign != VAlign::Default ? e.valign : (e.wrap ? VAlign::Top : VAlign::Middle);
            block.draw(p, r, va, e.wrap && e.h >= 0, e.color);
        }
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
    auto cell = [&](const QRectF &r, const QString &text) {
        if (t.headerFill.isValid())
            p.fillRect(r, t.headerFill);
        if (t.border > 0) {
            p.setPen(pen(t.border));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        if (!text.isEmpty()) {
            const QRectF inner = r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY);
            TextBlock(withLineBreaks(text), font, Align::Center, true, inner.width())
                .draw(p, inner, VAlign::Middle, false, Qt::black);
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
        const QString text = cellText(c, row);
        if (text.isEmpty())
            continue;
        const QRectF inner = r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY);
        TextBlock(c.wrap ? withLineBreaks(text) : oneLine(text), makeFont(c.font), c.align, c.wrap, inner.width())
            .draw(p, inner, VAlign::Middle, false, Qt::black);
    }
}

} // namespace report
