#pragma once
// The layouts name the typefaces the forms were designed with (Tahoma, Titr, B Zar, ...);
// one table maps each onto an installed formal Persian face, with a Latin face for Latin words
// inside a Persian line and a size that matches the original's look. Whatever the face, every
// figure prints in Persian digits.
#include "report/layout.h"

#include <QFont>
#include <QString>

namespace report {

// Painter units of the renderer: hundredths of a millimetre.
constexpr double kUnitsPerMm = 100.0;

struct Face {
    QString family;          // installed family for the Persian text
    QString latin;           // installed family for Latin letters the first one lacks (may be empty)
    double scale = 1.0;      // size of the substitute against the layout's size
};

// The installed face that stands for a layout's typeface: the table's first installed
// candidate, else Nazli, else the name itself for the system to resolve.
Face faceFor(const QString &layoutFamily);
QString installedFamily(const QString &layoutFamily);

// The QFont of a layout font, sized in renderer units (a pixel size of hundredths of a millimetre,
// so that text measures the same on the screen, a printer and a PDF).
QFont makeFont(const FontDef &font);

// A text as a printed page shows it: every figure in Persian digits (Latin and Arabic-Indic
// digits become Persian ones) with the Persian decimal sign "٫" between its digits, where a
// point would read as the Persian zero. A Latin word keeps its own digits ("mc2").
QString persianFigures(const QString &text);

// The line box of a font, in renderer units: the room above and below the baseline that its
// letters take (tall letters with their marks, letters reaching below the line). Lines are set
// at a fixed leading over it, whatever the font file declares (some Arabic faces reserve room
// for stacked marks that a letter never uses).
struct LineBox {
    double ascent = 0, descent = 0;
};
LineBox lineBox(const QFont &font);
// Distance between the baselines of two lines set with a line box.
double lineSpacing(const LineBox &box);

} // namespace report
