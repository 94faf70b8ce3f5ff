#include "report/letter_faces.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QHash>
#include <QMap>
#include <QRawFont>
#include <QVector>

namespace report {

namespace {

// The Arabic letter and the Persian letter of each form that a face may draw alike: the yeh
// and the kaf, isolated, final, initial and medial.
constexpr char16_t kPairs[][2] = {
    {0xFEF1, 0xFBFC}, {0xFEF2, 0xFBFD}, {0xFEF3, 0xFBFE}, {0xFEF4, 0xFBFF},
    {0xFED9, 0xFB8E}, {0xFEDA, 0xFB8F}, {0xFEDB, 0xFB90}, {0xFEDC, 0xFB91},
};

// The tables a TrueType or OpenType face may carry; those it lacks read empty. The signature
// (DSIG) is left out: it would no longer match.
const char *const kTables[] = {"cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ", "fpgm",
                               "glyf", "loca", "prep", "gasp", "hdmx", "kern", "LTSH", "VDMX", "GDEF", "GSUB",
                               "GPOS", "BASE", "JSTF", "EBDT", "EBLC", "EBSC", "vhea", "vmtx", "VORG", "CFF ",
                               "PCLT", "MATH", "COLR", "CPAL"};

quint16 be16(const QByteArray &d, qsizetype at)
{
    return quint16(uchar(d.at(at)) << 8 | uchar(d.at(at + 1)));
}

quint32 be32(const QByteArray &d, qsizetype at)
{
    return quint32(be16(d, at)) << 16 | be16(d, at + 2);
}

void put16(QByteArray &d, quint32 v)
{
    d += char(v >> 8 & 0xFF);
    d += char(v & 0xFF);
}

void put32(QByteArray &d, quint32 v)
{
    put16(d, v >> 16);
    put16(d, v & 0xFFFF);
}

quint32 checksum(const QByteArray &d)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < d.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = word << 8 | (i + k < d.size() ? uchar(d.at(i + k)) : 0);
        sum += word;
    }
    return sum;
}

// The face's Unicode map of the basic plane (a format 4 subtable), code -> glyph.
bool readCmap(const QByteArray &cmap, QMap<quint32, quint16> &map)
{
    if (cmap.size() < 4)
        return false;
    qsizetype table = -1;
    for (int i = 0, n = be16(cmap, 2); i < n; ++i) {
        const qsizetype record = 4 + 8 * i;
        if (record + 8 > cmap.size())
            return false;
        const quint16 platform = be16(cmap, record), encoding = be16(cmap, record + 2);
        const quint32 offset = be32(cmap, record + 4);
        if (offset + 14 > quint32(cmap.size()) || be16(cmap, offset) != 4)
            continue;
        if ((platform == 3 && encoding == 1) || (platform == 0 && table < 0))
            table = offset;
    }
    if (table < 0)
        return false;
    const int segX2 = be16(cmap, table + 6);
    const qsizetype ends = table + 14, starts = ends + segX2 + 2, deltas = starts + segX2, ranges = deltas + segX2;
    if (ranges + segX2 > cmap.size())
        return false;
    for (int s = 0; s < segX2 / 2; ++s) {
        const quint32 end = be16(cmap, ends + 2 * s), start = be16(cmap, starts + 2 * s);
        const quint16 delta = be16(cmap, deltas + 2 * s), rangeOffset = be16(cmap, ranges + 2 * s);
        for (quint32 c = start; c <= end && c < 0xFFFF; ++c) {
            quint16 g = 0;
            if (rangeOffset == 0) {
                g = quint16(c + delta);
            } else {
                const qsizetype at = ranges + 2 * s + rangeOffset + 2 * (c - start);
                if (at + 2 > cmap.size())
                    return false;
                g = be16(cmap, at);
                if (g)
                    g = quint16(g + delta);
            }
            if (g)
                map.insert(c, g);
        }
    }
    return true;
}

// A cmap with one format 4 subtable of the map, for the Unicode and the Windows platforms.
QByteArray writeCmap(const QMap<quint32, quint16> &map)
{
    struct Segment {
        quint32 start, end;
        quint16 delta;
    };
    QVector<Segment> segments;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const quint16 delta = quint16(it.value() - it.key());
        if (!segments.isEmpty() && segments.last().end + 1 == it.key() && segments.last().delta == delta)
            segments.last().end = it.key();
        else
            segments.append({it.key(), it.key(), delta});
    }
    segments.append({0xFFFF, 0xFFFF, 1});
    const int n = int(segments.size());
    int selector = 0;
    while ((1 << (selector + 1)) <= n)
        ++selector;
    const int range = 2 << selector;
    QByteArray sub;
    put16(sub, 4);
    put16(sub, 0); // length, below
    put16(sub, 0);
    put16(sub, 2 * n);
    put16(sub, range);
    put16(sub, selector);
    put16(sub, 2 * n - range);
    for (const Segment &s : segments)
        put16(sub, s.end);
    put16(sub, 0);
    for (const Segment &s : segments)
        put16(sub, s.start);
    for (const Segment &s : segments)
        put16(sub, s.delta);
    for (int i = 0; i < n; ++i)
        put16(sub, 0);
    sub[2] = char(sub.size() >> 8 & 0xFF);
    sub[3] = char(sub.size() & 0xFF);
    QByteArray cmap;
    put16(cmap, 0);
    put16(cmap, 2);
    put16(cmap, 0);
    put16(cmap, 3);
    put32(cmap, 20);
    put16(cmap, 3);
    put16(cmap, 1);
    put32(cmap, 20);
    return cmap + sub;
}

