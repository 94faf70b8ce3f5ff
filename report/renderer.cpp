#include "report/renderer.h"

#include "report/fonts.h"
#include "report/letter_faces.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

namespace report {

namespace {

constexpr double kCellPadX = 0.8; // mm, inside table cells
constexpr double kCellPadY = 0.4;
constexpr double kFramePadX = 1.2; // mm, between a framed text and its frame
// A figure in a table cell is drawn at no less than this share of its column's size while other
// columns have room to give (its column takes it); without room, down to kMinFigurePoints.
constexpr double kLeastCellShare = 0.8;
constexpr double kDefaultGap = 20;  // mm, the dotted gap of an empty label in a sentence
constexpr double kEps = 0.01;
constexpr char16_t kFsi = 0x2068, kLri = 0x2066, kRli = 0x2067, kPdi = 0x2069;

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

// A filled value that shows nothing: empty, blanks, or a date's mask with no figure in it
// ("    /  /  ", " / / ").
bool showsNothing(const QString &value)
{
    for (const QChar c : value)
        if (!c.isSpace() && c != QLatin1Char('/'))
            return false;
    return true;
}

// A text as printed: line breaks kept (wrapping boxes) or made blanks, every run of blanks one
// blank, no blank at either end, every figure in Persian digits. A word stays whole: no line
// breaks after the hyphens and slashes inside it ("15-پانزده", a date, "1404/ق/2310").
QString shownText(const QString &raw, bool keepBreaks)
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
    for (int i = int(out.size()) - 2; i >= 1; --i) {
        const QChar c = out.at(i);
        if ((c == QLatin1Char('-') || c == QLatin1Char('/')) && !out.at(i - 1).isSpace() && !out.at(i + 1).isSpace())
            out.insert(i + 1, QChar(0x2060)); // word joiner
    }
    return persianFigures(out);
}

// The size a word `wordWidth` mm wide at `size` points is drawn at in `width` mm: its own when it
// fits, else smaller, not below kMinFigurePoints. Text widths scale with the size.
double fittedSize(double size, double wordWidth, double width)
{
    if (wordWidth <= width + kEps)
        return size;
    // A little under the exact ratio, so that rounding the font's size never makes it too wide.
    const double fitted = std::floor(size * width / wordWidth * 0.99 * 10) / 10;
    return std::max(std::min(size, kMinFigurePoints), fitted);
}

// What a text's layout depends on.
struct BlockKey {
    QString text;
    FontDef font;
    Align align;
    double width;
    Qt::LayoutDirection dir;
    bool operator==(const BlockKey &) const = default;
};

size_t qHash(const BlockKey &k, size_t seed = 0) noexcept
{
    return qHashMulti(seed, k.text, k.font, int(k.align), k.width, int(k.dir));
}

struct WordKey {
    QString word;
    FontDef font;
    bool operator==(const WordKey &) const = default;
};

size_t qHash(const WordKey &k, size_t seed = 0) noexcept
{
    return qHashMulti(seed, k.word, k.font);
}

// How many laid-out texts and measured words a renderer keeps. A long report keeps those of its
// first pages (and every text that repeats); the texts of the later ones are laid out again to
// be painted.
constexpr qsizetype kKeptBlocks = 20000;
constexpr qsizetype kKeptWords = 100000;
constexpr qsizetype kKeptCells = 4 * kKeptBlocks;

} // namespace

