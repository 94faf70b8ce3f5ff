// The reference of the start-up benchmark: a bare Qt dialog, shown and exposed, then the end.
#include <QApplication>
#include <QDialog>
#include <QWindow>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QDialog d;
    d.show();
    while (!d.windowHandle() || !d.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    return 0;
}
