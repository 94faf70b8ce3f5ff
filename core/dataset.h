#pragma once
// A named query of the data module: its statement runs with bound values and its
// rows are kept as a snapshot (a static cursor) with a current row. Grids show it
// as a table model; the current row is what the windows' commands work on.
#include "core/rowstore.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <vector>
#include <optional>

class DataSet : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSet(const QString &name, QObject *parent = nullptr);

    void setDatabase(const QSqlDatabase &db) { m_db = db; }
    QSqlDatabase database() const { return m_db; }

    // Runs a select and keeps its rows; the current row becomes the first (or -1).
    // Throws DbError with the driver's message when the database refuses it.
    void open(const QString &sql, const QVariantList &binds = {});
    // Runs an insert, update or delete; closes what the query held. Returns the rows affected.
    int exec(const QString &sql, const QVariantList &binds = {});
    void close();
    bool isOpen() const { return m_open; }
    QString sql() const { return m_sql; }
    QVariantList binds() const { return m_binds; }
    // Runs the last select again and keeps the current row on the row whose `keyField` equals
    // what it was before (or on the same index when there was no key).
    void reopen(const QString &keyField = QString());

    int recordCount() const { return m_store.rowCount(); }
    bool isEmpty() const { return m_store.rowCount() == 0; }
    const QStringList &fieldNames() const { return m_fields; }
    int fieldIndex(const QString &field) const; // -1 when absent; case-insensitive

    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    bool first() { setCurrentRow(isEmpty() ? -1 : 0); return !isEmpty(); }
    bool next();
    bool eof() const { return m_current < 0 || m_current >= recordCount(); }
    // Moves to the first row whose field equals value; false when none.
    bool locate(const QString &field, const QVariant &value);

    // Values of the current row (or of `row`). Throws AppError for an unknown field.
    QVariant value(const QString &field, int row = -1) const;
    // The value of a column (by position) at a place of the listing, for walking every cell.
    QVariant valueAt(int row, int column) const;
    // The statement's columns (the calculated fields come after them) and their cells at a
    // place of the listing, decoded without a QVariant.
    int storedColumnCount() const { return m_storedColumns; }
    void storedCells(int row, RowStore::Cell *out) const { m_store.cells(stored(row), out, m_storedColumns); }
    // Display text: null empty, floats with 15 significant digits, money without ".0000" and
    // exact to its fourth decimal where the database keeps it so (value() gives its double).
    QString text(const QString &field, int row = -1) const;
    // The display texts of every column at a place of the listing, as data() shows them, read in
    // one walk along the stored row.
    void rowTexts(int row, QStringList &out) const;
    bool isNull(const QString &field, int row = -1) const;
    double toDouble(const QString &field, int row = -1) const;
    qint64 toInt64(const QString &field, int row = -1) const;

    // Client-side sort like a dataset's Sort property: "field ASC" or "field DESC"; empty = as returned.
    void setSort(const QString &sort);
    QString sort() const { return m_sort; }

    // Column titles for grids (by exact field name); a field without one shows its own name.
    void setTitles(const QHash<QString, QString> &titles);
    // Bold header of the sorted column (SortGridByColumn).
    void setBoldColumn(int column);
    // Row background for grids; invalid colour = default.
    void setRowColor(std::function<QColor(int row)> fn) { m_rowColor = std::move(fn); }

    // Model
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString valueText(const QVariant &v);
    // Memory held by the rows (for the benchmarks).
    size_t bytesHeld() const { return m_store.bytesHeld() + m_order.capacity() * sizeof(int); }

    // A field computed for every row when the rows are loaded (a calculated field), added after
    // the statement's columns; fn reads the other fields of the row it is given.
    using Calculation = std::function<QVariant(const DataSet &ds, int row)>;
    void addCalculatedField(const QString &name, Calculation fn);

    // Cells of `fields` edited in place (a grid with edit triggers): `write` stores the text
    // typed into a cell of `row` and gives the value stored, or nothing when it refused (it
    // says why itself); the cell then shows what was stored.
    using CellWriter = std::function<std::optional<QVariant>(int row, const QString &field, const QString &text)>;
    void setCellWriter(const QStringList &fields, CellWriter write);
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void currentRowChanged(int row);
    void reopened();

private:
    void runSelect();
    void applySort();
    int checkedIndex(const QString &field) const;
    int rowOf(int row) const { return row < 0 ? m_current : row; }
    // The stored row shown at a place of the listing (the sort reorders places, not rows).
    int stored(int row) const { return m_order.empty() ? row : m_order[size_t(row)]; }
    // Display text of a cell at a place of the listing.
    QString cellText(int row, int column) const;
    static QString storedText(const RowStore::Cell &cell);
    void clearRows();
    // Makes the first `rows` stored rows visible to the grids.
    void publish(int rows);
    // A listing still arriving after this long shows what it has, then again at this pace.
    static constexpr int kShowAfterMs = 40, kShowEveryMs = 250;

    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_binds;
    bool m_open = false;
    QStringList m_fields;
    QHash<QString, int> m_index; // lower-case name -> column
    RowStore m_store;
    std::vector<int> m_order;  // listing place -> stored row, when sorted
    int m_storedColumns = 0;   // the statement's columns; calculated fields come after them
    int m_published = 0;       // rows the grids see: all of them once the listing has arrived
    int m_current = -1;
    QString m_sort;
    QHash<QString, QString> m_titles;
    int m_boldColumn = -1;
    std::function<QColor(int)> m_rowColor;
    QList<QPair<QString, Calculation>> m_calculated;
    mutable std::vector<RowStore::Cell> m_cells; // rowTexts()'s walk
    QStringList m_editable; // lower-case field names
    CellWriter m_writer;
};