// A text laid out right to left (or by its content) in a given width, measured in millimetres.
// It wraps at its blanks (a word wider than the whole width anywhere: nothing is cut). Lines
// are set on the line box of the fonts it uses. Justified lines stretch their blanks alone:
// each is set again with the room it lacks shared among its blanks (Qt's own justification
// may share it among the letters of Arabic text, which a PDF's text layer then gives letter by
// letter). Words that hold the Arabic yeh or kaf are set in the face that names each letter as
// typed in a PDF's text layer (report/letter_faces.h).
class TextBlock {
public:
    TextBlock(const QString &text, const QFont &font, Align align, double widthMm, Qt::LayoutDirection dir,
              QList<QTextLayout::FormatRange> formats = {})
        : m_layout(text, font)
    {
        LineBox box = lineBox(font);
        for (const QTextLayout::FormatRange &f : formats) {
            if (!f.format.hasProperty(QTextFormat::FontFamilies) && !f.format.hasProperty(QTextFormat::FontPixelSize))
                continue;
            const LineBox b = lineBox(f.format.font());
            box.ascent = std::max(box.ascent, b.ascent);
            box.descent = std::max(box.descent, b.descent);
        }
        addLetterFaces(text, font, formats);
        const QTextOption opt = option(dir, align);
        m_layout.setTextOption(opt);
        if (!formats.isEmpty())
            m_layout.setFormats(formats);
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
            line.setPosition(QPointF(0, top(i) - line.ascent()));
        }
        m_layout.endLayout();
        if (align == Align::Justify)
            stretchLines(font, formats, opt, width);
    }

    int lineCount() const { return std::max(1, m_layout.lineCount()); }
    double height() const { return lineCount() * m_spacing / kUnitsPerMm; }
    // Baseline of a line, mm from the block's top.
    double baseline(int line) const { return top(line) / kUnitsPerMm; }

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
        for (int i = 0; i < m_layout.lineCount(); ++i) {
            if (i < int(m_stretched.size()) && m_stretched[i])
                m_stretched[i]->lineAt(0).draw(&p, QPointF(0, 0));
            else
                m_layout.lineAt(i).draw(&p, QPointF(0, 0));
        }
        p.restore();
    }

