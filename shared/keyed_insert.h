#pragma once
// The insert of a register row behind its natural key, for windows that insert into several
// tables from boxes of their own (the progress register, the item catalogue): the duplicate
// test and the insert run in one write transaction (Tdm::writeTransaction), so two users
// inserting the same key at once get one row. Text key columns are compared as the entry
// form compares them (db::foldedSql: outer blanks trimmed, the Persian and Arabic yeh and
// kaf taken as one); stored texts stay as given.
//
//   KeyedInsert ins{"pish_items", "icod", {"pcod", "scod", "hajm"}, {pcod, scod, hajm}, {"pcod", "scod"}};
//   const QVariant icod = InsertUnlessDuplicate(ctx, ins, [&] { /* refusals: throw AppError */ });
//   if (icod.isNull()) ui->message("تكراري است");
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

class AppContext;

struct KeyedInsert {
    QString table;
    QString keyColumn;      // the identity column whose new value is returned
    QStringList columns;    // the columns inserted, in this order
    QVariantList values;    // their values (already checked against the columns)
    QStringList duplicateKey; // columns of `columns` that no two rows may share
};

// The new row's key, or a null QVariant when a row with the same natural key exists (nothing
// written). `refusals` runs first inside the transaction and refuses by throwing AppError.
QVariant InsertUnlessDuplicate(AppContext &ctx, const KeyedInsert &ins, const std::function<void()> &refusals = {});

// A box's text as the value of its column (db::columnValue: a number checked, a text no
// longer than its column); a refusal names the box by its caption. Throws InputError.
QVariant BoxValue(const QString &table, const QString &column, const QString &text, const QString &caption);
// Runs a conversion of a column's value; a refusal that names the column names the box's
// caption instead (an entry form's value() made to speak of its boxes).
QVariant CaptionedValue(const QString &column, const QString &caption, const std::function<QVariant()> &convert);
