#pragma once
#include <QString>

// Persian alphabetical comparison: "پ", "چ", "ژ", "گ" in their places, the Arabic and
// Persian forms of kaf and yeh side by side. Returns <0, 0 or >0. The embedded database's
// collation "fa" and the sorted lists use it.
int persianCompare(const QString &a, const QString &b);
