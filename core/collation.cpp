#include "core/collation.h"

#include <array>

namespace {

// Letters in Persian alphabetical order; letters on one line share a place.
const char16_t *const kOrder[] = {
    u"آ", u"اأإٱ", u"ء", u"ب", u"پ", u"ت", u"ث", u"ج", u"چ", u"ح", u"خ", u"د", u"ذ", u"ر", u"ز", u"ژ",
    u"س", u"ش", u"ص", u"ض", u"ط", u"ظ", u"ع", u"غ", u"ف", u"ق", u"کك", u"گ", u"ل", u"م", u"ن",
    u"وؤ", u"هةۀ", u"یيئى",
};

struct Weights {
    std::array<int, 0x100> arabic{}; // U+0600..U+06FF
    Weights()
    {
        int w = 1;
        for (const char16_t *group : kOrder) {
            for (const char16_t *p = group; *p; ++p)
                arabic[*p - 0x600] = w;
            ++w;
        }
    }
};

int weight(QChar c)
{
    static const Weights table;
    const char16_t u = c.unicode();
    if (u >= 0x600 && u <= 0x6FF) {
        const int w = table.arabic[u - 0x600];
        if (w)
            return 0x10000 + w;          // letters after digits and Latin text
        return 0x20000 + u;              // marks and other signs last, by code
    }
    if (u == 0x200C)                     // zero-width non-joiner does not count
        return -1;
    return u;
}

} // namespace

int persianCompare(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    const int na = a.size(), nb = b.size();
    while (true) {
        int wa = -1, wb = -1;
        while (i < na && (wa = weight(a.at(i))) < 0)
            ++i;
        while (j < nb && (wb = weight(b.at(j))) < 0)
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
