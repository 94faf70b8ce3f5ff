#include "report/pdf_text.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QVector>

#include <algorithm>

namespace report {

namespace {

struct Edit {
    qsizetype pos = 0;   // where the replaced bytes began
    qsizetype delta = 0; // new length - old length
};

QString fromHex(const QByteArray &hex)
{
    QString s;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        s += QChar(char16_t(hex.mid(i, 4).toUShort(nullptr, 16)));
    return s;
}

QByteArray toHex(const QString &s)
{
    QByteArray out;
    for (const QChar c : s)
        out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return out;
}

// The characters a user searches for in place of those the font's map named.
QString plain(const QString &named)
{
    QString out;
    for (const QChar c : named) {
        const char16_t u = c.unicode();
        if ((u >= 0xFB50 && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF)) {
            QString letters = QString(c).normalized(QString::NormalizationForm_KC);
            // A ligature's letters (lam-alef) as they stand across its glyph from left to right,
            // the order in which text extraction places a glyph's letters; it then reads the
            // right-to-left line from the right, which gives them back in their own order.
            if (letters.size() > 1 && letters.at(0).direction() == QChar::DirAL)
                std::reverse(letters.begin(), letters.end());
            out += letters;
        }
        else if (u >= 0x0660 && u <= 0x0669)
            out += QChar(char16_t(0x06F0 + (u - 0x0660)));
        else
            out += c;
    }
    return out;
}

// The glyph-to-text pairs of a ToUnicode map (its bfchar and bfrange entries).
bool readMap(const QByteArray &cmap, QMap<int, QString> &map)
{
    static const QRegularExpression section(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression hexToken(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]"));
    const QString text = QString::fromLatin1(cmap);
    auto sections = section.globalMatch(text);
    while (sections.hasNext()) {
        const auto m = sections.next();
        const bool range = m.captured(1) == QLatin1String("bfrange");
        QStringList tokens; // hex tokens, "[" and "]"
        auto it = hexToken.globalMatch(m.captured(2));
        while (it.hasNext()) {
            const auto t = it.next();
            tokens << (t.captured(0).startsWith(QLatin1Char('<')) ? t.captured(1) : t.captured(0));
        }
        qsizetype i = 0;
        auto next = [&]() -> QString { return i < tokens.size() ? tokens.at(i++) : QString(); };
        while (i < tokens.size()) {
            const int lo = next().toInt(nullptr, 16);
            if (!range) {
                map.insert(lo, fromHex(next().toLatin1()));
                continue;
            }
            const int hi = next().toInt(nullptr, 16);
            const QString dst = next();
            if (dst == QLatin1String("[")) {
                for (int g = lo; g <= hi; ++g)
                    map.insert(g, fromHex(next().toLatin1()));
                if (next() != QLatin1String("]"))
                    return false;
            } else {
                QString first = fromHex(dst.toLatin1());
                for (int g = lo; g <= hi && !first.isEmpty(); ++g) {
                    map.insert(g, first);
                    first.back() = QChar(char16_t(first.back().unicode() + 1));
                }
            }
        }
    }
    return true;
}

QByteArray writeMap(const QMap<int, QString> &map)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    QVector<QByteArray> lines;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        if (!it.value().isEmpty())
            lines << "<" + QByteArray::number(it.key(), 16).rightJustified(4, '0').toUpper() + "> <" +
                         toHex(plain(it.value())) + ">\n";
    for (qsizetype i = 0; i < lines.size(); i += 100) {
        const qsizetype n = std::min<qsizetype>(100, lines.size() - i);
        out += QByteArray::number(n) + " beginbfchar\n";
        for (qsizetype k = i; k < i + n; ++k)
            out += lines.at(k);
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

// A font's glyph widths, each half a unit (of a thousandth of the size) wider. Qt writes them
// rounded to whole units, while it places each glyph by its exact advance: a width rounded down
// leaves a sliver between two letters of a word, which text extraction takes for a blank and
// gives the word letter by letter. A width never less than the advance closes the sliver;
// the glyphs are placed one by one, so the widths move nothing on the page.
QByteArray coveringWidths(const QByteArray &widths)
{
    static const QRegularExpression number(QStringLiteral("(?<![\\d.])(\\d+)(?![\\d.])"));
    QString s = QString::fromLatin1(widths);
    // "/W [first [w w ...] first [w w ...]]": only the widths inside the inner brackets.
    QString out;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c != QLatin1Char('[') && c != QLatin1Char(']'))
            continue;
        QString piece = s.mid(start, i - start);
        if (depth == 2)
            piece.replace(number, QStringLiteral("\\1.5"));
        out += piece + c;
        start = i + 1;
        depth += c == QLatin1Char('[') ? 1 : -1;
    }
    out += s.mid(start);
    return out.toLatin1();
}

} // namespace

bool plainTextLayer(QByteArray &pdf)
{
    static const QByteArray kStart = "/CIDInit /ProcSet findresource begin";
    static const QRegularExpression length(QStringLiteral("<<\\s*/Length (\\d+)\\s*>>\\s*stream\\r?\\n$"));
    static const QRegularExpression widths(QStringLiteral("/W \\[[0-9 \\[\\]\\r\\n]*\\]"));
    struct Change {
        qsizetype pos = 0, length = 0;
        QByteArray bytes;
    };
    QVector<Change> changes;
    // Each ToUnicode map: "<< /Length n >>\nstream\n" right before it, its n bytes, then "endstream".
    for (qsizetype at = pdf.indexOf(kStart); at >= 0; at = pdf.indexOf(kStart, at + 1)) {
        const qsizetype dictStart = pdf.lastIndexOf("<<", at);
        if (!changes.isEmpty() && dictStart < changes.last().pos + changes.last().length)
            return false;
        const auto m = length.match(QString::fromLatin1(pdf.mid(dictStart, at - dictStart)));
        if (!m.hasMatch())
            return false;
        const qsizetype n = m.captured(1).toLongLong();
        if (at + n > pdf.size() || pdf.indexOf("endstream", at + n) < 0)
            return false;
        QMap<int, QString> map;
        if (!readMap(pdf.mid(at, n), map))
            return false;
        const QByteArray cmap = writeMap(map);
        changes << Change{dictStart, at + n - dictStart,
                          "<< /Length " + QByteArray::number(cmap.size()) + " >>\nstream\n" + cmap};
    }
    // The widths of each font, in its font dictionary.
    for (qsizetype at = pdf.indexOf("/Subtype /CIDFontType2"); at >= 0; at = pdf.indexOf("/Subtype /CIDFontType2", at + 1)) {
        const qsizetype end = pdf.indexOf(">>\nendobj", at);
        const qsizetype w = pdf.indexOf("/W [", at);
        if (end < 0 || w < 0 || w > end)
            continue;
        const auto m = widths.match(QString::fromLatin1(pdf.mid(w, end - w)));
        if (!m.hasMatch() || m.capturedStart() != 0)
            return false;
        changes << Change{w, m.capturedLength(), coveringWidths(pdf.mid(w, m.capturedLength()))};
    }
    std::sort(changes.begin(), changes.end(), [](const Change &a, const Change &b) { return a.pos < b.pos; });
    QByteArray out;
    QVector<Edit> edits;
    qsizetype copied = 0;
    for (const Change &c : changes) {
        if (c.pos < copied)
            return false;
        out += pdf.mid(copied, c.pos - copied);
        out += c.bytes;
        edits << Edit{c.pos, c.bytes.size() - c.length};
        copied = c.pos + c.length;
    }
    if (edits.isEmpty())
        return true;
    out += pdf.mid(copied);
    auto moved = [&](qsizetype offset) {
        qsizetype o = offset;
        for (const Edit &e : edits)
            if (e.pos < offset)
                o += e.delta;
        return o;
    };
    // The cross-reference table: "xref", then sections "first count" of 20-byte entries.
    static const QRegularExpression startxref(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const qsizetype tail = std::max<qsizetype>(0, out.size() - 64);
    const auto sx = startxref.match(QString::fromLatin1(out.mid(tail)));
    if (!sx.hasMatch())
        return false;
    const qsizetype xref = moved(sx.captured(1).toLongLong());
    if (!out.mid(xref).startsWith("xref"))
        return false;
    qsizetype p = xref + 4;
    static const QRegularExpression sectionHead(QStringLiteral("^\\s*(\\d+) (\\d+)\\s*\\r?\\n"));
    for (;;) {
        const auto h = sectionHead.match(QString::fromLatin1(out.mid(p, 40)));
        if (!h.hasMatch())
            break;
        p += h.capturedLength(0);
        const int count = h.captured(2).toInt();
        for (int k = 0; k < count; ++k, p += 20) {
            if (p + 20 > out.size())
                return false;
            if (out.at(p + 17) != 'n')
                continue;
            const QByteArray offset = QByteArray::number(moved(out.mid(p, 10).toLongLong())).rightJustified(10, '0');
            out.replace(p, 10, offset);
        }
    }
    const qsizetype numberAt = tail + sx.capturedStart(1);
    out.replace(numberAt, sx.capturedLength(1), QByteArray::number(xref));
    pdf = out;
    return true;
}

bool plainTextLayer(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray pdf = in.readAll();
    in.close();
    if (!plainTextLayer(pdf))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(pdf) != pdf.size())
        return false;
    return f.commit();
}

} // namespace report