private:
    // Baseline of line i, units from the block's top.
    double top(int line) const { return line * m_spacing + m_baseline; }

    static QTextOption option(Qt::LayoutDirection dir, Align align)
    {
        QTextOption opt;
        opt.setTextDirection(dir);
        Qt::Alignment a = Qt::AlignAbsolute;
        switch (align) {
        case Align::Right: a |= Qt::AlignRight; break;
        case Align::Left: a |= Qt::AlignLeft; break;
        case Align::Center: a |= Qt::AlignHCenter; break;
        // The last line of a justified text, and a line it breaks itself, stand at its start.
        case Align::Justify: a |= dir == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft; break;
        }
        opt.setAlignment(a);
        opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        opt.setUseDesignMetrics(true);
        return opt;
    }

    // Each run of Arabic letters that holds the Arabic yeh or kaf gets the face's copy that names
    // every letter as typed, where its face needs one.
    static void addLetterFaces(const QString &text, const QFont &font, QList<QTextLayout::FormatRange> &formats)
    {
        auto inWord = [](QChar c) {
            return (c.script() == QChar::Script_Arabic && c.isLetter()) || c.isMark() || c.unicode() == 0x200C
                   || c.unicode() == 0x200D;
        };
        const qsizetype given = formats.size();
        for (qsizetype i = 0, n = text.size(); i < n;) {
            if (!inWord(text.at(i))) {
                ++i;
                continue;
            }
            qsizetype j = i;
            while (j < n && inWord(text.at(j)))
                ++j;
            if (holdsArabicLetters(QStringView(text).mid(i, j - i))) {
                QStringList families = font.families();
                for (qsizetype k = 0; k < given; ++k) {
                    const QTextLayout::FormatRange &f = formats.at(k);
                    if (f.start <= i && i < f.start + f.length && f.format.hasProperty(QTextFormat::FontFamilies))
                        families = f.format.fontFamilies().toStringList();
                }
                const QString copy = families.isEmpty() ? QString() : typedLettersFamily(families.first());
                if (!copy.isEmpty()) {
                    families.prepend(copy);
                    QTextLayout::FormatRange r;
                    r.start = int(i);
                    r.length = int(j - i);
                    r.format.setFontFamilies(families);
                    formats << r;
                }
            }
            i = j;
        }
    }

    // The direction of the isolate that the first-strong isolate initiator at `at` opens: that
    // of its first letter with a direction, nested isolates aside; left to right without one.
    static Qt::LayoutDirection isolateDirection(const QString &text, int at)
    {
        int depth = 0;
        for (int k = at + 1; k < text.size(); ++k) {
            const QChar c = text.at(k);
            if (c.unicode() == kFsi || c.unicode() == kLri || c.unicode() == kRli) {
                ++depth;
            } else if (c.unicode() == kPdi) {
                if (depth-- == 0)
                    break;
            } else if (depth == 0) {
                const QChar::Direction d = c.direction();
                if (d == QChar::DirL)
                    return Qt::LeftToRight;
                if (d == QChar::DirR || d == QChar::DirAL)
                    return Qt::RightToLeft;
            }
        }
        return Qt::LeftToRight;
    }

    // Every line of a justified text but its last, and but one that ends where the text breaks
    // itself, set again alone with its blanks widened to fill the width.
    void stretchLines(const QFont &font, const QList<QTextLayout::FormatRange> &formats, QTextOption opt, double width)
    {
        const QString &text = m_layout.text();
        opt.setWrapMode(QTextOption::NoWrap);
        m_stretched.resize(m_layout.lineCount());
        QString open; // the isolates open at the line's start, as the initiators of their directions
        int scanned = 0;
        for (int i = 0; i + 1 < m_layout.lineCount(); ++i) {
            const QTextLine line = m_layout.lineAt(i);
            const int from = line.textStart();
            for (; scanned < from; ++scanned) {
                const char16_t c = text.at(scanned).unicode();
                if (c == kFsi)
                    open += QChar(isolateDirection(text, scanned) == Qt::RightToLeft ? kRli : kLri);
                else if (c == kLri || c == kRli)
                    open += QChar(c);
                else if (c == kPdi && !open.isEmpty())
                    open.chop(1);
            }
            int end = from + line.textLength();
            if (end > from && text.at(end - 1) == QChar::LineSeparator)
                continue;
            while (end > from && text.at(end - 1).isSpace())
                --end;
            if (end <= from)
                continue;
            // The line's text with the isolates it stands in opened again at its start, each in
            // the direction it took in the whole text (a line may start with a Latin word of a
            // Persian sentence).
            const QString part = open + text.mid(from, end - from);
            QList<QTextLayout::FormatRange> clipped;
            for (const QTextLayout::FormatRange &f : formats) {
                const int s = std::max(f.start, from), e = std::min(f.start + f.length, end);
                if (s < e)
                    clipped << QTextLayout::FormatRange{s - from + int(open.size()), e - s, f.format};
            }
            const double y = top(i);
            auto set = [&](double spacing) {
                QFont f = font;
                f.setWordSpacing(spacing);
                auto layout = std::make_unique<QTextLayout>(part, f);
                layout->setTextOption(opt);
                QList<QTextLayout::FormatRange> spaced = clipped;
                for (QTextLayout::FormatRange &r : spaced)
                    r.format.setFontWordSpacing(spacing);
                layout->setFormats(spaced);
                layout->beginLayout();
                QTextLine l = layout->createLine();
                l.setLineWidth(width);
                l.setPosition(QPointF(0, y - l.ascent()));
                layout->endLayout();
                return layout;
            };
            const double natural = set(0)->lineAt(0).naturalTextWidth();
            const double missing = width - natural;
            if (missing <= 1)
                continue;
            // How much a unit of word spacing widens the line: the number of its blanks.
            const double blanks = (set(100)->lineAt(0).naturalTextWidth() - natural) / 100;
            if (blanks < 0.5)
                continue;
            m_stretched[i] = set(missing / blanks);
        }
    }

    QTextLayout m_layout;
    std::vector<std::unique_ptr<QTextLayout>> m_stretched; // per line: the line set again, justified
    double m_spacing = 0;  // units
    double m_baseline = 0; // units from a line's top
};

