#include "core/collation.h"

#include <array>
#include <cstdint>

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

const Weights &weights()
{
    static const Weights table;
    return table;
}

// The place of one UTF-16 code unit (or code point): letters after digits and Latin text,
// marks and other Arabic-block signs last by code, the zero-width non-joiner nowhere (-1).
inline int weight(uint32_t u)
{
    if (u >= 0x600 && u <= 0x6FF) {
        const int w = weights().arabic[u - 0x600];
        return w ? 0x10000 + w : 0x20000 + int(u);
    }
    if (u == 0x200C)
        return -1;
    return int(u);
}

// Decodes one UTF-8 sequence at p (p < end); invalid bytes read as themselves.
inline uint32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const uint32_t c = *p++;
    if (c < 0x80)
        return c;
    auto cont = [&](int n, uint32_t v) -> uint32_t {
        for (int k = 0; k < n; ++k) {
            if (p >= end || (*p & 0xC0) != 0x80)
                return 0xFFFD;
            v = (v << 6) | (*p++ & 0x3F);
        }
        return v;
    };
    if ((c & 0xE0) == 0xC0)
        return cont(1, c & 0x1F);
    if ((c & 0xF0) == 0xE0)
        return cont(2, c & 0x0F);
    if ((c & 0xF8) == 0xF0)
        return cont(3, c & 0x07);
    return 0xFFFD;
}

// Reads UTF-8 as the UTF-16 code units QString holds: a supplementary character gives its
// two surrogates, so both comparisons see the same sequence.
struct Utf16Reader {
    const unsigned char *p, *end;
    uint32_t pendingLow = 0;
    bool atEnd() const { return p >= end && !pendingLow; }
    uint32_t next()
    {
        if (pendingLow) {
            const uint32_t u = pendingLow;
            pendingLow = 0;
            return u;
        }
        const uint32_t cp = nextCodePoint(p, end);
        if (cp < 0x10000)
            return cp;
        pendingLow = 0xDC00 + ((cp - 0x10000) & 0x3FF);
        return 0xD800 + ((cp - 0x10000) >> 10);
    }
};

} // namespace

int persianCompare(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    const int na = a.size(), nb = b.size();
    while (true) {
        int wa = -1, wb = -1;
        while (i < na && (wa = weight(a.at(i).unicode())) < 0)
            ++i;
        while (j < nb && (wb = weight(b.at(j).unicode())) < 0)
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

int persianCompareUtf8(const char *a, int la, const char *b, int lb)
{
    const auto *pa = reinterpret_cast<const unsigned char *>(a), *ea = pa + la;
    const auto *pb = reinterpret_cast<const unsigned char *>(b), *eb = pb + lb;
    // A common ASCII start compares equal either way.
    while (pa < ea && pb < eb && *pa == *pb && *pa < 0x80) {
        ++pa;
        ++pb;
    }
    Utf16Reader ra{pa, ea}, rb{pb, eb};
    int wa, wb;
    while (true) {
        wa = wb = -1;
        while (!ra.atEnd() && (wa = weight(ra.next())) < 0) {
        }
        while (!rb.atEnd() && (wb = weight(rb.next())) < 0) {
        }
        if (wa < 0 || wb < 0)
            break;
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (wa >= 0)
        return 1;  // b ran out first
    if (wb >= 0)
        return -1; // a ran out first
    // Same place: the exact order of the two texts by UTF-16 code units.
    Utf16Reader xa{pa, ea}, xb{pb, eb};
    while (!xa.atEnd() && !xb.atEnd()) {
        const uint32_t ca = xa.next(), cb = xb.next();
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return int(!xa.atEnd()) - int(!xb.atEnd());
}
