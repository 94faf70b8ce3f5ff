#include "report/fonts.h"

#include <QFontDatabase>
#include <QHash>

namespace report {

namespace {
const QString kFallback = QStringLiteral("Nazli");

// Layout typeface (lower case) -> installed family (fonts-farsiweb).
const QHash<QString, QString> &substitutes()
{
    static const QHash<QString, QString> table{
        {QStringLiteral("tahoma"), QStringLiteral("Nazli")},
        {QStringLiteral("yagut"), QStringLiteral("Nazli")},
        {QStringLiteral("zar"), QStringLiteral("Nazli")},
        {QStringLiteral("b zar"), QStringLiteral("Nazli")},
        {QStringLiteral("b nazanin"), QStringLiteral("Nazli")},
        {QStringLiteral("b lotus"), QStringLiteral("Nazli")},
        {QStringLiteral("lotus"), QStringLiteral("Nazli")},
        {QStringLiteral("b zaman"), QStringLiteral("Nazli")},
        {QStringLiteral("nazli"), QStringLiteral("Nazli")},
        {QStringLiteral("titr"), QStringLiteral("Titr")},
        {QStringLiteral("b titr"), QStringLiteral("Titr")},
        {QStringLiteral("koodak"), QStringLiteral("Homa")},
        {QStringLiteral("b homa"), QStringLiteral("Homa")},
        {QStringLiteral("homa"), QStringLiteral("Homa")},
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

QString installedFamily(const QString &layoutFamily)
{
    const QString mapped = substitutes().value(layoutFamily.trimmed().toLower());
    if (!mapped.isEmpty() && installed(mapped))
        return mapped;
    if (mapped.isEmpty() && installed(layoutFamily))
        return layoutFamily;
    if (installed(kFallback))
        return kFallback;
    return layoutFamily;
}

QFont makeFont(const FontSpec &font)
{
    QFont f;
    const QString family = installedFamily(font.family);
    f.setFamilies({family, kFallback});
    // 1 pt = 25.4/72 mm.
    f.setPixelSize(qMax(1, qRound(font.size * 25.4 / 72.0 * kUnitsPerMm)));
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

} // namespace report
