#include "tools/Tools.h"

#include "data/BoundSource.h"
#include "panes/MainWindowAccess.h"
#include "platform/Action.h"
#include "platform/TextBox.h"
#include "tools/Addresses.h"
#include "tools/RouteTrace.h"
#include "tools/ToolTexts.h"

#include <QCoreApplication>
#include <QPointer>

namespace talveros::tools {

ToolsController::ToolsController(WebBrowserTab &tab, WebView &view, platform::PictureButton &closeView,
                                 panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_view(view), m_closeView(closeView), m_main(main)
{
    connect(&closeView, &platform::PictureButton::clicked, this, [&view, &closeView] {
        view.hide();
        closeView.hide();
    });

    using Main = panes::MainWindowAccess;
    connect(&main, &Main::invoicingTabAsked, this, [this] { m_main.act([this] { showInvoicingTab(); }); });
    connect(&main, &Main::routeTraceAsked, this, &ToolsController::traceRoute);
    connect(&main, &Main::mailAsked, this, [this] { m_main.act([this] { composeMail(); }); });
    connect(&main, &Main::consultantSiteAsked, this, [this] { m_main.act([this] { showConsultantSite(); }); });
    connect(&main, &Main::clientSiteAsked, this, [this] { m_main.act([this] { showClientSite(); }); });
    connect(tab.networkSiteButton, &platform::PictureButton::clicked, this,
            [this] { m_main.act([this] { showPage(addresses::networkPage()); }); });
    connect(tab.searchEngineButton, &platform::PictureButton::clicked, this,
            [this] { m_main.act([this] { showPage(addresses::searchEngine()); }); });
    connect(tab.administrationPageButton, &platform::PictureButton::clicked, this,
            [this] { m_main.act([this] { openAdministrationPage(); }); });
}

void ToolsController::composeMail()
{
    const QString address = mailtoAddress(addresses::mailbox(), mailSubject(), mailBody());
    // The desktop may take seconds to answer; the window does not wait for it.
    QPointer<ToolsController> self(this);
    m_main.services().shell.open(address, [self](bool opened) {
        if (self && !opened)
            self->m_main.services().dialogs.message(mailNotOpened(), QString::fromLatin1(platform::kAppTitle),
                                                    platform::Icon::Exclamation, platform::Buttons::Ok);
    });
}

void ToolsController::showInvoicingTab() { m_main.showTab(panes::Tab::Invoicing); }

void ToolsController::traceRoute()
{
    if (m_tracing)
        return;
    // The window keeps working between hops, so anything may happen to it meanwhile;
    // the trace holds on to nothing that may have gone.
    QPointer<ToolsController> self(this);
    QPointer<panes::MainWindowAccess> main(&m_main);
    QPointer<QWidget> window(m_main.window());
    const bool windowShown = window && window->isVisible();

    m_tracing = true;
    m_main.setTraceRunning(true);
    TraceOutput output;
    output.show = [&](const QString &text) {
        if (self)
            self->m_traceText = text;
        if (main)
            main->showTrace(text);
    };
    output.betweenHops = [&] {
        QCoreApplication::processEvents();
        // A window closed during the trace ends it; otherwise the program would stay
        // behind unseen for up to 255 requests.
        const bool windowGone = windowShown && (!window || !window->isVisible());
        return self && main && !windowGone && !QCoreApplication::closingDown();
    };
    platform::Dialogs &dialogs = m_main.services().dialogs;
    platform::IcmpEcho &icmp = m_main.services().icmp;
    platform::runAction(dialogs, [&] { tools::traceRoute(icmp, dialogs, addresses::networkSiteHost(), output); });
    if (self)
        m_tracing = false;
    if (main)
        main->setTraceRunning(false);
}

void ToolsController::showPage(const QString &address)
{
    m_view.show();
    m_view.raise();
    m_view.navigate(address);
    m_closeView.show();
    m_closeView.raise();
}

void ToolsController::showSite(const QString &site)
{
    if (site.isEmpty())
        return;
    if (!opensAsWebPage(site)) {
        m_main.services().dialogs.message(siteNotOpened(site), QString::fromLatin1(platform::kAppTitle),
                                          platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    showPage(site);
}

void ToolsController::showConsultantSite() { showSite(m_main.consultantSource().field(u"WEBSITE")); }

void ToolsController::showClientSite() { showSite(m_main.clientSource().field(u"WEBSITE")); }

void ToolsController::openAdministrationPage()
{
    platform::Dialogs &dialogs = m_main.services().dialogs;
    const std::optional<QString> code = dialogs.input(administrationPrompt(addresses::administrationHost()),
                                                      QString::fromLatin1(platform::kAppTitle), QString());
    if (code && *code == administrationCode())
        showPage(addresses::administrationPage());
    else
        dialogs.inform(administrationRefused());
}

} // namespace talveros::tools
