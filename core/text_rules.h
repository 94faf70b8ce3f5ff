#pragma once
// The rules of typed text that every floor shares: digits of the three scripts, numbers as
// the boxes and the databases read them, and the characters no stored text may hold.
#include <QChar>
#include <QString>

namespace textrule {

// A number as the database and the boxes read it: "." and Latin digits, 15 significant
// digits at most ("30.3", never "30.299999999999997"), no exponent for ordinary values.
QString numberText(double value);

// Parses a number typed with Latin, Persian or Arabic-Indic digits, "," separators and an
// optional "." decimal sign; false when it is not a number. An empty text is not a number
// here. Group separators must stand every three digits of the whole part ("1,250,000"):
// "2,3" is refused, never read as 23.
bool parseNumber(const QString &text, double *out);
// The one digit converter: the Latin digit of a Latin, Persian or Arabic-Indic digit, or a
// null character when c is not a digit; and a text with every such digit made Latin.
QChar latinDigit(QChar c);
QString latinDigits(const QString &text);

// A control character other than tab and line breaks (a NUL typed or pasted ...).
bool hasControlCharacter(const QString &text);

} // namespace textrule
