#include "core/text_rules.h"

#include <cmath>

namespace textrule {

QString numberText(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    QString s = QString::number(v, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        s = QString::number(v, 'f', 15);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

QChar latinDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return c;
    if (u >= 0x06F0 && u <= 0x06F9)
        return QChar(u'0' + (u - 0x06F0));
    if (u >= 0x0660 && u <= 0x0669)
        return QChar(u'0' + (u - 0x0660));
    return QChar();
}

QString latinDigits(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (const QChar d = latinDigit(c); !d.isNull())
            c = d;
    return s;
}

bool parseNumber(const QString &text, double *out)
{
    const QString t = latinDigits(text).trimmed();
    QString s;
    s.reserve(t.size());
    // Group separators stand only in the whole part, every three digits from the point:
    // a first group of one to three digits, then groups of exactly three.
    int inGroup = 0;
    bool grouped = false, fraction = false;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        if (u == ',' || u == 0x066C) {
            if (fraction || inGroup == 0 || inGroup > 3 || (grouped && inGroup != 3))
                return false;
            grouped = true;
            inGroup = 0;
            continue;
        }
        if (u == '.' || u == 0x066B) {
            if (!fraction && grouped && inGroup != 3)
                return false;
            fraction = true;
            s += QLatin1Char('.');
            continue;
        }
        if (u >= '0' && u <= '9' && !fraction)
            ++inGroup;
        s += c;
    }
    if (grouped && !fraction && inGroup != 3)
        return false;
    if (s.isEmpty())
        return false;
    // Only plain decimal notation: no exponent, no hex, no blanks inside.
    int i = 0;
    if (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+'))
        ++i;
    int digits = 0, dots = 0;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit() && s[i].unicode() < 128)
            ++digits;
        else if (s[i] == QLatin1Char('.'))
            ++dots;
        else
            return false;
    }
    if (!digits || dots > 1)
        return false;
    bool ok = false;
    const double d = s.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    *out = d;
    return true;
}

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            return true;
    return false;
}

} // namespace textrule
