#pragma once

#include "platform/PictureButton.h"

#include <QString>
#include <QWidget>

namespace talveros::tools {

// "Web browser": the pictures that open the network's own site, the search engine and
// the database administration page in the window's web view.
class WebBrowserTab : public QWidget {
    Q_OBJECT
public:
    explicit WebBrowserTab(QWidget *parent = nullptr);

    // Host names the pictures name in their tool tips.
    static QString networkSiteHost();
    static QString administrationHost();

    platform::PictureButton *networkSiteButton = nullptr;
    platform::PictureButton *searchEngineButton = nullptr;
    platform::PictureButton *administrationPageButton = nullptr; // asks for a code first
};

} // namespace talveros::tools
