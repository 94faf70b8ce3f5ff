// The reference of the report benchmarks as a program of its own: the 1,000-row report's cells
// drawn straight with QPainter on a QPdfWriter (pdf_straight.h). Usage: pdf_reference OUT.pdf
#include "pdf_straight.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    return pdf_straight::write(QString::fromLocal8Bit(argv[1])) > 0 ? 0 : 1;
}
