#include "platform/QtAppControl.h"

#include <QApplication>
#include <QMetaObject>

namespace talveros::platform {

void QtAppControl::quit(int exitCode)
{
    m_requested = true;
    m_exitCode = exitCode;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // Closing the windows first lets each store an edit still pending in a bound box.
    if (qobject_cast<QApplication *>(app))
        QApplication::closeAllWindows();
    QCoreApplication::exit(exitCode);
    // exit() does nothing while no loop runs; the queued call reaches the loop once it
    // starts, and also comes after a quit that closing the last window may have posted.
    QMetaObject::invokeMethod(app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

} // namespace talveros::platform
