#include "core/rowstore.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cmath>
#include <algorithm>
#include <cstring>

namespace {

inline void putVarint(std::vector<char> &out, uint64_t v)
{
    while (v >= 0x80) {
        out.push_back(char(uint8_t(v) | 0x80));
        v >>= 7;
    }
    out.push_back(char(v));
}

inline uint64_t getVarint(const char *&p)
{
    uint64_t v = 0;
    int shift = 0;
    while (true) {
        const uint8_t b = uint8_t(*p++);
        v |= uint64_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

inline uint64_t zigzag(qint64 v) { return (uint64_t(v) << 1) ^ uint64_t(v >> 63); }
inline qint64 unzigzag(uint64_t v) { return qint64(v >> 1) ^ -qint64(v & 1); }

// Steps over one encoded cell.
inline const char *skipCell(const char *p)
{
    const auto tag = RowStore::Tag(uint8_t(*p++));
    switch (tag) {
    case RowStore::Int:
        getVarint(p);
        return p;
    case RowStore::Double:
        return p + sizeof(double);
    case RowStore::Text:
    case RowStore::Blob:
    case RowStore::Date:
    case RowStore::Time:
    case RowStore::DateTime:
    case RowStore::NumberText:
    case RowStore::Decimal: {
        const uint64_t n = getVarint(p);
        return p + n;
    }
    default:
        return p;
    }
}

// A number written as text: a whole value (any zeros after the point) as Int, else Double;
// what is not a number stays Text.
void readNumberText(RowStore::Cell &c, const char *p, int len)
{
    const char *dot = static_cast<const char *>(std::memchr(p, '.', size_t(len)));
    bool whole = true;
    if (dot)
        for (const char *q = dot + 1; q < p + len; ++q)
            if (*q != '0') {
                whole = false;
                break;
            }
    const int intLen = dot ? int(dot - p) : len;
    char buf[64];
    if (whole && intLen > 0 && intLen <= 18) {
        std::memcpy(buf, p, size_t(intLen));
        buf[intLen] = 0;
        char *end = nullptr;
        const long long n = std::strtoll(buf, &end, 10);
        if (end && *end == 0) {
            c.tag = RowStore::Int;
            c.i = n;
            return;
        }
    }
    if (len < int(sizeof buf)) {
        std::memcpy(buf, p, size_t(len));
        buf[len] = 0;
        char *end = nullptr;
        const double d = std::strtod(buf, &end);
        if (end && *end == 0) {
            c.tag = RowStore::Double;
            c.d = d;
            return;
        }
    }
    c.tag = RowStore::Text;
    c.data = p;
    c.size = len;
}

// A decimal number written as text: with a fraction of at most four places its exact text is
// kept (an amount of money: a double would lose the last places of a large one).
void readDecimal(RowStore::Cell &c, const char *p, int len)
{
    const char *dot = static_cast<const char *>(std::memchr(p, '.', size_t(len)));
    int end = len;
    if (dot)
        while (end > 0 && p[end - 1] == '0')
            --end;
    if (!dot || p + end - 1 == dot || p + end - 1 - dot > 4) {
        readNumberText(c, p, len);
        return;
    }
    readNumberText(c, p, end);
    if (c.tag == RowStore::Double) {
        c.tag = RowStore::Decimal;
        c.data = p;
        c.size = end;
    }
}

} // namespace

void RowStore::clear()
{
    m_chunks.clear();
    m_used = m_chunkSize = m_bigBytes = m_chunkBytes = 0;
    std::vector<const char *>().swap(m_rows);
    m_pending.clear();
}

void RowStore::addInt(qint64 v)
{
    m_pending.push_back(char(Int));
    putVarint(m_pending, zigzag(v));
}

void RowStore::addDouble(double v)
{
    m_pending.push_back(char(Double));
    char b[sizeof(double)];
    std::memcpy(b, &v, sizeof b);
    m_pending.insert(m_pending.end(), b, b + sizeof b);
}

void RowStore::addBytes(Tag tag, const char *p, int n)
{
    m_pending.push_back(char(tag));
    putVarint(m_pending, uint64_t(n));
    if (n > 0)
        m_pending.insert(m_pending.end(), p, p + n);
}

void RowStore::addVariant(const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        addNull();
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        addBool(v.toBool());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        addInt(v.toLongLong());
        return;
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        if (v.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
            addInt(v.toLongLong());
        else
            addDouble(v.toDouble());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        addDouble(v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        addBytes(Blob, b.constData(), int(b.size()));
        return;
    }
    case QMetaType::QDate: {
        const QByteArray b = v.toDate().toString(Qt::ISODate).toUtf8();
        addBytes(Date, b.constData(), int(b.size()));
        return;
    }
    case QMetaType::QTime: {
        const QByteArray b = v.toTime().toString(Qt::ISODateWithMs).toUtf8();
        addBytes(Time, b.constData(), int(b.size()));
        return;
    }
    case QMetaType::QDateTime: {
        const QByteArray b = v.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
        addBytes(DateTime, b.constData(), int(b.size()));
        return;
    }
    default: {
        const QByteArray b = v.toString().toUtf8();
        addBytes(Text, b.constData(), int(b.size()));
    }
    }
}

char *RowStore::allocate(size_t n)
{
    if (n > kFirstChunk / 2) {
        // A row of its own size, kept before the current chunk so that chunk goes on filling.
        auto big = std::make_unique_for_overwrite<char[]>(n);
        char *p = big.get();
        m_chunks.insert(m_chunks.end() - (m_chunks.empty() ? 0 : 1), std::move(big));
        m_bigBytes += n;
        return p;
    }
    if (m_chunks.empty() || m_used + n > m_chunkSize) {
        const size_t size = m_chunkSize ? std::min(m_chunkSize * 2, kChunk) : kFirstChunk;
        // Not cleared first: every byte of it is written before it is read.
        m_chunks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_chunkSize = size;
        m_chunkBytes += size;
        m_used = 0;
    }
    char *p = m_chunks.back().get() + m_used;
    m_used += n;
    return p;
}

void RowStore::endRow()
{
    char *p = allocate(m_pending.size());
    if (!m_pending.empty())
        std::memcpy(p, m_pending.data(), m_pending.size());
    m_rows.push_back(p);
    m_pending.clear();
}

void RowStore::setCell(int row, int column, int columns, const QVariant &v)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    const char *p = m_rows[size_t(row)];
    const char *start = p;
    for (int i = 0; i < column; ++i)
        p = skipCell(p);
    const char *cellStart = p;
    const char *cellEnd = skipCell(p);
    const char *end = cellEnd;
    for (int i = column + 1; i < columns; ++i)
        end = skipCell(end);
    m_pending.assign(start, cellStart);
    addVariant(v);
    m_pending.insert(m_pending.end(), cellEnd, end);
    char *q = allocate(m_pending.size());
    std::memcpy(q, m_pending.data(), m_pending.size());
    m_rows[size_t(row)] = q;
    m_pending.clear();
}

namespace {
// Decodes the cell at p and moves p past it.
RowStore::Cell decodeCell(const char *&p)
{
    RowStore::Cell c;
    c.tag = RowStore::Tag(uint8_t(*p++));
    switch (c.tag) {
    case RowStore::Int:
        c.i = unzigzag(getVarint(p));
        break;
    case RowStore::Double:
        std::memcpy(&c.d, p, sizeof(double));
        p += sizeof(double);
        break;
    case RowStore::Text:
    case RowStore::Blob:
    case RowStore::Date:
    case RowStore::Time:
    case RowStore::DateTime:
        c.size = int(getVarint(p));
        c.data = p;
        p += c.size;
        break;
    case RowStore::NumberText: {
        const int n = int(getVarint(p));
        readNumberText(c, p, n);
        p += n;
        break;
    }
    case RowStore::Decimal: {
        const int n = int(getVarint(p));
        readDecimal(c, p, n);
        p += n;
        break;
    }
    default:
        break;
    }
    return c;
}
} // namespace

RowStore::Cell RowStore::cell(int row, int column) const
{
    if (row < 0 || row >= int(m_rows.size()) || column < 0)
        return Cell();
    const char *p = m_rows[size_t(row)];
    for (int i = 0; i < column; ++i)
        p = skipCell(p);
    return decodeCell(p);
}

void RowStore::cells(int row, Cell *out, int n) const
{
    const char *p = m_rows[size_t(row)];
    for (int i = 0; i < n; ++i)
        out[i] = decodeCell(p);
}

QVariant RowStore::toVariant(const Cell &c)
{
    switch (c.tag) {
    case Int:
        return QVariant(qlonglong(c.i));
    case Double:
    case Decimal:
        return QVariant(c.d);
    case Text:
        return QVariant(QString::fromUtf8(c.data, c.size));
    case Blob:
        return QVariant(QByteArray(c.data, c.size));
    case False:
        return QVariant(false);
    case True:
        return QVariant(true);
    case Date:
        return QVariant(QDate::fromString(QString::fromLatin1(c.data, c.size), Qt::ISODate));
    case Time:
        return QVariant(QTime::fromString(QString::fromLatin1(c.data, c.size), Qt::ISODateWithMs));
    case DateTime:
        return QVariant(QDateTime::fromString(QString::fromLatin1(c.data, c.size), Qt::ISODateWithMs));
    default:
        return QVariant();
    }
}

QString RowStore::text(const Cell &c)
{
    switch (c.tag) {
    case Null:
        return QString();
    case Int:
        return QString::number(c.i);
    case Text:
        return QString::fromUtf8(c.data, c.size);
    case Decimal:
        return QString::fromLatin1(c.data, c.size);
    default:
        return QString(); // the caller formats the other kinds
    }
}

size_t RowStore::bytesHeld() const
{
    return m_chunkBytes + m_bigBytes + m_rows.capacity() * sizeof(const char *);
}
