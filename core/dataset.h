#pragma once
// A named query of the data module: its statement runs with bound values and its
// rows are kept as a snapshot (a static cursor) with a current row. Grids show it
// as a table model; the current row is what the windows' commands work on.
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
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

    int recordCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const QStringList &fieldNames() const { return m_fields; }
    int fieldIndex(const QString &field) const; // -1 when absent; case-insensitive

    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    bool first() { setCurrentRow(m_rows.isEmpty() ? -1 : 0); return !m_rows.isEmpty(); }
    bool next();
    bool eof() const { return m_current < 0 || m_current >= m_rows.size(); }
    // Moves to the first row whose field equals value; false when none.
    bool locate(const QString &field, const QVariant &value);

    // Values of the current row (or of `row`). Throws AppError for an unknown field.
    QVariant value(const QString &field, int row = -1) const;
    // The values of a row in field order (fieldNames().size() of them), for walking every cell.
    const QVariant *rowValues(int row) const { return m_rows[row].constData(); }
    // Display text: null empty, floats with 15 significant digits, money without ".0000".
    QString text(const QString &field, int row = -1) const;
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

    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_binds;
    bool m_open = false;
    QStringList m_fields;
    QHash<QString, int> m_index; // lower-case name -> column
    QVector<QVector<QVariant>> m_rows;
    int m_current = -1;
    QString m_sort;
    QHash<QString, QString> m_titles;
    int m_boldColumn = -1;
    std::function<QColor(int)> m_rowColor;
    QList<QPair<QString, Calculation>> m_calculated;
    QStringList m_editable; // lower-case field names
    CellWriter m_writer;
};
