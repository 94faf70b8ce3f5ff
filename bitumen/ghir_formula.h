#pragma once
// Arithmetic of the bitumen entry forms' computed boxes.
//
// Numbers are read from box texts into extended precision (long double, the 80-bit
// format of the x87 unit), computed there, and written back as the shortest general
// decimal text with 15 significant digits. Round is half-to-even, Floor rounds down.
// A formula that cannot be computed (a text that is not a number, a division by zero,
// a result out of range) throws FormulaError; the caller decides what the box shows.
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QMouseEvent;

namespace ghirformula {

struct FormulaError {};

// The number of a box text (Latin or Persian digits, "," separators ignored); throws
// FormulaError when the text is empty or not a number.
long double number(const QString &text);
// false instead of throwing.
bool readNumber(const QString &text, long double *out);

// a / b; throws FormulaError when b is zero.
long double divide(long double a, long double b);
// Half-to-even and round-down to a whole number; throw FormulaError outside the
// range of a 64-bit integer.
long double Round(long double v);
long double Floor(long double v);

// The text a computed value is written back as ("11.65", "6", "0.699").
QString text(long double v);
// The value as written and read back (at most 15 significant digits).
long double roundTrip(long double v);

// Runs a formula and writes its result into the box; returns false (box untouched)
// when the formula failed.
bool computeInto(QLineEdit *box, const std::function<long double()> &formula);

// Replaces the number in a box by its half-to-even whole number, as a click on the
// box's label does; throws db::Refusal naming the box by `caption` when it is empty or holds
// no number.
void roundBox(QLineEdit *box, const QString &caption);

} // namespace ghirformula
