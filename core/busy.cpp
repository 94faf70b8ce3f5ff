#include "core/busy.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

BusyCursor::BusyCursor()
{
    // Only the interface thread has a cursor; work on another thread shows nothing.
    QCoreApplication *app = QCoreApplication::instance();
    if (qobject_cast<QGuiApplication *>(app) && QThread::currentThread() == app->thread()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_set = true;
    }
}

BusyCursor::~BusyCursor()
{
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}