QByteArray writeName(const QString &family, const QString &style)
{
    QString postscript = family + QLatin1Char('-') + style;
    postscript.remove(QLatin1Char(' '));
    const QList<QPair<int, QString>> names{{1, family}, {2, style}, {3, postscript}, {4, family + QLatin1Char(' ') + style},
                                           {6, postscript}};
    QByteArray head, strings;
    put16(head, 0);
    put16(head, quint32(names.size()));
    put16(head, quint32(6 + 12 * names.size()));
    for (const auto &[id, text] : names) {
        QByteArray utf16;
        for (const QChar c : text)
            put16(utf16, c.unicode());
        put16(head, 3);
        put16(head, 1);
        put16(head, 0x409);
        put16(head, quint32(id));
        put16(head, quint32(utf16.size()));
        put16(head, quint32(strings.size()));
        strings += utf16;
    }
    return head + strings;
}

QByteArray assemble(const QMap<QByteArray, QByteArray> &tables)
{
    const int n = int(tables.size());
    int selector = 0;
    while ((1 << (selector + 1)) <= n)
        ++selector;
    QByteArray out;
    put32(out, tables.contains("CFF ") ? 0x4F54544F : 0x00010000);
    put16(out, n);
    put16(out, 16 << selector);
    put16(out, selector);
    put16(out, 16 * n - (16 << selector));
    QByteArray body;
    qsizetype headAt = -1;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        QByteArray data = it.value();
        const qsizetype at = 12 + 16 * n + body.size();
        if (it.key() == "head" && data.size() >= 12) {
            data.replace(8, 4, QByteArray(4, '\0'));
            headAt = at;
        }
        out += it.key();
        put32(out, checksum(data));
        put32(out, quint32(at));
        put32(out, quint32(data.size()));
        body += data;
        while (body.size() % 4)
            body += '\0';
    }
    out += body;
    if (headAt >= 0) {
        QByteArray adjustment;
        put32(adjustment, 0xB1B0AFBAu - checksum(out));
        out.replace(headAt + 8, 4, adjustment);
    }
    return out;
}

// The copy of one face (a style of the family): the Persian letters' forms that share a glyph
// with the Arabic letters' are taken out of its map. Empty when nothing is shared.
QByteArray copyNamingArabic(const QRawFont &raw, const QString &family)
{
    QMap<QByteArray, QByteArray> tables;
    for (const char *tag : kTables) {
        const QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty())
            tables.insert(QByteArray(tag), data);
    }
    QMap<quint32, quint16> map;
    if (!tables.contains("glyf") || !readCmap(tables.value("cmap"), map))
        return {};
    bool shared = false;
    for (const auto &pair : kPairs) {
        const quint16 arabic = map.value(pair[0]), persian = map.value(pair[1]);
        if (arabic && arabic == persian) {
            map.remove(pair[1]);
            shared = true;
        }
    }
    if (!shared)
        return {};
    tables.insert("cmap", writeCmap(map));
    tables.insert("name", writeName(family, raw.styleName().isEmpty() ? QStringLiteral("Regular") : raw.styleName()));
    return assemble(tables);
}

} // namespace

QString arabicLettersFamily(const QString &family)
{
    static QHash<QString, QString> made;
    const auto it = made.constFind(family);
    if (it != made.constEnd())
        return *it;
    const QString copy = family + QStringLiteral(" Arabic Letters");
    QString result;
    QList<QByteArray> registered;
    for (const bool bold : {false, true}) {
        QFont f(family);
        f.setBold(bold);
        const QByteArray data = copyNamingArabic(QRawFont::fromFont(f), copy);
        if (data.isEmpty() || registered.contains(data))
            continue;
        registered << data;
        const int id = QFontDatabase::addApplicationFontFromData(data);
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(copy))
            result = copy;
    }
    made.insert(family, result);
    return result;
}

bool typedWithArabicLetters(QStringView word)
{
    bool arabic = false;
    for (const QChar c : word) {
        switch (c.unicode()) {
        case 0x064A:
        case 0x0643:
            arabic = true;
            break;
        case 0x06CC:
        case 0x06A9:
            return false;
        default:
            break;
        }
    }
    return arabic;
}

} // namespace report
