#include "core/collation.h"

int persianCompare(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    const int na = a.size(), nb = b.size();
    while (true) {
        int wa = -1, wb = -1;
        while (i < na && (wa = persian_order::persianWeight(a.at(i).unicode())) < 0)
            ++i;
        while (j < nb && (wb = persian_order::persianWeight(b.at(j).unicode())) < 0)
            ++j;
        if (i >= na || j >= nb)
            break;
        if (wa != wb)
            return wa < wb ? -1 : 1;
        ++i;
        ++j;
    }
    const bool ea = i >= na, eb = j >= nb;
    if (ea && eb)
        return QString::compare(a, b); // same place: keep a stable, exact order
    return ea ? -1 : 1;
}
