#pragma once
// Replacing a scratch table's contents with the rows of a list. The table is emptied and filled
// inside one transaction that holds its lock, so two workstations running the same report at once
// each write exactly their own rows; the caller lists and totals the rows it is handed, never the
// shared table afterwards. Neither the list nor the rows are held: memory stays the same whatever
// the number of rows.
//
// Where each value of a scratch row is an SQL expression over the source's row, the engine makes
// the table itself (one "insert into ... select"), and the caller is handed the rows as the table
// holds them; otherwise the program builds each row from the list read row by row.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class AppContext;
class QWidget;

// The current row of the list, read by column position.
class SourceRow {
public:
    virtual ~SourceRow() = default;
    virtual bool isNull(int column) const = 0;
    virtual QString text(int column) const = 0; // null: empty
    virtual bool isEmpty(int column) const { return text(column).isEmpty(); } // null or empty text
    virtual double number(int column) const = 0; // null: 0 (for number columns)
    // A text column's UTF-8 bytes (null: empty), valid until the next call.
    virtual QByteArrayView utf8(int column) const;

private:
    mutable QByteArray m_utf8;
};

struct ScratchFill {
    QString table;        // the scratch table
    QStringList columns;  // its columns, in the order of the values
    QString from;         // "from ... where ..." of the source, with "?" for its values
    QVariantList binds;
    QString order;        // the source's order ("a collate fa,b,id"), the order the rows are written in
    QString progressText;
    // The engine's copy: one SQL expression over the source's row per column.
    QStringList values;
    // Or the program's: the select list read row by row, and the scratch row built from the
    // current row; false leaves the row out.
    QString select;
    std::function<bool(const SourceRow &source, QVariantList &row)> build;
    // Sees every row written, in order: texts as QString, numbers as double.
    std::function<void(const QVariantList &row)> written;
    // Or, for the engine's copy, every row written as the table holds it, read by column
    // position (the rows are not turned into values first).
    std::function<void(const SourceRow &row)> listed;
};

// False when the person cancelled: the table is then as it was. Throws AppError (a refused
// statement, a text longer than its column, or what build() or written() threw): the table is
// then as it was too.
bool ReplaceScratchRows(AppContext &ctx, const ScratchFill &fill, QWidget *parent = nullptr);

// A copy's expression whose number the table holds as the program writes a number: rounded to
// its text of 15 significant digits (textrule::numberText).
QString ScratchNumberSql(const QString &expression, bool postgres);
