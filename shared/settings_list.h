#pragma once
#include <QString>

class AppContext;
class QComboBox;

// Fills a combo box's list with the values of a value list, in the order returned;
// the combo's text is left alone.
void LoadSettingList(AppContext &ctx, const QString &listName, QComboBox *combo);
// The single value of a list (a signatory's name): cmt of the first row, empty when none.
QString SettingValue(AppContext &ctx, const QString &listName);
