// The browser engine, in a module of its own so that the program loads it only when
// the first page is shown.
#include <QDir>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// Chromium refuses to run its sandbox as root, and without a render node its GPU
// process only fails and retries. Settings the administrator made stay as they are.
void prepareEngine()
{
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const bool renderNode = !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
    if (!renderNode && !qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
}

} // namespace

extern "C" Q_DECL_EXPORT QWidget *talverosCreateWebPage(QWidget *parent)
{
    prepareEngine();
    auto *view = new QWebEngineView(parent);
    view->setObjectName(QStringLiteral("WebPage"));
    return view;
}
