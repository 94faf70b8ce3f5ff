#pragma once
#include <QString>
#include <QtGlobal>

// Persian words of a number by groups of three digits ("هزار", "ميليون", "ميليارد"),
// groups joined by " و ", a zero group skipped; then a blank and the unit word when given.
QString NumberToWords(qint32 number, const QString &unit = QString());
// The bitumen forms' tonnage in words: NumberToWords with the unit word "تن".
QString GetNum(qint32 number);
// "," between groups of three integer digits from the right; a sign and a fraction are kept.
QString GroupDigits(const QString &text);