namespace {

// Height of one line of a font, mm.
double lineHeight(const FontDef &f)
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
QString dots(const FontDef &f, double widthMm)
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

// The room a text element keeps on either side inside its frame (none without one).
double framePad(const Element &e)
{
    return e.border > 0 && e.kind != ElementKind::Paragraph ? kFramePadX : 0;
}

} // namespace

// What measuring the pages laid out, kept for painting them: the texts with their font, width,
// alignment and direction (the same text in the same box is laid out once), the widths of the
// words, the paragraphs, and the bands that belong to no row (a page header is the same on
// every page).
struct Renderer::Cache {
    QHash<BlockKey, std::shared_ptr<const TextBlock>> blocks;
    QHash<WordKey, double> words; // units
    QHash<QPair<const Element *, double>, std::shared_ptr<const TextBlock>> paragraphs;
    QHash<int, BandLayout> bands;
    // Per detail cell of the first rows (row-major): its text as laid out to measure the row.
    std::vector<std::shared_ptr<const TextBlock>> cells;
};

Renderer::~Renderer() = default;

Renderer::Renderer(const FilledReport &r) : m_report(r), m_cache(std::make_unique<Cache>())
{
    const Layout &l = m_report.layout();
    const bool rows = l.hasRows();
    const int rowCount = rows ? m_report.rowCount() : 0;
    if (l.table) {
        for (const Column &c : l.table->columns)
            m_fieldIndex << (c.field.isEmpty() ? -1 : m_report.columnIndex(c.field));
        placeColumns();
    }

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
std::shared_ptr<const TextBlock> Renderer::paragraph(const Element &e, double width) const
{
    const QPair<const Element *, double> key(&e, width);
    const auto kept = m_cache->paragraphs.constFind(key);
    if (kept != m_cache->paragraphs.constEnd())
        return *kept;
    static const QChar kWide(0x2003);
    QString text;
    QList<QTextLayout::FormatRange> formats;
    bool lastWasLabel = false;
    for (const Run &run : e.runs) {
        FontDef f = run.font;
        if (run.isLabel && m_report.fontSize(run.text) > 0)
            f.size = m_report.fontSize(run.text);
        const QString value = run.isLabel ? m_report.text(run.text) : run.text;
        QString piece = run.isLabel && showsNothing(value) ? QString() : shownText(value, false);
        const bool empty = piece.isEmpty();
        if (empty) {
            if (!run.isLabel)
                continue;
            piece = dots(f, run.w > 0 ? run.w : kDefaultGap);
        }
        if (!text.isEmpty())
            text += run.isLabel && lastWasLabel ? kWide : QLatin1Char(' ');
        text += QChar(kFsi);
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
        text += QChar(kPdi);
        lastWasLabel = run.isLabel;
    }
    auto block = std::make_shared<const TextBlock>(text, makeFont(e.font), e.align, width, Qt::RightToLeft, formats);
    m_cache->paragraphs.insert(key, block);
    return block;
}

// A text laid out in a box, or the same text laid out before in the same font and box.
std::shared_ptr<const TextBlock> Renderer::textBlock(const QString &text, const FontDef &font, Align align,
                                                     double width, Qt::LayoutDirection dir) const
{
    BlockKey key{text, font, align, width, dir};
    const auto kept = m_cache->blocks.constFind(key);
    if (kept != m_cache->blocks.constEnd())
        return *kept;
    auto block = std::make_shared<const TextBlock>(text, makeFont(font), align, width, dir);
    if (m_cache->blocks.size() < kKeptBlocks)
        m_cache->blocks.insert(std::move(key), block);
    return block;
}

// The widest word (text between blanks and line breaks) of a printed text in a font, mm.
double Renderer::widestWord(const QString &shown, const FontDef &font) const
{
    std::optional<QFontMetricsF> fm; // made for the first word not measured before
    double widest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= shown.size(); ++i) {
        if (i < shown.size() && shown.at(i) != QLatin1Char(' ') && shown.at(i) != QChar::LineSeparator)
            continue;
        if (i > start) {
            WordKey key{shown.mid(start, i - start), font};
            const auto kept = m_cache->words.constFind(key);
            double w = 0;
            if (kept != m_cache->words.constEnd()) {
                w = *kept;
            } else {
                if (!fm)
                    fm.emplace(makeFont(font));
                w = fm->horizontalAdvance(key.word);
                if (m_cache->words.size() < kKeptWords)
                    m_cache->words.insert(std::move(key), w);
            }
            widest = std::max(widest, w);
        }
        start = i + 1;
    }
    return widest / kUnitsPerMm;
}

