#include "report/letter_faces.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QHash>
#include <QMap>
#include <QRawFont>
#include <QVector>

#include <algorithm>
#include <iterator>

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

void set16(QByteArray &d, qsizetype at, quint32 v)
{
    d[at] = char(v >> 8 & 0xFF);
    d[at + 1] = char(v & 0xFF);
}

// A form that the Arabic letter shares with the Persian one in a face, and the glyph of its own
// that the copy gives the Arabic letter there.
struct Split {
    quint16 nominal = 0; // the glyph of the Arabic letter itself, which the face's forms start from
    quint16 shared = 0;  // the form's glyph, which the Persian letter keeps
    quint16 own = 0;     // the Arabic letter's copy of it
};

// Index of a glyph in a coverage table (layout tables), -1 when it is not covered.
int coverageIndex(const QByteArray &t, qsizetype at, quint16 glyph)
{
    if (at + 4 > t.size())
        return -1;
    const int format = be16(t, at), n = be16(t, at + 2);
    if (format == 1 && at + 4 + 2 * n <= t.size()) {
        for (int i = 0; i < n; ++i)
            if (be16(t, at + 4 + 2 * i) == glyph)
                return i;
    } else if (format == 2 && at + 4 + 6 * n <= t.size()) {
        for (int i = 0; i < n; ++i) {
            const qsizetype r = at + 4 + 6 * i;
            if (glyph >= be16(t, r) && glyph <= be16(t, r + 2))
                return be16(t, r + 4) + glyph - be16(t, r);
        }
    }
    return -1;
}

// Whether a ligature subtable (format 1) starts with or holds a glyph.
bool ligatureHolds(const QByteArray &t, qsizetype at, quint16 glyph)
{
    if (at + 6 > t.size() || be16(t, at) != 1 || coverageIndex(t, at + be16(t, at + 2), glyph) >= 0)
        return true;
    for (int i = 0, sets = be16(t, at + 4); i < sets; ++i) {
        if (at + 8 + 2 * i > t.size())
            return true;
        const qsizetype set = at + be16(t, at + 6 + 2 * i);
        for (int k = 0, n = set + 2 <= t.size() ? be16(t, set) : 0; k < n; ++k) {
            if (set + 4 + 2 * k > t.size())
                return true;
            const qsizetype lig = set + be16(t, set + 2 + 2 * k);
            const int parts = lig + 4 <= t.size() ? be16(t, lig + 2) : 0;
            if (lig + 2 + 2 * parts > t.size())
                return true;
            for (int c = 1; c < parts; ++c)
                if (be16(t, lig + 2 + 2 * c) == glyph)
                    return true;
        }
    }
    return false;
}

// Makes each single substitution that leads from an Arabic letter to a shared form lead to the
// letter's own glyph. False when a split is reached no such way, or when the table holds
// lookups other than single substitutions and ligatures, or a ligature with a shared glyph:
// those would not reach the copies, which would then look different.
bool splitSubstitutions(QByteArray &gsub, const QVector<Split> &splits)
{
    QVector<bool> done(splits.size(), false);
    if (gsub.size() < 10)
        return false;
    const qsizetype list = be16(gsub, 8);
    for (int i = 0, n = list + 2 <= gsub.size() ? be16(gsub, list) : 0; i < n; ++i) {
        if (list + 4 + 2 * i > gsub.size())
            return false;
        const qsizetype lookup = list + be16(gsub, list + 2 + 2 * i);
        if (lookup + 6 > gsub.size())
            return false;
        for (int k = 0, type = be16(gsub, lookup), subtables = be16(gsub, lookup + 4); k < subtables; ++k) {
            if (lookup + 8 + 2 * k > gsub.size())
                return false;
            qsizetype sub = lookup + be16(gsub, lookup + 6 + 2 * k);
            int subType = type;
            if (type == 7) { // an extension: the subtable is further on
                if (sub + 8 > gsub.size())
                    return false;
                subType = be16(gsub, sub + 2);
                sub += be32(gsub, sub + 4);
            }
            if (sub + 6 > gsub.size())
                return false;
            if (subType == 4) {
                for (const Split &s : splits)
                    if (ligatureHolds(gsub, sub, s.shared))
                        return false;
                continue;
            }
            if (subType != 1)
                return false;
            const qsizetype coverage = sub + be16(gsub, sub + 2);
            for (qsizetype s = 0; s < splits.size(); ++s) {
                const int at = coverageIndex(gsub, coverage, splits[s].nominal);
                if (at < 0)
                    continue;
                if (be16(gsub, sub) == 1) { // by a delta, which cannot be changed for one glyph
                    if (quint16(splits[s].nominal + be16(gsub, sub + 4)) == splits[s].shared)
                        return false;
                    continue;
                }
                const qsizetype to = sub + 6 + 2 * at;
                if (be16(gsub, sub) != 2 || at >= be16(gsub, sub + 4) || to + 2 > gsub.size())
                    return false;
                if (be16(gsub, to) == splits[s].shared) {
                    set16(gsub, to, splits[s].own);
                    done[s] = true;
                }
            }
        }
    }
    return !done.contains(false);
}

