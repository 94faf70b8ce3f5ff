#pragma once
// Replacing a scratch table's contents with rows that the program builds from a list read row
// by row. The table is emptied and filled inside one transaction that holds its lock, in
// statements of many rows each, so two workstations running the same report at once each
// write exactly their own rows; the caller lists and totals the rows it is handed as they are
// written, never the shared table afterwards.
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class AppContext;
class QWidget;

struct ScratchFill {
    QString table;        // the scratch table
    QStringList columns;  // its columns, in the order build() gives the values
    QString sourceSql;    // the select read row by row
    QVariantList sourceBinds;
    QString countSql;     // the number of source rows, for the progress bar
    QVariantList countBinds;
    QString progressText;
    // Builds the scratch row of the source's current row; false leaves the row out.
    std::function<bool(const QSqlQuery &source, QVariantList &row)> build;
    // Sees every row written, in order.
    std::function<void(const QVariantList &row)> written;
};

// False when the person cancelled: the table is then as it was. Throws AppError (a refused
// statement, or what build() or written() threw): the table is then as it was too.
bool ReplaceScratchRows(AppContext &ctx, const ScratchFill &fill, QWidget *parent = nullptr);

// Rows sent in one insert statement (at most about 4,000 values each).
int ScratchRowsPerStatement(int columns);