// A printed text in a box `width` mm wide: drawn smaller where a word is wider than the box.
Renderer::Fitted Renderer::fitted(const QString &shown, FontDef font, double width) const
{
    const double word = widestWord(shown, font);
    const double size = fittedSize(font.size, word, width);
    const double needed = word * size / font.size;
    font.size = size;
    return {font, std::max(width, needed)};
}

FontDef Renderer::elementFont(const Element &e) const
{
    FontDef f = e.font;
    if ((e.kind == ElementKind::Label || e.kind == ElementKind::Gap)) {
        const double s = m_report.fontSize(e.name);
        if (s > 0)
            f.size = s;
    }
    return f;
}

// The text an element shows; nothing for a filled value that shows nothing (an empty date).
QString Renderer::elementText(const Element &e, int row) const
{
    QString value;
    switch (e.kind) {
    case ElementKind::Text: return e.text;
    case ElementKind::Label:
    case ElementKind::Gap: value = m_report.text(e.name); break;
    case ElementKind::Field: value = m_report.cell(row, e.name); break;
    case ElementKind::RowNumber: return row >= 0 ? QString::number(row + 1) : QString();
    default: return {};
    }
    return showsNothing(value) ? QString() : value;
}

QRectF Renderer::elementRect(const Element &e, double top) const
{
    const Layout &l = m_report.layout();
    const double pw = l.printableWidth();
    double x, w;
    if (!e.column.isEmpty() && l.table) {
        // Under a column: where the column landed.
        const int i = int(l.table->column(e.column) - l.table->columns.constData());
        x = m_columns.at(i).x;
        w = e.columnWidth ? m_columns.at(i).width : e.w;
    } else if (e.fromRight) {
        w = e.w >= 0 ? e.w : pw - e.x;
        x = pw - e.x - w;
    } else {
        x = e.x;
        w = e.w >= 0 ? e.w : pw - e.x;
    }
    return QRectF(l.margins.left() + x, top + e.y, std::max(0.0, w), e.h);
}

// A box widened to `width` from the side its text stands at, kept inside the printable area.
QRectF Renderer::widened(const QRectF &r, double width, Align align) const
{
    const Layout &l = m_report.layout();
    const double left = l.margins.left(), right = left + l.printableWidth();
    width = std::min(width, right - left);
    QRectF w = r;
    if (align == Align::Right)
        w.setLeft(r.right() - width);
    else if (align == Align::Left)
        w.setRight(r.left() + width);
    else
        w.adjust(-(width - r.width()) / 2, 0, (width - r.width()) / 2, 0);
    if (w.left() < left)
        w.moveLeft(left);
    if (w.right() > right)
        w.moveRight(right);
    return w;
}

