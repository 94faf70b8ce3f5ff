#include "core/collation_utf8.h"

namespace {

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
        while (!ra.atEnd() && (wa = persian_order::persianWeight(ra.next())) < 0) {
        }
        while (!rb.atEnd() && (wb = persian_order::persianWeight(rb.next())) < 0) {
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

int persianCollateUtf8(void *, int la, const void *a, int lb, const void *b)
{
    return persianCompareUtf8(static_cast<const char *>(a), la, static_cast<const char *>(b), lb);
}
