#pragma once

#include <QString>
#include <QWidget>

namespace talveros::tools {

// The place where web pages are shown. The browser engine inside it is expensive to
// start, so it is created on the first page, not with the window; until then the view
// only remembers where it was sent.
class WebView : public QWidget {
    Q_OBJECT
public:
    explicit WebView(QWidget *parent = nullptr);

    void navigate(const QString &address);
    QString address() const { return m_address; }

private:
    QString m_address;
};

} // namespace talveros::tools
