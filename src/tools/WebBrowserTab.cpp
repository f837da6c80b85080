#include "tools/WebBrowserTab.h"

#include "platform/PictureButton.h"
#include "tools/Addresses.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace talveros::tools {

QString WebBrowserTab::networkSiteHost() { return addresses::networkSiteHost(); }
QString WebBrowserTab::administrationHost() { return addresses::administrationHost(); }

WebBrowserTab::WebBrowserTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("webTab"));

    networkSiteButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("emblem-web"), QColor(40, 110, 200), QStringLiteral("K")), networkSiteHost(),
        this, 44);
    searchEngineButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("system-search"), QColor(60, 140, 220), QStringLiteral("G")),
        QStringLiteral("Google Website"), this, 44);
    administrationPageButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("network-server"), QColor(120, 120, 120), QStringLiteral("DB")),
        QStringLiteral("PHP Myadmin op ") + administrationHost(), this, 44);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    const struct {
        platform::PictureButton *picture;
        QString caption;
    } rows[] = {{networkSiteButton, QStringLiteral("De website van het netwerk (%1)").arg(networkSiteHost())},
                {searchEngineButton, QStringLiteral("Zoeken met Google")},
                {administrationPageButton,
                 QStringLiteral("Databasebeheer met PHP Myadmin (%1), met paswoord").arg(administrationHost())}};
    int row = 0;
    for (const auto &r : rows) {
        grid->addWidget(r.picture, row, 0);
        auto *label = new QLabel(r.caption, this);
        label->setBuddy(r.picture);
        grid->addWidget(label, row, 1);
        ++row;
    }
    grid->setColumnStretch(2, 1);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(16, 16, 16, 16);
    root->addLayout(grid);
    root->addStretch(1);
}

} // namespace talveros::tools
