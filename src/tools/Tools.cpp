#include "tools/Tools.h"

#include "panes/MainWindowAccess.h"
#include "panes/RecordPanes.h"
#include "platform/Action.h"
#include "platform/TextBox.h"
#include "tools/Addresses.h"
#include "tools/RouteTrace.h"
#include "tools/ToolTexts.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace talveros::tools {

namespace {
constexpr int kInvoicingTab = 2;
}

ToolsController::ToolsController(WebBrowserTab &tab, WebView &WebBrowser1, platform::PictureButton &Picture1,
                                 panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_view(WebBrowser1), m_closeView(Picture1), m_main(main)
{
    connect(&Picture1, &platform::PictureButton::clicked, this, [&WebBrowser1, &Picture1] {
        WebBrowser1.hide();
        Picture1.hide();
    });

    const auto &strip = main.statusStrip();
    // Hop lines stand in tab columns; a bar wrapped onto a line of its own would break
    // them, so long lines scroll instead.
    strip.Text143->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(strip.Command1, &QPushButton::clicked, this, [this] { act([this] { showInvoicingTab(); }); });
    connect(strip.Command2, &QPushButton::clicked, this, &ToolsController::traceRoute);
    connect(main.clientPane().Image18, &platform::PictureButton::clicked, this,
            [this] { act([this] { composeMail(); }); });

    connect(main.consultantPane().Image16, &platform::PictureButton::clicked, this,
            [this] { act([this] { showConsultantSite(); }); });
    connect(main.clientPane().Image1, &platform::PictureButton::clicked, this,
            [this] { act([this] { showClientSite(); }); });
    connect(tab.Image15, &platform::PictureButton::clicked, this,
            [this] { act([this] { showPage(addresses::networkPage()); }); });
    connect(tab.Image3, &platform::PictureButton::clicked, this,
            [this] { act([this] { showPage(addresses::searchEngine()); }); });
    connect(tab.Image2, &platform::PictureButton::clicked, this, [this] { act([this] { openAdministrationPage(); }); });
}

template <class Action>
void ToolsController::act(Action &&action)
{
    platform::runAction(m_main.services().dialogs, std::forward<Action>(action));
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

void ToolsController::showInvoicingTab() { m_main.SSTab1().setCurrentIndex(kInvoicingTab); }

void ToolsController::traceRoute()
{
    if (m_tracing)
        return;
    // The window keeps working between hops, so anything may happen to it meanwhile;
    // the trace holds on to nothing that may have gone.
    QPointer<ToolsController> self(this);
    QPointer<QPushButton> button(m_main.statusStrip().Command2);
    QPointer<QPlainTextEdit> box(m_main.statusStrip().Text143);
    QPointer<QWidget> window(m_main.window());
    const bool windowShown = window && window->isVisible();

    m_tracing = true;
    if (button)
        button->setEnabled(false);
    TraceOutput output;
    output.show = [&](const QString &text) {
        if (self)
            self->m_traceText = text;
        if (box) {
            box->setPlainText(text);
            box->moveCursor(QTextCursor::End);
            box->repaint();
        }
    };
    output.betweenHops = [&] {
        QCoreApplication::processEvents();
        // A window closed during the trace ends it; otherwise the program would stay
        // behind unseen for up to 255 requests.
        const bool windowGone = windowShown && (!window || !window->isVisible());
        return self && box && !windowGone && !QCoreApplication::closingDown();
    };
    platform::Dialogs &dialogs = m_main.services().dialogs;
    platform::IcmpEcho &icmp = m_main.services().icmp;
    platform::runAction(dialogs, [&] { tools::traceRoute(icmp, dialogs, addresses::networkSiteHost(), output); });
    if (self)
        m_tracing = false;
    if (button)
        button->setEnabled(true);
}

void ToolsController::showPage(const QString &address)
{
    m_view.show();
    m_view.raise();
    m_view.navigate(address);
    m_closeView.show();
    m_closeView.raise();
}

void ToolsController::showConsultantSite()
{
    const QString site = platform::boxText(m_main.consultantPane().Text127);
    if (!site.isEmpty())
        showPage(site);
}

void ToolsController::showClientSite()
{
    const QString site = platform::boxText(m_main.clientPane().Text123);
    if (!site.isEmpty())
        showPage(site);
}

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