// The band's elements where they land. A text element has the room the layout gave it: its
// height, or without one the room down to the next element below it (or to the band's end), at
// least a line. A text that needs more grows (a "fit" one takes exactly what it needs), and
// every element that starts below the room it was given moves down by as much (and by what
// moved it); an element moves up only when everything above it did. The band follows its end.
Renderer::BandLayout Renderer::layoutBand(BandKind kind, int row) const
{
    if (row < 0) {
        const auto kept = m_cache->bands.constFind(int(kind));
        if (kept != m_cache->bands.constEnd())
            return *kept;
    }
    const Layout &l = m_report.layout();
    const Band &b = l.band(kind);
    const int n = int(b.elements.size());
    BandLayout out;
    out.boxes.resize(n);
    QVector<double> room(n, 0), grow(n, 0), shift(n, 0);
    for (int i = 0; i < n; ++i) {
        const Element &e = b.elements.at(i);
        Box &box = out.boxes[i];
        QRectF r = elementRect(e, 0);
        box.e = &e;
        if (!isText(e.kind)) {
            room[i] = std::max(0.0, e.h);
            r.setHeight(room[i]);
            box.r = r;
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
        double need = 0;
        if (e.kind == ElementKind::Paragraph) {
            need = paragraph(e, r.width())->height();
        } else {
            box.font = elementFont(e);
            box.text = shownText(elementText(e, row), e.wrap);
            const Align align = e.kind == ElementKind::Gap ? Align::Center : e.align;
            // A framed text keeps clear of its frame.
            const double pad = framePad(e);
            if (!box.text.isEmpty()) {
                const Fitted fit = fitted(box.text, box.font, r.width() - 2 * pad);
                box.font = fit.font;
                if (fit.width + 2 * pad > r.width() + kEps)
                    r = widened(r, fit.width + 2 * pad, align);
            }
            need = textBlock(box.text, box.font, align, r.width() - 2 * pad, directionOf(box.text))->height();
        }
        grow[i] = e.fit ? need - given : std::max(0.0, need - given);
        if (std::abs(grow[i]) <= kEps)
            grow[i] = 0;
        box.grown = grow[i] > 0;
        r.setHeight(given + grow[i]);
        box.r = r;
    }
    // Elements in order of their tops (lines before what starts where they are).
    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int c) {
        const Element &ea = b.elements.at(a), &ec = b.elements.at(c);
        return ea.y < ec.y - kEps || (std::abs(ea.y - ec.y) <= kEps && room[a] < room[c]);
    });
    for (int k = 0; k < n; ++k) {
        const int j = order.at(k);
        const double y = b.elements.at(j).y;
        bool above = false;
        for (int m = 0; m < k; ++m) {
            const int i = order.at(m);
            if (b.elements.at(i).y + room[i] > y + kEps)
                continue;
            shift[j] = above ? std::max(shift[j], shift[i] + grow[i]) : shift[i] + grow[i];
            above = true;
        }
    }
    bool inside = false;
    double bandShift = 0;
    for (int i = 0; i < n; ++i) {
        if (b.elements.at(i).y + room[i] <= b.height + kEps) {
            bandShift = inside ? std::max(bandShift, shift[i] + grow[i]) : shift[i] + grow[i];
            inside = true;
        }
        out.boxes[i].r.translate(0, shift[i]);
    }
    double height = b.height + bandShift;
    for (const Box &box : out.boxes)
        height = std::max(height, box.r.bottom());
    out.height = std::max(0.0, height);
    if (row < 0)
        m_cache->bands.insert(int(kind), out);
    return out;
}

