#pragma once

#include "platform/PictureButton.h"
#include "tools/WebBrowserTab.h"
#include "tools/WebView.h"
#include <QObject>

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::tools {

// Mail, route trace and the web pages.
class ToolsController : public QObject {
    Q_OBJECT
public:
    ToolsController(WebBrowserTab &tab, WebView &WebBrowser1, platform::PictureButton &Picture1, panes::MainWindowAccess &main, QObject *parent = nullptr);

private:
    panes::MainWindowAccess &m_main;
};

} // namespace talveros::tools
