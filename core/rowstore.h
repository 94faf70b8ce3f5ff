#pragma once
// The rows of a listing held compactly: each row is one record of tagged cells (a tag byte,
// then a variable-length integer, eight bytes of a double, or a length and the bytes of a
// text in UTF-8), the records packed into large chunks that are freed all at once. A cell is
// decoded only when it is read, so a listing costs about what its values take.
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

class RowStore {
public:
    // NumberText: a number as the server wrote it ("12", "30.3"), read as Int (a whole value) or
    // Double when the cell is read; never seen by a reader.
    // Decimal: a decimal number as the server wrote it ("1250000.0000", "1234567890123.4567"):
    // stored so, it is read as Int when whole, as a Decimal cell when it has at most four
    // decimals (an amount: its exact text, trailing zeros dropped, beside the nearest double),
    // else as Double.
    enum Tag : uint8_t { Null = 0, Int, Double, Text, Blob, False, True, Date, Time, DateTime, NumberText, Decimal };

    struct Cell {
        Tag tag = Null;
        const char *data = nullptr; // the bytes of a text, blob, date or Decimal (UTF-8 / ISO text)
        int size = 0;
        qint64 i = 0;
        double d = 0; // a Double's value, a Decimal's nearest
        bool isNull() const { return tag == Null; }
        bool isText() const { return tag == Text; }
        bool isNumber() const { return tag == Int || tag == Double || tag == Decimal; }
    };

    RowStore() = default;
    RowStore(const RowStore &) = delete;
    RowStore &operator=(const RowStore &) = delete;

    void clear();
    int rowCount() const { return int(m_rows.size()); }

    // A row is written cell by cell in column order, then ended.
    void addNull() { m_pending.push_back(char(Null)); }
    void addInt(qint64 v);
    void addDouble(double v);
    void addBool(bool v) { m_pending.push_back(char(v ? True : False)); }
    void addText(const char *p, int n) { addBytes(Text, p, n); }
    void addBytes(Tag tag, const char *p, int n);
    // A value as a Qt driver returns it.
    void addVariant(const QVariant &v);
    void endRow();

    // Replaces one cell of a stored row of `columns` cells (a cell edited in place): the row
    // is written anew.
    void setCell(int row, int column, int columns, const QVariant &v);

    Cell cell(int row, int column) const;
    // The first n cells of a stored row, decoded in one walk along it.
    void cells(int row, Cell *out, int n) const;
    QVariant value(int row, int column) const { return toVariant(cell(row, column)); }
    // A Decimal as its double: its exact text is text()'s.
    static QVariant toVariant(const Cell &c);
    // The display text of a cell without going through QVariant for the common kinds (a
    // Decimal's exact text among them).
    static QString text(const Cell &c);

    // Memory held by the records (chunks and row index).
    size_t bytesHeld() const;

private:
    char *allocate(size_t n);

    // Chunks grow from 16 KB to 1 MB, so a short listing holds little and a long one few chunks.
    static constexpr size_t kFirstChunk = 16 << 10, kChunk = 1 << 20;
    size_t m_chunkBytes = 0; // all chunks but the large rows'
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_used = 0;      // of the last chunk
    size_t m_chunkSize = 0; // of the last chunk
    size_t m_bigBytes = 0;  // chunks of single large rows
    std::vector<const char *> m_rows;
    std::vector<char> m_pending;
};
