#include "tools/WebView.h"

#include <QVBoxLayout>

namespace talveros::tools {

WebView::WebView(QWidget *parent) : QWidget(parent)
{
    // It lies over the tab strips when shown, so it must hide what is beneath it.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void WebView::navigate(const QString &address) { m_address = address; }

} // namespace talveros::tools
