#pragma once
// The Persian alphabetical order over UTF-8 texts, with nothing but the C++ library: the
// program's collation "fa" and the SQLite extension of the same name (ext/varnoset_fa.cpp) are
// built from this one code, so an index that either of them writes reads right in the other.
#include <array>
#include <cstdint>

namespace persian_order {

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

inline const Weights &persianWeights()
{
    static const Weights table;
    return table;
}

// The place of one UTF-16 code unit (or code point): letters after digits and Latin text,
// marks and other Arabic-block signs last by code, the zero-width non-joiner nowhere (-1).
inline int persianWeight(uint32_t u)
{
    if (u >= 0x600 && u <= 0x6FF) {
        const int w = persianWeights().arabic[u - 0x600];
        return w ? 0x10000 + w : 0x20000 + int(u);
    }
    if (u == 0x200C)
        return -1;
    return int(u);
}

} // namespace persian_order

// The order of two UTF-8 texts of the given byte lengths: <0, 0 or >0.
int persianCompareUtf8(const char *a, int la, const char *b, int lb);
// The same as SQLite's collation callback (its first argument unused): the collation "fa" of the
// program's connections and of the loadable extension.
int persianCollateUtf8(void *, int la, const void *a, int lb, const void *b);
