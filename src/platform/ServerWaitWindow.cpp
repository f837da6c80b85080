#include "platform/ServerWaitWindow.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <functional>
#include <thread>

namespace talveros::platform {

namespace {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// A window closed from the desktop while an action waits would end, or ask about,
// what that action is still in the middle of; the close is refused until the wait is
// over. The wait window itself closes, which gives the wait up.
class RefuseClosing final : public QObject {
public:
    explicit RefuseClosing(const QPointer<QDialog> &allowed) : m_allowed(allowed) { qApp->installEventFilter(this); }
    ~RefuseClosing() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Close || !event->spontaneous() || !watched->isWidgetType()
            || watched == m_allowed.data())
            return false;
        event->ignore();
        return true;
    }

private:
    const QPointer<QDialog> &m_allowed;
};

// The finished call may notify from its worker at any moment until the notification is
// withdrawn, which must happen before what it posts to goes away.
class Notification {
public:
    Notification(data::ServerCall &call, QObject *receiver, std::function<void()> onFinished) : m_call(call)
    {
        call.whenFinished([receiver, onFinished = std::move(onFinished)] {
            QMetaObject::invokeMethod(receiver, onFinished, Qt::QueuedConnection);
        });
    }
    ~Notification() { m_call.whenFinished({}); }
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;

private:
    data::ServerCall &m_call;
};

QDialog *waitWindow(QWidget *parent)
{
    auto *window = new QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setObjectName(QStringLiteral("serverWait"));
    window->setWindowTitle(QString::fromLatin1(kAppTitle));
    window->setWindowModality(Qt::ApplicationModal);
    window->setMinimumWidth(280);
    auto *layout = new QVBoxLayout(window);
    auto *text = new QLabel(serverWaitText(), window);
    text->setObjectName(QStringLiteral("serverWaitText"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto *cancel = new QPushButton(QStringLiteral("Afbreken"), window);
    cancel->setObjectName(QStringLiteral("cancelWait"));
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    QObject::connect(cancel, &QPushButton::clicked, window, &QDialog::reject);
    return window;
}

} // namespace

QString serverWaitText() { return QStringLiteral("Wachten op de server\u2026"); }

void ServerWaitWindow::wait(data::ServerCall &call)
{
    if (call.finished() || !QCoreApplication::instance())
        return;
    BusyCursor busy;
    QObject receiver;
    bool finished = false;
    QEventLoop quiet;
    QPointer<QDialog> window;
    RefuseClosing refuseClosing(window);
    Notification notification(call, &receiver, [&] {
        finished = true;
        quiet.quit();
        if (window)
            window->accept();
    });

    // Input that arrives in the first moments waits its turn, as typing ahead does;
    // the call usually ends before anyone would notice the wait.
    QTimer::singleShot(m_windowDelayMs, &receiver, [&quiet] { quiet.quit(); });
    const bool loopsRun = quiet.exec(QEventLoop::ExcludeUserInputEvents) >= 0;
    bool gaveUp = false;
    if (!finished && loopsRun && !QCoreApplication::closingDown()) {
        // From here on the window stands in front of everything and takes the input; the
        // windows behind it take none until the call ends or the administrator gives up.
        window = waitWindow(QApplication::activeWindow());
        QObject::connect(window, &QDialog::rejected, &receiver, [&gaveUp] { gaveUp = true; });
        window->exec();
        delete window.data();
    }
    // Only the administrator gives a wait up. A loop that ended otherwise (the
    // application is ending, and then no loop runs any more) leaves the call to be waited
    // for here: what the program stores on its way out must not be lost for that.
    while (!gaveUp && !call.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace talveros::platform