// GDEF's glyph classes with each copy in the class of its glyph (a ClassDef of ranges added at the
// end of the table).
bool classifyCopies(QByteArray &gdef, const QVector<Split> &splits)
{
    if (gdef.size() < 6)
        return false;
    const qsizetype at = be16(gdef, 4);
    if (at == 0)
        return true;
    QMap<quint16, quint16> classes;
    if (at + 6 > gdef.size())
        return false;
    if (be16(gdef, at) == 1) {
        const int first = be16(gdef, at + 2), n = be16(gdef, at + 4);
        if (at + 6 + 2 * n > gdef.size())
            return false;
        for (int i = 0; i < n; ++i)
            classes.insert(quint16(first + i), be16(gdef, at + 6 + 2 * i));
    } else if (be16(gdef, at) == 2) {
        const int n = be16(gdef, at + 2);
        if (at + 4 + 6 * n > gdef.size())
            return false;
        for (int i = 0; i < n; ++i) {
            const qsizetype r = at + 4 + 6 * i;
            for (quint32 g = be16(gdef, r); g <= be16(gdef, r + 2); ++g)
                classes.insert(quint16(g), be16(gdef, r + 4));
        }
    } else {
        return false;
    }
    for (const Split &s : splits)
        classes.insert(s.own, classes.value(s.shared));
    QByteArray ranges;
    int count = 0;
    for (auto it = classes.cbegin(); it != classes.cend();) {
        auto last = it;
        for (auto next = std::next(it); next != classes.cend() && next.key() == last.key() + 1 && next.value() == it.value(); ++next)
            last = next;
        if (it.value()) {
            put16(ranges, it.key());
            put16(ranges, last.key());
            put16(ranges, it.value());
            ++count;
        }
        it = std::next(last);
    }
    if (gdef.size() % 2)
        gdef += '\0';
    if (gdef.size() > 0xFFFF)
        return false;
    set16(gdef, 4, quint32(gdef.size()));
    put16(gdef, 2);
    put16(gdef, quint32(count));
    gdef += ranges;
    return true;
}

// The glyph tables with a copy of each source glyph appended (outline and metrics), in order.
// The offsets become long ones and every glyph gets a full metric; the glyph names (post) and the
// tables with one entry a glyph that a face may do without (hdmx, LTSH) are left out.
bool appendGlyphs(QMap<QByteArray, QByteArray> &tables, const QVector<quint16> &sources)
{
    QByteArray head = tables.value("head"), hhea = tables.value("hhea"), maxp = tables.value("maxp"),
               post = tables.value("post");
    const QByteArray loca = tables.value("loca"), glyf = tables.value("glyf"), hmtx = tables.value("hmtx");
    if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6)
        return false;
    const int glyphs = be16(maxp, 4), metrics = be16(hhea, 34), total = glyphs + int(sources.size());
    const bool longOffsets = be16(head, 50) == 1;
    if (loca.size() < (glyphs + 1) * (longOffsets ? 4 : 2) || metrics < 1 || metrics > glyphs
        || hmtx.size() < 4 * metrics + 2 * (glyphs - metrics) || total > 0xFFFF)
        return false;
    auto offset = [&](int g) -> quint32 { return longOffsets ? be32(loca, 4 * g) : 2u * be16(loca, 2 * g); };
    if (offset(glyphs) > quint32(glyf.size()))
        return false;
    QByteArray newGlyf = glyf.left(offset(glyphs)), newLoca, newHmtx;
    for (int g = 0; g < glyphs; ++g)
        put32(newLoca, offset(g));
    for (const quint16 s : sources) {
        while (newGlyf.size() % 4)
            newGlyf += '\0';
        put32(newLoca, quint32(newGlyf.size()));
        if (s >= glyphs || offset(s) > offset(s + 1) || offset(s + 1) > quint32(glyf.size()))
            return false;
        newGlyf += glyf.mid(offset(s), offset(s + 1) - offset(s));
    }
    put32(newLoca, quint32(newGlyf.size()));
    auto metric = [&](int g) {
        put16(newHmtx, be16(hmtx, 4 * std::min(g, metrics - 1)));
        put16(newHmtx, g < metrics ? be16(hmtx, 4 * g + 2) : be16(hmtx, 4 * metrics + 2 * (g - metrics)));
    };
    for (int g = 0; g < glyphs; ++g)
        metric(g);
    for (const quint16 s : sources)
        metric(s);
    set16(head, 50, 1);
    set16(hhea, 34, quint32(total));
    set16(maxp, 4, quint32(total));
    tables.insert("head", head);
    tables.insert("hhea", hhea);
    tables.insert("maxp", maxp);
    tables.insert("loca", newLoca);
    tables.insert("glyf", newGlyf);
    tables.insert("hmtx", newHmtx);
    if (post.size() >= 32) {
        post.truncate(32);
        post.replace(0, 4, QByteArray("\0\3\0\0", 4));
        tables.insert("post", post);
    }
    tables.remove("hdmx");
    tables.remove("LTSH");
    return true;
}