// Where the table's columns land. A column whose words need more room than it has, drawn at
// kLeastCellShare of its size (or at the smallest size, when that is larger), takes the room from
// the columns whose words need less than they have, as far as they have it; the table keeps its
// width. Each detail cell's widest word is kept for its size.
void Renderer::placeColumns()
{
    const Layout &l = m_report.layout();
    const Table &t = *l.table;
    const int n = int(t.columns.size());
    m_columns.resize(n);
    for (int i = 0; i < n; ++i)
        m_columns[i] = {t.columns.at(i).x, t.columns.at(i).width};
    const int rows = l.hasRows() ? m_report.rowCount() : 0;
    m_cellWords.fill(0, qsizetype(rows) * n);
    QVector<double> keep(n, 0), need(n, 0); // inner widths the words need at their size, at the least
    for (int i = 0; i < n; ++i) {
        const Column &c = t.columns.at(i);
        const double title = widestWord(shownText(c.title, true), t.headerFont);
        keep[i] = title;
        need[i] = title * std::min(1.0, kMinFigurePoints / t.headerFont.size);
        for (int r = 0; r < rows; ++r) {
            const QString text = shownText(cellText(c, r), true);
            if (text.isEmpty())
                continue;
            const double word = widestWord(text, c.font);
            m_cellWords[qsizetype(r) * n + i] = float(word);
            keep[i] = std::max(keep[i], word);
            // (a little over, as fittedSize draws a little under)
            const double least = std::min(1.0, std::max(kMinFigurePoints / c.font.size, kLeastCellShare));
            need[i] = std::max(need[i], word * least * 1.03);
        }
    }
    QVector<double> deficit(n, 0), slack(n, 0);
    double missing = 0, spare = 0;
    for (int i = 0; i < n; ++i) {
        const double inner = m_columns[i].width - 2 * kCellPadX;
        deficit[i] = std::max(0.0, need[i] - inner);
        missing += deficit[i];
    }
    if (missing <= kEps)
        return;
    for (int i = 0; i < n; ++i) {
        if (deficit[i] > 0)
            continue;
        slack[i] = std::max(0.0, m_columns[i].width - 2 * kCellPadX - keep[i]);
        spare += slack[i];
    }
    const double moved = std::min(missing, spare);
    if (moved <= kEps)
        return;
    double right = t.x + t.width;
    for (int i = 0; i < n; ++i) {
        m_columns[i].width += deficit[i] * moved / missing - slack[i] * moved / spare;
        m_columns[i].x = right - m_columns[i].width;
        right = m_columns[i].x;
    }
}

// A detail cell's text laid out in its column, drawn smaller where its widest word is wider.
std::shared_ptr<const TextBlock> Renderer::cellBlock(int column, int row, double *innerWidth) const
{
    const Table &t = *m_report.layout().table;
    const Column &c = t.columns.at(column);
    const QString text = shownText(cellText(c, row), true);
    const double inner = m_columns.at(column).width - 2 * kCellPadX;
    *innerWidth = inner;
    if (text.isEmpty())
        return nullptr;
    FontDef f = c.font;
    const qsizetype at = qsizetype(row) * t.columns.size() + column;
    if (at < m_cellWords.size())
        f.size = fittedSize(f.size, m_cellWords.at(at), inner);
    return textBlock(text, f, c.align, inner, directionOf(text));
}

