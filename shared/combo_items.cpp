#include "shared/combo_items.h"

#include "core/dataset.h"
#include "shared/persian.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

void ReplaceComboItems(QComboBox *combo, const QStringList &items)
{
    if (!combo)
        return;
    const QString shown = combo->currentText();
    const QSignalBlocker blockCombo(combo);
    QLineEdit *edit = combo->lineEdit();
    const QSignalBlocker blockEdit(edit);
    const int cursor = edit ? edit->cursorPosition() : 0;
    combo->clear();
    combo->addItems(items);
    if (edit) {
        combo->setCurrentIndex(-1);
        edit->setText(shown);
        edit->setCursorPosition(cursor);
    } else {
        combo->setCurrentIndex(combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
}

QStringList ColumnTexts(const DataSet *ds, const QString &field)
{
    QStringList out;
    out.reserve(ds->recordCount());
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

void FillComboFromQuery(DataSet *query, QComboBox *combo, const QString &sql, const QVariantList &binds, bool sorted)
{
    query->open(sql, binds);
    QStringList items;
    if (!query->fieldNames().isEmpty())
        items = ColumnTexts(query, query->fieldNames().first());
    if (sorted)
        std::stable_sort(items.begin(), items.end(),
                         [](const QString &a, const QString &b) { return persianCompare(a, b) < 0; });
    ReplaceComboItems(combo, items);
}