// The copy of one face (a style of the family) in which the Arabic letters have glyphs of their
// own where the face shares them with the Persian letters: the same outlines and metrics,
// reached by the Arabic letters' forms alone. Empty when nothing is shared or the face is not
// made as expected.
QByteArray copyNamingTyped(const QRawFont &raw, const QString &family)
{
    QMap<QByteArray, QByteArray> tables;
    for (const char *tag : kTables) {
        const QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty())
            tables.insert(QByteArray(tag), data);
    }
    QMap<quint32, quint16> map;
    // Pair adjustments and mark anchors (GPOS, kern) would not reach the copies.
    if (!tables.contains("glyf") || tables.contains("GPOS") || tables.contains("kern") || tables.value("maxp").size() < 6
        || !readCmap(tables.value("cmap"), map))
        return {};
    const int glyphs = be16(tables.value("maxp"), 4);
    QVector<Split> splits;
    for (const auto &pair : kPairs) {
        const quint16 shared = map.value(pair[0]);
        if (!shared || shared != map.value(pair[1]))
            continue;
        const bool yeh = pair[0] >= 0xFEF1;
        const quint16 nominal = map.value(yeh ? 0x064A : 0x0643);
        if (!nominal || nominal == map.value(yeh ? 0x06CC : 0x06A9))
            return {};
        auto same = std::find_if(splits.cbegin(), splits.cend(),
                                 [&](const Split &s) { return s.nominal == nominal && s.shared == shared; });
        const quint16 own = same != splits.cend() ? same->own : quint16(glyphs + splits.size());
        if (same == splits.cend())
            splits.append({nominal, shared, own});
        map.insert(pair[0], own);
    }
    if (splits.isEmpty())
        return {};
    QByteArray gsub = tables.value("GSUB"), gdef = tables.value("GDEF");
    if ((!gsub.isEmpty() && !splitSubstitutions(gsub, splits)) || (!gdef.isEmpty() && !classifyCopies(gdef, splits)))
        return {};
    if (!gsub.isEmpty())
        tables.insert("GSUB", gsub);
    if (!gdef.isEmpty())
        tables.insert("GDEF", gdef);
    QVector<quint16> sources;
    for (const Split &s : splits)
        sources << s.shared;
    if (!appendGlyphs(tables, sources))
        return {};
    tables.insert("cmap", writeCmap(map));
    tables.insert("name", writeName(family, raw.styleName().isEmpty() ? QStringLiteral("Regular") : raw.styleName()));
    return assemble(tables);
}

} // namespace

QString typedLettersFamily(const QString &family)
{
    static QHash<QString, QString> made;
    const auto it = made.constFind(family);
    if (it != made.constEnd())
        return *it;
    const QString copy = family + QStringLiteral(" Typed Letters");
    QString result;
    QList<QByteArray> registered;
    for (const bool bold : {false, true}) {
        QFont f(family);
        f.setBold(bold);
        const QByteArray data = copyNamingTyped(QRawFont::fromFont(f), copy);
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

bool holdsArabicLetters(QStringView word)
{
    for (const QChar c : word)
        if (c.unicode() == 0x064A || c.unicode() == 0x0643)
            return true;
    return false;
}

} // namespace report
