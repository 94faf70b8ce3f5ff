#include "shared/combo_items.h"

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
