#pragma once
// Pieces shared by the two bitumen entry forms.
#include <QLabel>
#include <QVariant>
#include <functional>

class QGridLayout;
class QGroupBox;
class QWidget;

namespace ghirentry {

// Kinds of box on the entry forms.
enum class Kind { Combo, Date, TodayDate, Money, Edit, Computed, Year, Hidden, Coord };

// A box of the given kind, named, right-aligned (numbers and dates sit on the right like
// the Persian texts); a hidden kind is a label that is never shown.
QWidget *makeBox(Kind kind, const QString &objectName, QWidget *parent);
// Sets a box's text as the openers do (a money box shows the stored amount's integer part).
void setBoxText(QWidget *box, const QString &text);
// A box's text as it is written (a masked box reads its unfilled places as blanks).
QString boxText(const QWidget *box);

// A caption label that runs an action when it is clicked (fills today's date or
// rounds its box).
class TClickLabel : public QLabel {
public:
    TClickLabel(const QString &caption, QWidget *parent, std::function<void()> onClick);

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    std::function<void()> m_onClick;
};

// The value bound for a ghir column from a box text: numeric columns as numbers
// (empty 0), text columns as the text (never NULL). Throws InputError.
QVariant columnValue(const QString &column, const QString &text);

// The value of a text column that holds a number read by the formulas: an empty text
// stays empty; otherwise it must be a number, kept as typed when it is plain Latin
// digits and written with "." and Latin digits otherwise. Throws InputError.
QVariant numberTextValue(const QString &column, const QString &text);

// A bold section caption over a grid of caption/box pairs; the boxes keep the
// window's normal font.
QGroupBox *section(const QString &objectName, const QString &caption, QWidget *parent, QGridLayout **grid);
// Restores the normal font on every child of a section (call after filling it).
void plainChildren(QGroupBox *box);

// Window flags of the entry forms: a modal dialog with the system menu only.
void setEntryWindow(QWidget *w, const QString &objectName, const QString &caption);

} // namespace ghirentry
