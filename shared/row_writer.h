#pragma once
// The one way a window writes a register row (the entry forms, the progress register, the item
// catalogue, the attachment lists):
//   - values: a box's text becomes its column's value through db::columnValue; a refusal names
//     the box by its caption (BoxValue; the entry form does the same for its boxes);
//   - then one write transaction holding the table's lock (Tdm::writeTransaction), in which run
//     the window's own refusals, the parents the row belongs under (each still there, and held
//     so until the commit: a row is never written under a parent another user deleted), the
//     duplicate test of the natural key (text columns compared with the Persian and Arabic yeh
//     and kaf taken as one and outer blanks trimmed; stored texts stay as given), the insert, or
//     the update that goes on only while the row still holds what the form read, then the
//     window's further statements and the log row;
//   - refused: nothing written, every refusal kept to be told.
//
//   RowWrite row{.table = "etebarat", .columns = {...}, .values = {...},
//                .parents = {{"prj_id", "prj", "id", msg::kProjectGone}}};
//   const WriteResult r = InsertRow(ctx, row);
//   for (const QString &t : r.refusals) ui->message(t);
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

class AppContext;
class QWidget;

// The row a new row belongs under.
struct ParentDef {
    QString column; // the child's column holding the parent's key
    QString table;  // the parent's table and its key column
    QString key;
    QString gone;   // told when the parent is no longer there
};

struct RowWrite {
    QString table;
    // The identity column (an insert gives its new value) and the key of an update.
    QString key = QStringLiteral("id");
    QStringList columns;
    QVariantList values = {}; // the columns' values, already converted
    // Columns no two rows may share (an update compares with the other rows), and the refusal.
    QStringList duplicateKey = {};
    QString duplicateMessage = {};
    // Checked by an insert, and by an update that writes the parent's column.
    QList<ParentDef> parents = {};
    // The window's own refusals, first in the transaction.
    std::function<QStringList()> refusals = {};
    // Further statements of the transaction, after the row was written (its key given).
    std::function<void(const QVariant &key)> after = {};
    // The activity log description; empty: no log row.
    std::function<QString()> logText = {};
};

struct WriteResult {
    enum Outcome {
        Written,
        Refused, // refusals says why
        Changed, // an update: another user changed the row since it was read
        Gone,    // an update: the row is no longer there
    };
    Outcome outcome = Refused;
    QVariant key;                    // the row written (an insert of several rows: the last)
    QStringList refusals;
    QHash<QString, QString> stored;  // an update: the columns written as now stored (lower case)
    bool written() const { return outcome == Written; }
};

// Inserts the rows in one transaction (the lock of the first one's table); a refusal of any
// writes none.
WriteResult InsertRows(AppContext &ctx, const QList<RowWrite> &rows);
WriteResult InsertRow(AppContext &ctx, const RowWrite &row);
// Updates the row `key` while its columns still hold `loaded` (lower-case column -> text as
// read; a column not in it is not compared).
WriteResult UpdateRow(AppContext &ctx, const RowWrite &row, const QVariant &key,
                      const QHash<QString, QString> &loaded = {});

// Tells a write as the registers do: each refusal, or `done` when the row was written.
void TellWrite(AppContext &ctx, QWidget *parent, const WriteResult &result, const QString &done);

// A box's text as the value of its column (db::columnValue); a refusal names the box by its
// caption. Throws db::Refusal.
QVariant BoxValue(const QString &table, const QString &column, const QString &text, const QString &caption);
