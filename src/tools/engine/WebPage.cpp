// The browser engine, in a module of its own so that the program loads it only when
// the first page is shown.
#include <QWebEngineView>

extern "C" Q_DECL_EXPORT QWidget *talverosCreateWebPage(QWidget *parent)
{
    auto *view = new QWebEngineView(parent);
    view->setObjectName(QStringLiteral("WebPage"));
    return view;
}
