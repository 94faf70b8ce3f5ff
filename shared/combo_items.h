#pragma once
#include <QStringList>
#include <QVariantList>

class DataSet;
class QComboBox;

// Replaces a combo box's list without touching what the box shows: an editable box keeps
// its typed text, a list-only box keeps its item when the new list still has it.
// No change signal of the box fires on the way.
void ReplaceComboItems(QComboBox *combo, const QStringList &items);

// The one "fill a combo from a query": runs `sql` with its binds on `query` and replaces the
// combo's list (ReplaceComboItems) by the first column of every row, in the order returned,
// or in Persian alphabetical order for a sorted box; the combo's text stays.
//
//   FillComboFromQuery(m_ctx.dm->ADOQuery1, ostan, "select distinct ostan from abadiha ", {}, true);
void FillComboFromQuery(DataSet *query, QComboBox *combo, const QString &sql, const QVariantList &binds = {},
                        bool sorted = false);
// The texts of one column of every row of an open dataset, in order.
QStringList ColumnTexts(const DataSet *ds, const QString &field);
