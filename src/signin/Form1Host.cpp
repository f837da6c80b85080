#include "signin/Form1Host.h"

#include "mainwindow/Form1.h"
#include "platform/Action.h"

#include <QCoreApplication>

namespace talveros::signin {

Form1Host::Form1Host(platform::Services &services) : m_services(services) {}

Form1Host::~Form1Host() = default;

mainwindow::Form1 *Form1Host::ensure()
{
    if (m_failed)
        return nullptr;
    if (!m_form) {
        // The tables are read while the window is built: it is loaded right away.
        auto form = std::make_unique<mainwindow::Form1>(m_services, mainwindow::Form1::Reads::AtOnce);
        if (!platform::runAction(m_services.dialogs, [&] { form->load(); })) {
            m_failed = true;
            m_services.app.quit(kExitStartUpFailed);
            return nullptr;
        }
        m_form = std::move(form);
        // Whatever ends the run, an edit still waiting in a bound box is stored first.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, m_form.get(),
                         [f = m_form.get()] { f->storePendingEditsAtQuit(); });
    }
    return m_form.get();
}

bool Form1Host::showPrinters(const QStringList &printers, int chosen)
{
    mainwindow::Form1 *form = ensure();
    if (form)
        form->showPrinters(printers, chosen);
    return form != nullptr;
}

void Form1Host::showMainWindow()
{
    if (mainwindow::Form1 *form = ensure())
        form->show();
}

} // namespace talveros::signin
