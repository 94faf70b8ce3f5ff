#include "db/values.h"

#include "core/errors.h"
#include "db/schema.h"
#include "shared/dates.h"
#include "shared/messages.h"

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

bool parseNumber(const QString &text, double *out)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            s += QChar('0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            s += QChar('0' + (u - 0x0660));
        else if (c == QLatin1Char(',') || u == 0x066C)
            continue;
        else if (u == 0x066B)
            s += QLatin1Char('.');
        else
            s += c;
    }
    s = s.trimmed();
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

InputError moneyTooLarge(const QString &text, const QString &column)
{
    return InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 بزرگتر از حد مجاز است").arg(text, column));
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
            throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 تاريخ معتبر نيست").arg(text, name));
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
