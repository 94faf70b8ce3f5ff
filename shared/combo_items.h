#pragma once
#include <QStringList>

class QComboBox;

// Replaces a combo box's list without touching what the box shows: an editable box keeps
// its typed text, a list-only box keeps its item when the new list still has it.
// No change signal of the box fires on the way.
void ReplaceComboItems(QComboBox *combo, const QStringList &items);
