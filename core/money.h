#pragma once
// Money, one way for every floor: an amount of rials as the money columns keep it (four
// decimals), held as a 64-bit count of ten-thousandths and read exactly from its text (a
// double would lose the last places of large amounts). The boxes take whole rials of it, the
// values written, the grids and the sums read and show it through here.
#include <QString>

namespace money {

constexpr qint64 kScale = 10000;
// The largest amount of a money column, in rials, on both databases (the range of the money type).
constexpr qint64 kLimit = 922337203685477;

// The amount of a text (Latin, Persian or Arabic-Indic digits, "," groups where parseNumber takes
// them, an optional fraction whose fifth decimal rounds the fourth); false when the text is not
// a number or the amount does not fit.
bool read(const QString &text, qint64 *tenThousandths);
// Whether an amount read is within the money columns' range (kLimit rials either way).
bool withinLimit(qint64 tenThousandths);
// Plain decimal text: "1250000", "1250.5", "-2.5" (no grouping, no trailing zeros).
QString text(qint64 tenThousandths);
// The whole rials (a fraction rounded half away from zero) grouped by thousands: "1,250,000".
QString grouped(qint64 tenThousandths);

// Arithmetic of amounts, exact to the fourth decimal: a product is rounded to four decimals, half
// to even (2.5 x 0.0001 = 0.0002); false when the result does not fit the type.
bool multiply(qint64 a, qint64 b, qint64 *out);
bool add(qint64 a, qint64 b, qint64 *out);

} // namespace money
