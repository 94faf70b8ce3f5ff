#pragma once
#include "core/collation_utf8.h"

#include <QString>

// Persian alphabetical comparison: "پ", "چ", "ژ", "گ" in their places, the Arabic and
// Persian forms of kaf and yeh side by side. Returns <0, 0 or >0. The embedded database's
// collation "fa" and the sorted lists use it.
int persianCompare(const QString &a, const QString &b);
// The same order over UTF-8 texts, with no conversion (persianCompareUtf8, collation_utf8.h):
// the SQLite collation "fa" and the datasets' own sort use it.
