#pragma once
// Turning the text of a box into the value a column takes, as the old server did on
// its own: an empty text is 0 in a numeric column, "," group separators are dropped
// from numbers; a text that is not a number or is longer than its column is refused
// (db::Refusal naming the column), before anything is written.
#include "db/refusal.h"

#include <QString>
#include <QVariant>

namespace db {

// Throws Refusal: a text holding a control character (NUL ...), a date column's text that is
// not a real Solar date, a money amount above money::kLimit. Unknown columns pass the text
// through unchanged. A money amount is a whole number, or its exact decimal text ("1250.5").
QVariant columnValue(const QString &table, const QString &column, const QString &text);

} // namespace db
