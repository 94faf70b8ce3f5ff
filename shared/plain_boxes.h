#pragma once
// Boxes of the windows that lay out their own few boxes (several small forms in one window):
// named edit boxes, free-text combo boxes, buttons that Enter does not press, caption/box
// pairs, and the change of a combo's text by the user (typed or picked from its list, never
// by the program).
#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <initializer_list>
#include <utility>

class QGridLayout;
class QPushButton;

QLineEdit *MakeLineBox(QWidget *parent, const char *name);
QComboBox *MakeFreeCombo(QWidget *parent, const char *name);
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption);
// Caption and box pairs, `perRow` a row; each caption is named after its box + "_lbl".
QGridLayout *CaptionedPairs(QWidget *parent, std::initializer_list<std::pair<const char *, QWidget *>> items, int perRow);
// Runs fn when the user changes the combo's text.
void OnUserChange(QComboBox *combo, QObject *owner, const std::function<void()> &fn);
