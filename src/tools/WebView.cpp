#include "tools/WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLibrary>
#include <QUrl>
#include <QVBoxLayout>

#ifndef TALVEROS_ENGINE_DIR
#define TALVEROS_ENGINE_DIR ""
#endif

namespace talveros::tools {

namespace {

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
