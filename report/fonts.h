#pragma once
// The layouts name the typefaces the forms were designed with (Tahoma, Titr, B Zar, ...);
// one table maps each onto an installed formal Persian face, with a Latin face for Latin words
// inside a Persian line, a size that matches the original's look, and the digits it drew:
// Latin digits in Tahoma, Persian digits in the Persian faces.
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
    bool persianDigits = true;
};

// The installed face that stands for a layout's typeface: the table's first installed
// candidate, else Nazli, else the name itself for the system to resolve.
Face faceFor(const QString &layoutFamily);
QString installedFamily(const QString &layoutFamily);

// The QFont of a layout font, sized in renderer units (a pixel size of hundredths of a millimetre,
// so that text measures the same on the screen, a printer and a PDF).
QFont makeFont(const FontSpec &font);

// A text as the layout's face printed it: Latin digits become Persian digits in a Persian face.
QString withFaceDigits(const QString &text, const FontSpec &font);

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
