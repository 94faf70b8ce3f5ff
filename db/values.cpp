#include "db/values.h"
#include "core/text_rules.h"

#include "core/errors.h"
#include "db/schema.h"
#include "core/dates.h"

#include <cmath>

namespace db {

double readNumber(const QString &text, const QString &column)
{
    double d = 0;
    if (!textrule::parseNumber(text, &d))
        throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 عدد نيست").arg(text, column));
    return d;
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
        if (textrule::hasControlCharacter(text))
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
        if (!textrule::parseNumber(text, &d) || d != std::floor(d))
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
        if (!textrule::parseNumber(text, &d))
            throw notNumber();
        return d;
    }
    case ColType::Money: {
        if (text.trimmed().isEmpty())
            return qlonglong(0);
        double d = 0;
        if (!textrule::parseNumber(text, &d))
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
