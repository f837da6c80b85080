#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace talveros::tools {

// The place where web pages are shown. The browser engine is a large library that
// costs start-up time and memory just by being loaded, so it lives in a module of its
// own that is loaded on the first page, not with the program.
class WebView : public QWidget {
    Q_OBJECT
public:
    // Makes the widget that shows pages; it takes an address through its "url"
    // property.
    using EngineFactory = std::function<QWidget *(QWidget *parent)>;

    explicit WebView(QWidget *parent = nullptr);

    void navigate(const QString &address);
    QString address() const { return m_address; }

    // The page widget, once the first page made it.
    QWidget *engine() const { return m_engine; }
    void setEngineFactory(EngineFactory factory) { m_factory = std::move(factory); }

    // The engine module's own factory, or a notice in its place when the module cannot
    // be loaded (the program goes on without pages).
    static QWidget *loadEngine(QWidget *parent);

private:
    EngineFactory m_factory;
    QPointer<QWidget> m_engine;
    QString m_address;
};

} // namespace talveros::tools
