#include "db/values.h"

#include "core/errors.h"
#include "db/schema.h"
#include "shared/dates.h"

#include <cmath>

namespace db {

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

double readNumber(const QString &text, const QString &column)
{
    double d = 0;
    if (!parseNumber(text, &d))
        throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 عدد نيست").arg(text, column));
    return d;
}

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            return true;
    return false;
}

InputError moneyTooLarge(const QString &text, const QString &column)
{
    return InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 بزرگتر از حد مجاز است").arg(text, column));
}

InputError notADate(const QString &text, const QString &column)
{
    return InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 تاريخ معتبر نيست").arg(text, column));
}

QVariant columnValue(const QString &table, const QString &column, const QString &text)
{
    const ColumnDef *c = findColumn(table, column);
    if (!c)
        return text;
    const QString name = QString::fromLatin1(c->name);
    auto notNumber = [&]() {
        return InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 عدد نيست").arg(text, name));
    };
    switch (c->type) {
    case ColType::Text:
        if (hasControlCharacter(text))
            throw InputError(msg::controlCharacter(name));
        if (c->length > 0 && text.size() > c->length)
            throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 بيش از %3 حرف است")
                                 .arg(text, name)
                                 .arg(c->length));
        if (c->date && !isSolarDateOrEmpty(text))
            throw notADate(text, name);
        return text;
    case ColType::Int:
    case ColType::SmallInt:
    case ColType::BigInt:
    case ColType::Identity: {
        if (text.trimmed().isEmpty())
            return 0;
        double d = 0;
        if (!parseNumber(text, &d) || d != std::floor(d))
            throw notNumber();
        const double limit = c->type == ColType::SmallInt ? 32767.0
                           : c->type == ColType::Int      ? 2147483647.0
                                                          : 9.2e18;
        if (std::fabs(d) > limit)
            throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 بزرگتر از حد مجاز است").arg(text, name));
        return qlonglong(d);
    }
    case ColType::Float: {
        if (text.trimmed().isEmpty())
            return 0.0;
        double d = 0;
        if (!parseNumber(text, &d))
            throw notNumber();
        return d;
    }
    case ColType::Money: {
        if (text.trimmed().isEmpty())
            return qlonglong(0);
        double d = 0;
        if (!parseNumber(text, &d))
            throw notNumber();
        if (std::fabs(d) > double(kMoneyLimit))
            throw moneyTooLarge(text, name);
        // Money keeps four decimals on both databases: a fraction goes to the nearest ten-thousandth.
        d = std::round(d * 10000.0) / 10000.0;
        if (d == std::floor(d))
            return qlonglong(d);
        return d;
    }
    case ColType::Bool:
        return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    case ColType::Blob:
    case ColType::DateTime:
        return text;
    }
    return text;
}

} // namespace db
