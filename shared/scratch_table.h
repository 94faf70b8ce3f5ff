#pragma once
// Replacing a scratch table's contents with rows that the program builds from a list read row
// by row. The table is emptied and filled inside one transaction that holds its lock, so two
// workstations running the same report at once each write exactly their own rows; the caller
// lists and totals the rows it is handed as they are written, never the shared table afterwards.
// Neither the list nor the rows are held: memory stays the same whatever the number of rows.
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
};

struct ScratchFill {
    QString table;        // the scratch table
    QStringList columns;  // its columns, in the order build() gives the values
    QString sourceSql;    // the select read row by row, with "?" for its values
    QVariantList sourceBinds;
    QString countSql;     // the number of source rows, for the progress bar
    QVariantList countBinds;
    QString progressText;
    // Builds the scratch row of the source's current row; false leaves the row out.
    std::function<bool(const SourceRow &source, QVariantList &row)> build;
    // Sees every row written, in order.
    std::function<void(const QVariantList &row)> written;
};

// False when the person cancelled: the table is then as it was. Throws AppError (a refused
// statement, a text longer than its column, or what build() or written() threw): the table is
// then as it was too.
bool ReplaceScratchRows(AppContext &ctx, const ScratchFill &fill, QWidget *parent = nullptr);
