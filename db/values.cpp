#include "db/values.h"
#include "core/text_rules.h"

#include "core/dates.h"
#include "core/money.h"
#include "db/schema.h"

#include <cmath>

namespace db {

QVariant columnValue(const QString &table, const QString &column, const QString &text)
{
    const ColumnDef *c = findColumn(table, column);
    if (!c)
        return text;
    const QString name = QString::fromLatin1(c->name);
    auto refused = [&](Refusal::Kind kind, int limit = 0) { return Refusal(kind, name, text, limit); };
    switch (c->type) {
    case ColType::Text:
        if (textrule::hasControlCharacter(text))
            throw refused(Refusal::ControlCharacter);
        if (c->length > 0 && text.size() > c->length)
            throw refused(Refusal::TooLong, c->length);
        if (c->date && !isSolarDateOrEmpty(text))
            throw refused(Refusal::NotADate);
        return text;
    case ColType::Int:
    case ColType::SmallInt:
    case ColType::BigInt:
    case ColType::Identity: {
        if (text.trimmed().isEmpty())
            return 0;
        double d = 0;
        if (!textrule::parseNumber(text, &d))
            throw refused(Refusal::NotANumber);
        if (d != std::floor(d))
            throw refused(Refusal::NotWhole);
        const double limit = c->type == ColType::SmallInt ? 32767.0
                           : c->type == ColType::Int      ? 2147483647.0
                                                          : 9.2e18;
        if (std::fabs(d) > limit)
            throw refused(Refusal::OverLimit);
        return qlonglong(d);
    }
    case ColType::Float: {
        if (text.trimmed().isEmpty())
            return 0.0;
        double d = 0;
        if (!textrule::parseNumber(text, &d))
            throw refused(Refusal::NotANumber);
        return d;
    }
    case ColType::Money: {
        if (text.trimmed().isEmpty())
            return qlonglong(0);
        double d = 0;
        if (!textrule::parseNumber(text, &d))
            throw refused(Refusal::NotANumber);
        // Four decimals on both databases: the fifth rounds the fourth. A whole amount is an
        // integer, one with a fraction its decimal text: never a double, which would lose the
        // last places of a large amount on the way to the server.
        qint64 v = 0;
        if (!money::read(text, &v) || !money::withinLimit(v))
            throw refused(Refusal::OverLimit);
        if (v % money::kScale == 0)
            return qlonglong(v / money::kScale);
        return money::text(v);
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
