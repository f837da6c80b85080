#include "tools/WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLibrary>
#include <QOpenGLContext>
#include <QUrl>
#include <QVBoxLayout>

#include <unistd.h>

#ifndef TALVEROS_ENGINE_DIR
#define TALVEROS_ENGINE_DIR ""
#endif

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace talveros::tools {

namespace {

// The engine shares its GL resources through the application's global share context,
// which Qt makes only when asked before the application object exists; loaded later,
// as here, the engine would find none and crash. So it gets one now, before the module
// is loaded (a context that cannot be created on this display still stands in).
void provideShareContext()
{
    if (qt_gl_global_share_context())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

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

constexpr auto kEngineModule = "talveros_webengine";
constexpr auto kEngineFactory = "talverosCreateWebPage";

QWidget *notice(const QString &why, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("Webpagina's kunnen niet worden getoond: ") + why, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

WebView::WebView(QWidget *parent) : QWidget(parent), m_factory(&WebView::loadEngine)
{
    // It lies over the tab strips when shown, so it must hide what is beneath it.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void WebView::navigate(const QString &address)
{
    m_address = address;
    if (!m_engine) {
        m_engine = m_factory(this);
        if (!m_engine)
            m_engine = notice(QStringLiteral("geen webweergave beschikbaar."), this);
        layout()->addWidget(m_engine);
    }
    // The address goes to the engine as it is: no scheme is added, nothing corrected.
    m_engine->setProperty("url", QUrl(address));
}

QWidget *WebView::loadEngine(QWidget *parent)
{
    // Beside the program when installed; in the build tree, where it was built.
    QStringList places{QCoreApplication::applicationDirPath(), QStringLiteral(TALVEROS_ENGINE_DIR)};
    prepareEngine();
    provideShareContext();
    QString failure;
    for (const QString &place : places) {
        if (place.isEmpty())
            continue;
        QLibrary module(QDir(place).filePath(QString::fromLatin1(kEngineModule)));
        if (!module.load()) {
            failure = module.errorString();
            continue;
        }
        using Factory = QWidget *(*)(QWidget *);
        if (auto factory = reinterpret_cast<Factory>(module.resolve(kEngineFactory)))
            return factory(parent);
        failure = module.errorString();
    }
    return notice(failure, parent);
}

} // namespace talveros::tools
