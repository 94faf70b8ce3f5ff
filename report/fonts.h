#pragma once
// The layouts name the typefaces the forms were designed with (Tahoma, Titr, B Zar, ...);
// one table maps each onto an installed Persian family.
#include "report/layout.h"

#include <QFont>
#include <QString>

namespace report {

// Painter units of the renderer: hundredths of a millimetre.
constexpr double kUnitsPerMm = 100.0;

// The installed family that stands for a layout's typeface: the table's family when it is
// installed, else the fallback (Nazli), else the name itself for the system to resolve.
QString installedFamily(const QString &layoutFamily);

// The QFont of a layout font, sized in renderer units (a pixel size of hundredths of a millimetre,
// so that text measures the same on the screen, a printer and a PDF).
QFont makeFont(const FontSpec &font);

} // namespace report