double Renderer::tableRowHeight(int row) const
{
    const Table &t = *m_report.layout().table;
    double rh = t.rowHeight;
    std::vector<std::shared_ptr<const TextBlock>> &cells = m_cache->cells;
    for (int i = 0; i < t.columns.size(); ++i) {
        double inner = 0;
        const bool keep = m_cache->blocks.size() < kKeptBlocks; // (then the block is kept in any case)
        if (auto block = cellBlock(i, row, &inner)) {
            rh = std::max(rh, block->height() + 2 * kCellPadY);
            const qsizetype at = qsizetype(row) * t.columns.size() + i;
            if (keep && at < kKeptCells) {
                if (qsizetype(cells.size()) <= at)
                    cells.resize(at + 1);
                cells[at] = std::move(block);
            }
        }
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

// A cell's value; nothing for one that shows nothing (an empty date).
QString Renderer::cellText(const Column &c, int row) const
{
    if (c.rowNumber)
        return QString::number(row + 1);
    if (!c.field.isEmpty()) {
        const Table &t = *m_report.layout().table;
        const int i = int(&c - t.columns.constData());
        const int fi = i >= 0 && i < m_fieldIndex.size() ? m_fieldIndex.at(i) : m_report.columnIndex(c.field);
        const QString value = m_report.cell(row, fi);
        return showsNothing(value) ? QString() : value;
    }
    return c.text;
}

QString Renderer::pageNumberText(int page) const
{
    if (pageCount() < 2)
        return {};
    return persianFigures(QStringLiteral("صفحه %1 از %2").arg(page + 1).arg(pageCount()));
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
    FontDef f = l.font;
    f.size = 9;
    f.bold = false;
    const auto kept = textBlock(text, f, Align::Center, l.printableWidth(), Qt::RightToLeft);
    const TextBlock &block = *kept;
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
        paintElement(p, box, b.y);
}

void Renderer::paintElement(QPainter &p, const Box &box, double top) const
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
        const double pad = framePad(e);
        const auto kept = textBlock(box.text, box.font, e.kind == ElementKind::Gap ? Align::Center : e.align,
                                    r.width() - 2 * pad, directionOf(box.text));
        const TextBlock &block = *kept;
        const bool empty = box.text.isEmpty();
        VAlign va = e.valign != VAlign::Default ? e.valign
                                                : (e.wrap || block.lineCount() > 1 ? VAlign::Top : VAlign::Middle);
        if (e.kind == ElementKind::Gap)
            va = VAlign::Bottom; // the value stands on its dotted line
        if (box.grown)
            va = VAlign::Top;
        const double baseline = r.top() + block.offset(r, va) + block.baseline(block.lineCount() - 1);
        if (e.kind == ElementKind::Gap || (e.kind == ElementKind::Label && empty))
            dottedLine(p, r.left(), r.right(), std::min(r.bottom(), baseline + 0.5), e.color);
        if (!empty)
            block.draw(p, r.adjusted(pad, 0, -pad, 0), va, e.color);
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
    auto cell = [&](const QRectF &r, const QString &title) {
        if (t.headerFill.isValid())
            p.fillRect(r, t.headerFill);
        if (t.border > 0) {
            p.setPen(pen(t.border));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        const QString text = shownText(title, true);
        if (!text.isEmpty()) {
            const QRectF inner = r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY);
            const Fitted fit = fitted(text, t.headerFont, inner.width());
            textBlock(text, fit.font, Align::Center, inner.width(), directionOf(text))
                ->draw(p, inner, VAlign::Middle, Qt::black);
        }
    };
    const bool two = t.twoLevel();
    for (int i = 0; i < t.columns.size();) {
        const Column &c = t.columns.at(i);
        const ColumnPlace &at = m_columns.at(i);
        if (!two || c.group.isEmpty()) {
            cell(QRectF(left + at.x, top, at.width, t.headerHeight), c.title);
            ++i;
            continue;
        }
        // A group: the run of adjacent columns with the same group heading.
        int j = i;
        double groupLeft = at.x, groupRight = at.x + at.width;
        while (j < t.columns.size() && t.columns.at(j).group == c.group) {
            groupLeft = std::min(groupLeft, m_columns.at(j).x);
            ++j;
        }
        cell(QRectF(left + groupLeft, top, groupRight - groupLeft, t.groupHeight), c.group);
        for (int k = i; k < j; ++k) {
            const ColumnPlace &s = m_columns.at(k);
            cell(QRectF(left + s.x, top + t.groupHeight, s.width, t.headerHeight - t.groupHeight), t.columns.at(k).title);
        }
        i = j;
    }
}

void Renderer::paintTableRow(QPainter &p, double top, double height, int row) const
{
    const Layout &l = m_report.layout();
    const Table &t = *l.table;
    const double left = l.margins.left();
    for (int i = 0; i < t.columns.size(); ++i) {
        const QRectF r(left + m_columns.at(i).x, top, m_columns.at(i).width, height);
        if (t.border > 0) {
            p.setPen(pen(t.border));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        const qsizetype at = qsizetype(row) * t.columns.size() + i;
        const TextBlock *kept = at < qsizetype(m_cache->cells.size()) ? m_cache->cells[at].get() : nullptr;
        std::shared_ptr<const TextBlock> block;
        if (!kept) {
            double inner = 0;
            block = cellBlock(i, row, &inner);
            kept = block.get();
        }
        if (kept)
            kept->draw(p, r.adjusted(kCellPadX, kCellPadY, -kCellPadX, -kCellPadY), VAlign::Middle, Qt::black);
    }
}

} // namespace report
