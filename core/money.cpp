#include "core/money.h"

#include "core/text_rules.h"

#include <limits>

namespace money {

namespace {
bool fits(__int128 v)
{
    return v >= std::numeric_limits<qint64>::min() && v <= std::numeric_limits<qint64>::max();
}
} // namespace

bool read(const QString &text, qint64 *tenThousandths)
{
    double checked = 0;
    if (!textrule::parseNumber(text, &checked))
        return false;
    QString s = textrule::latinDigits(text).trimmed();
    s.remove(QLatin1Char(','));
    s.remove(QChar(0x066C));
    s.replace(QChar(0x066B), QLatin1Char('.'));
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative || s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
    const int dot = s.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? s : s.left(dot);
    const QString fraction = ((dot < 0 ? QString() : s.mid(dot + 1)) + QStringLiteral("00000")).left(5);
    __int128 v = 0;
    for (const QChar c : whole) {
        v = v * 10 + (c.unicode() - u'0');
        if (v > std::numeric_limits<qint64>::max())
            return false;
    }
    v = v * kScale + fraction.left(4).toInt() + (fraction.at(4) >= QLatin1Char('5') ? 1 : 0);
    if (negative)
        v = -v;
    if (!fits(v))
        return false;
    *tenThousandths = qint64(v);
    return true;
}

bool withinLimit(qint64 v)
{
    return v >= -kLimit * kScale && v <= kLimit * kScale;
}

QString text(qint64 v)
{
    const bool negative = v < 0;
    const quint64 m = negative ? quint64(0) - quint64(v) : quint64(v);
    QString s = QString::number(m / kScale);
    QString frac = QStringLiteral("%1").arg(m % kScale, 4, 10, QLatin1Char('0'));
    while (frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (!frac.isEmpty())
        s += QLatin1Char('.') + frac;
    return negative ? QLatin1Char('-') + s : s;
}

QString grouped(qint64 v)
{
    const bool negative = v < 0;
    const quint64 m = negative ? quint64(0) - quint64(v) : quint64(v);
    const QString digits = QString::number(m / kScale + (m % kScale >= kScale / 2 ? 1 : 0));
    QString out;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    return negative && out != QLatin1String("0") ? QLatin1Char('-') + out : out;
}

bool multiply(qint64 a, qint64 b, qint64 *out)
{
    const __int128 p = __int128(a) * b;
    __int128 q = p / kScale;
    const __int128 r = p % kScale;
    const __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > kScale || (twice == kScale && (q % 2) != 0))
        q += p < 0 ? -1 : 1;
    if (!fits(q))
        return false;
    *out = qint64(q);
    return true;
}

bool add(qint64 a, qint64 b, qint64 *out)
{
    const __int128 s = __int128(a) + b;
    if (!fits(s))
        return false;
    *out = qint64(s);
    return true;
}

} // namespace money
