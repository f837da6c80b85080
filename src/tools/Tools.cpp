#include "tools/Tools.h"

#include "panes/MainWindowAccess.h"

namespace talveros::tools {

ToolsController::ToolsController(WebBrowserTab &, WebView &WebBrowser1, platform::PictureButton &Picture1,
                                 panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_main(main)
{
    connect(&Picture1, &platform::PictureButton::clicked, this, [&WebBrowser1, &Picture1] {
        WebBrowser1.hide();
        Picture1.hide();
    });
}

} // namespace talveros::tools
