#pragma once

#include "platform/PictureButton.h"
#include "tools/WebBrowserTab.h"
#include "tools/WebView.h"

#include <QObject>
#include <QString>

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::tools {

// Mail, route trace and the web pages.
class ToolsController : public QObject {
    Q_OBJECT
public:
    // `view` shows the pages over the tab strip, and `closeView` hides it again.
    ToolsController(WebBrowserTab &tab, WebView &view, platform::PictureButton &closeView,
                    panes::MainWindowAccess &main, QObject *parent = nullptr);

    // The client pane's mail picture: a new mail to the network's mailbox in the desktop's mail program.
    void composeMail();
    void showInvoicingTab();
    // The route to the network's site into the window's route-trace box. Asked again
    // while a trace runs, it does nothing.
    void traceRoute();
    bool tracing() const { return m_tracing; }
    // The last trace exactly as written; the route-trace box shows it with its own line
    // breaks.
    QString traceText() const { return m_traceText; }

    // The consultant and client panes' web site pictures: the site stored with the consultant
    // or client shown, when one is.
    void showConsultantSite();
    void showClientSite();
    // The database administration page, behind its access code.
    void openAdministrationPage();
    void showPage(const QString &address);

private:
    // A stored web site: nothing when empty, a box instead of a page when it is no web
    // address.
    void showSite(const QString &site);

    WebView &m_view;
    platform::PictureButton &m_closeView;
    panes::MainWindowAccess &m_main;
    bool m_tracing = false;
    QString m_traceText;
};

} // namespace talveros::tools
