#include "report/fonts.h"

#include "core/text_rules.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>

namespace report {

namespace {
const QString kFallback = QStringLiteral("Nazli");
constexpr double kLeading = 1.3;

struct Substitute {
    QStringList candidates; // installed families, best first
    QString latin;
    double scale;
};

// Layout typeface (lower case) -> installed formal faces (fonts-noto-core, fonts-farsiweb).
// Body faces map onto text faces only, never onto a rounded display face; the scale brings each
// substitute to the original's size on the page. Nazli (a Nazanin) stands for the naskh text
// faces. Every face here reaches each letter form it draws through its character map (the
// presentation forms), which is what lets a saved PDF carry its text: Noto Naskh Arabic and
// Amiri draw the lam-alef and some Persian digits with forms no character reaches, and those
// would come out of the PDF as nothing.
const QHash<QString, Substitute> &substitutes()
{
    const QString sans = QStringLiteral("Noto Sans Arabic"), nazli = QStringLiteral("Nazli"),
                  titr = QStringLiteral("Titr"), latinSans = QStringLiteral("Noto Sans");
    static const QHash<QString, Substitute> table{
        // A sans face.
        {QStringLiteral("tahoma"), {{sans, nazli}, latinSans, 0.9}},
        // Naskh text faces.
        {QStringLiteral("yagut"), {{nazli}, {}, 1.0}},
        {QStringLiteral("zar"), {{nazli}, {}, 1.0}},
        {QStringLiteral("b zar"), {{nazli}, {}, 1.0}},
        {QStringLiteral("lotus"), {{nazli}, {}, 1.0}},
        {QStringLiteral("b lotus"), {{nazli}, {}, 1.0}},
        {QStringLiteral("b zaman"), {{nazli}, {}, 1.0}},
        {QStringLiteral("b nazanin"), {{nazli}, {}, 1.0}},
        {QStringLiteral("nazanin"), {{nazli}, {}, 1.0}},
        {QStringLiteral("nazli"), {{nazli}, {}, 1.0}},
        // Headings.
        {QStringLiteral("titr"), {{titr, nazli}, latinSans, 1.0}},
        {QStringLiteral("b titr"), {{titr, nazli}, latinSans, 1.0}},
        // Display faces that the forms use for body text (copy lists, sheets): a formal sans.
        {QStringLiteral("koodak"), {{sans, nazli}, latinSans, 0.9}},
        {QStringLiteral("b homa"), {{sans, nazli}, latinSans, 0.9}},
        {QStringLiteral("homa"), {{sans, nazli}, latinSans, 0.9}},
    };
    return table;
}

bool installed(const QString &family)
{
    static QHash<QString, bool> known;
    auto it = known.constFind(family);
    if (it != known.constEnd())
        return *it;
    const bool has = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
    known.insert(family, has);
    return has;
}
} // namespace

Face faceFor(const QString &layoutFamily)
{
    const auto it = substitutes().constFind(layoutFamily.trimmed().toLower());
    if (it == substitutes().constEnd()) {
        if (installed(layoutFamily))
            return {layoutFamily, QString(), 1.0};
        return {installed(kFallback) ? kFallback : layoutFamily, QString(), 1.0};
    }
    Face f{QString(), installed(it->latin) ? it->latin : QString(), 1.0};
    for (const QString &c : it->candidates) {
        if (installed(c)) {
            f.family = c;
            // The scale belongs to the first choice; a later one is taken at the layout's size.
            f.scale = c == it->candidates.first() ? it->scale : 1.0;
            return f;
        }
    }
    f.family = installed(kFallback) ? kFallback : layoutFamily;
    return f;
}

QString installedFamily(const QString &layoutFamily)
{
    return faceFor(layoutFamily).family;
}

QFont makeFont(const FontDef &font)
{
    // One QFont for each layout font: its copies share the font engines it has found.
    static QHash<FontDef, QFont> made;
    const auto it = made.constFind(font);
    if (it != made.constEnd())
        return *it;
    const Face face = faceFor(font.family);
    QFont f;
    QStringList families{face.family};
    if (!face.latin.isEmpty())
        families << face.latin;
    if (face.family != kFallback)
        families << kFallback;
    f.setFamilies(families);
    // 1 pt = 25.4/72 mm.
    f.setPixelSize(qMax(1, qRound(font.size * face.scale * 25.4 / 72.0 * kUnitsPerMm)));
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    made.insert(font, f);
    return f;
}

QString persianFigures(const QString &text)
{
    QString out = text;
    const qsizetype n = out.size();
    auto latinLetter = [](QChar c) { return c.isLetter() && c.script() == QChar::Script_Latin; };
    for (qsizetype i = 0; i < n;) {
        if (!latinLetter(out.at(i)) && textrule::latinDigit(out.at(i)).isNull()) {
            ++i;
            continue;
        }
        // A run of letters and digits: a figure unless it holds a Latin letter.
        qsizetype j = i;
        bool word = false;
        while (j < n && (latinLetter(out.at(j)) || !textrule::latinDigit(out.at(j)).isNull()))
            word = latinLetter(out.at(j++)) || word;
        for (qsizetype k = i; k < j && !word; ++k)
            out[k] = QChar(char16_t(0x06F0 + (textrule::latinDigit(out.at(k)).unicode() - u'0')));
        i = j;
    }
    auto persianDigit = [](QChar c) { return c.unicode() >= 0x06F0 && c.unicode() <= 0x06F9; };
    for (qsizetype i = 1; i + 1 < n; ++i)
        if (out.at(i) == QLatin1Char('.') && persianDigit(out.at(i - 1)) && persianDigit(out.at(i + 1)))
            out[i] = QChar(0x066B);
    return out;
}

LineBox lineBox(const QFont &font)
{
    // Found by the font itself first: its key takes long to build.
    static QHash<QFont, LineBox> byFont;
    const auto found = byFont.constFind(font);
    if (found != byFont.constEnd())
        return *found;
    static QHash<QString, LineBox> cache;
    const QString key = font.key();
    const auto it = cache.constFind(key);
    if (it != cache.constEnd()) {
        byFont.insert(font, *it);
        return *it;
    }
    const QFontMetricsF m(font);
    // Tall letters with the madda and the kaf's stroke; letters and dots below the line;
    // Latin capitals and descenders for Latin words.
    const QRectF tall = m.tightBoundingRect(QStringLiteral("آلطگكÁb"));
    const QRectF deep = m.tightBoundingRect(QStringLiteral("يعجپچgy"));
    LineBox b{std::max(-tall.top(), m.ascent() * 0.5), std::max(deep.bottom(), m.descent() * 0.3)};
    // Never more than the font itself declares.
    b.ascent = std::min(b.ascent, m.ascent());
    b.descent = std::min(b.descent, m.descent());
    cache.insert(key, b);
    byFont.insert(font, b);
    return b;
}

double lineSpacing(const LineBox &box)
{
    return (box.ascent + box.descent) * kLeading;
}

} // namespace report
