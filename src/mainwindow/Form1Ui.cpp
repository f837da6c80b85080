#include "mainwindow/Form1Ui.h"

#include "mainwindow/Form1.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabBar>
#include <QVBoxLayout>

namespace talveros::mainwindow {

std::vector<QString> Form1Ui::sourceTables()
{
    return {QStringLiteral("TALVERO_consultants"), QStringLiteral("TALVERO_opdrachtgevers"),
            QStringLiteral("TALVERO_projecten")};
}

void Form1Ui::setupUi(QWidget *form)
{
    const std::vector<QString> tables = sourceTables();
    consultantSource = new data::BoundSource(QString(), tables[0], false, form);
    clientSource = new data::BoundSource(QString(), tables[1], true, form);
    projectSource = new data::BoundSource(QString(), tables[2], true, form);

    consultantPane = new panes::ConsultantPane(form);
    clientPane = new panes::ClientPane(form);
    projectPane = new panes::ProjectPane(form);

    outerTabs = new QTabWidget(form);
    innerTabs = new QTabWidget;

    projectEntry = new registration::ProjectEntryTab;
    clientEntry = new registration::ClientEntryTab;
    consultantEntry = new registration::ConsultantEntryTab;
    presence = new messages::PresenceTab;
    innerTabs->addTab(projectEntry, QStringLiteral("NIEUW Project aanmaken"));
    innerTabs->addTab(clientEntry, QStringLiteral("Opdrachtgever aanmaken"));
    innerTabs->addTab(consultantEntry, QStringLiteral("Consultant aanmaken"));
    innerTabs->addTab(presence, QStringLiteral("Gebruikers archief"));

    auto *makePage = new QWidget;
    auto *makeLayout = new QVBoxLayout(makePage);
    makeLayout->setContentsMargins(4, 4, 4, 4);
    makeLayout->addWidget(innerTabs);

    invoicing = new invoicing::InvoicingTab;
    communication = new messages::CommunicationTab;
    webTab = new tools::WebBrowserTab;
    outerTabs->addTab(makePage, QStringLiteral("Maken/Toevoegen"));
    outerTabs->addTab(new QWidget, QStringLiteral("Mailing"));
    outerTabs->addTab(invoicing, QStringLiteral("Factureren/Printen"));
    outerTabs->addTab(communication, QStringLiteral("Communicatie"));
    outerTabs->addTab(webTab, QStringLiteral("Web browser"));
    QFont tabFont = outerTabs->tabBar()->font();
    tabFont.setBold(true);
    outerTabs->tabBar()->setFont(tabFont);

    // Created after the tab strip so that, when shown, they lie on top of it.
    webView = new tools::WebView(form);
    webView->setVisible(false);
    closeWebViewButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("window-close"), QColor(200, 40, 40), QStringLiteral("X")),
        QStringLiteral("Sluit deze WEB pagina"), form, 24);
    closeWebViewButton->setVisible(false);

    clockTimer = new QTimer(form);
    clockTimer->setInterval(100);

    auto *panes = new QHBoxLayout;
    panes->setSpacing(6);
    panes->addWidget(consultantPane, 10);
    panes->addWidget(clientPane, 11);
    panes->addWidget(projectPane, 10);

    auto *tabArea = new QGridLayout;
    tabArea->setContentsMargins(0, 0, 0, 0);
    tabArea->addWidget(outerTabs, 0, 0);
    tabArea->addWidget(webView, 0, 0);
    tabArea->addWidget(closeWebViewButton, 0, 0, Qt::AlignTop | Qt::AlignRight);

    auto *root = new QVBoxLayout(form);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(6);
    root->addLayout(panes);
    root->addLayout(tabArea, 1);
    root->addWidget(buildStatusStrip(form));

    form->resize(1270, 990);
    nameControls();
    describeControls();
    orderFocus();
}

QWidget *Form1Ui::buildStatusStrip(QWidget *form)
{
    auto *strip = new QFrame(form);
    strip->setObjectName(QStringLiteral("statusStrip"));
    strip->setFrameShape(QFrame::StyledPanel);

    titleLabel = new platform::ActionCaption(titleLine(), strip);
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);

    clock = new QLabel(QStringLiteral("Datum tijd"), strip);
    QFont clockFont(QStringLiteral("Courier New"));
    clockFont.setStyleHint(QFont::Monospace);
    clockFont.setPointSizeF(11);
    clockFont.setBold(true);
    clock->setFont(clockFont);

    printerList = new QComboBox(strip);
    printerList->setToolTip(QStringLiteral("Printer"));
    printerList->setMinimumWidth(240);
    auto *printerLabel = new QLabel(QStringLiteral("Printer"), strip);
    printerLabel->setBuddy(printerList);

    invoicingButton = new QPushButton(QStringLiteral("MAKE RECORD"), strip);
    invoicingButton->setToolTip(QStringLiteral("Naar Factureren/Printen"));
    routeTraceButton = new QPushButton(QStringLiteral("Controleer Serververbinding"), strip);

    traceBox = new QPlainTextEdit(strip);
    traceBox->setReadOnly(true);
    traceBox->setTabChangesFocus(true);
    QPalette p = traceBox->palette();
    p.setColor(QPalette::Base, QColor(0, 0, 255));
    p.setColor(QPalette::Text, Qt::white);
    traceBox->setPalette(p);
    traceBox->setFixedHeight(4 * traceBox->fontMetrics().lineSpacing() + 12);

    signOffButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("system-log-out"), QColor(200, 40, 40), QStringLiteral("Uit")),
        QStringLiteral("Afmelden en het programma beëindigen (dubbel-klik)"), strip, 32);

    auto *grid = new QGridLayout(strip);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(clock, 1, 0);
    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(printerLabel);
    printerRow->addWidget(printerList, 1);
    grid->addLayout(printerRow, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(invoicingButton);
    buttons->addWidget(routeTraceButton);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(traceBox, 0, 2, 2, 1);
    grid->addWidget(signOffButton, 0, 3, 2, 1, Qt::AlignCenter);
    grid->setColumnStretch(2, 1);
    return strip;
}

} // namespace talveros::mainwindow
