#pragma once
// Turning the text of a box into the value a column takes, as the old server did on
// its own: an empty text is 0 in a numeric column, "," group separators are dropped
// from numbers; a text that is not a number or is longer than its column is refused
// with a message naming the column, before anything is written.
#include <QString>
#include <QVariant>

class InputError;

namespace db {

// The largest amount of a money column, in rials, on both databases (the range of the money type).
constexpr qint64 kMoneyLimit = 922337203685477;

// Throws InputError: a text holding a control character (NUL ...), a date column's text that is
// not a real Solar date, a money amount above kMoneyLimit. Unknown columns pass the text through unchanged.
QVariant columnValue(const QString &table, const QString &column, const QString &text);

// A column's text read as a number (parseNumber); InputError naming the column when it is not
// one, an empty text included.
double readNumber(const QString &text, const QString &column);

// The refusal of an amount above kMoneyLimit, naming what was typed and its column.
InputError moneyTooLarge(const QString &text, const QString &column);
// The refusal of a date that is not a real Solar date (nor the empty date).
InputError notADate(const QString &text, const QString &column);

} // namespace db
