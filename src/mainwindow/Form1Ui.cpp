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
    Adodc1 = new data::BoundSource(QStringLiteral("Adodc1"), tables[0], false, form);
    Adodc2 = new data::BoundSource(QStringLiteral("Adodc2"), tables[1], true, form);
    Adodc3 = new data::BoundSource(QStringLiteral("Adodc3"), tables[2], true, form);

    consultantPane = new panes::ConsultantPane(form);
    clientPane = new panes::ClientPane(form);
    projectPane = new panes::ProjectPane(form);

    SSTab1 = new QTabWidget(form);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab2 = new QTabWidget;
    SSTab2->setObjectName(QStringLiteral("SSTab2"));

    projectEntry = new registration::ProjectEntryTab;
    clientEntry = new registration::ClientEntryTab;
    consultantEntry = new registration::ConsultantEntryTab;
    presence = new messages::PresenceTab;
    SSTab2->addTab(projectEntry, QStringLiteral("NIEUW Project aanmaken"));
    SSTab2->addTab(clientEntry, QStringLiteral("Opdrachtgever aanmaken"));
    SSTab2->addTab(consultantEntry, QStringLiteral("Consultant aanmaken"));
    SSTab2->addTab(presence, QStringLiteral("Gebruikers archief"));
    Calendar1 = projectEntry->calendar;

    auto *makePage = new QWidget;
    auto *makeLayout = new QVBoxLayout(makePage);
    makeLayout->setContentsMargins(4, 4, 4, 4);
    makeLayout->addWidget(SSTab2);

    invoicing = new invoicing::InvoicingTab;
    communication = new messages::CommunicationTab;
    webTab = new tools::WebBrowserTab;
    SSTab1->addTab(makePage, QStringLiteral("Maken/Toevoegen"));
    SSTab1->addTab(new QWidget, QStringLiteral("Mailing"));
    SSTab1->addTab(invoicing, QStringLiteral("Factureren/Printen"));
    SSTab1->addTab(communication, QStringLiteral("Communicatie"));
    SSTab1->addTab(webTab, QStringLiteral("Web browser"));
    QFont tabFont = SSTab1->tabBar()->font();
    tabFont.setBold(true);
    SSTab1->tabBar()->setFont(tabFont);

    // Created after the tab strip so that, when shown, they lie on top of it.
    WebBrowser1 = new tools::WebView(form);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setVisible(false);
    Picture1 = new platform::PictureButton(
        QStringLiteral("Picture1"),
        platform::themedIcon(QStringLiteral("window-close"), QColor(200, 40, 40), QStringLiteral("X")),
        QStringLiteral("Sluit deze WEB pagina"), form, 24);
    Picture1->setVisible(false);

    Timer2 = new QTimer(form);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(100);

    auto *panes = new QHBoxLayout;
    panes->setSpacing(6);
    panes->addWidget(consultantPane, 10);
    panes->addWidget(clientPane, 11);
    panes->addWidget(projectPane, 10);

    auto *tabArea = new QGridLayout;
    tabArea->setContentsMargins(0, 0, 0, 0);
    tabArea->addWidget(SSTab1, 0, 0);
    tabArea->addWidget(WebBrowser1, 0, 0);
    tabArea->addWidget(Picture1, 0, 0, Qt::AlignTop | Qt::AlignRight);

    auto *root = new QVBoxLayout(form);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(6);
    root->addLayout(panes);
    root->addLayout(tabArea, 1);
    root->addWidget(buildStatusStrip(form));

    form->resize(1270, 990);
    nameControls();
}

QWidget *Form1Ui::buildStatusStrip(QWidget *form)
{
    auto *strip = new QFrame(form);
    strip->setObjectName(QStringLiteral("statusStrip"));
    strip->setFrameShape(QFrame::StyledPanel);

    Label19 = new QLabel(titleLine(), strip);
    Label19->setObjectName(QStringLiteral("Label19"));
    QFont titleFont = Label19->font();
    titleFont.setBold(true);
    Label19->setFont(titleFont);

    Label46 = new QLabel(QStringLiteral("Datum tijd"), strip);
    Label46->setObjectName(QStringLiteral("Label46"));
    QFont clockFont(QStringLiteral("Courier New"));
    clockFont.setStyleHint(QFont::Monospace);
    clockFont.setPointSizeF(11);
    clockFont.setBold(true);
    Label46->setFont(clockFont);

    Combo9 = new QComboBox(strip);
    Combo9->setObjectName(QStringLiteral("Combo9"));
    Combo9->setToolTip(QStringLiteral("Printer"));
    Combo9->setMinimumWidth(240);
    auto *printerLabel = new QLabel(QStringLiteral("Printer"), strip);
    printerLabel->setBuddy(Combo9);

    Command1 = new QPushButton(QStringLiteral("MAKE RECORD"), strip);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Naar Factureren/Printen"));
    Command2 = new QPushButton(QStringLiteral("Controleer Serververbinding"), strip);
    Command2->setObjectName(QStringLiteral("Command2"));

    Text143 = new QPlainTextEdit(strip);
    Text143->setObjectName(QStringLiteral("Text143"));
    Text143->setReadOnly(true);
    Text143->setTabChangesFocus(true);
    QPalette p = Text143->palette();
    p.setColor(QPalette::Base, QColor(0, 0, 255));
    p.setColor(QPalette::Text, Qt::white);
    Text143->setPalette(p);
    Text143->setFixedHeight(4 * Text143->fontMetrics().lineSpacing() + 12);

    Image13 = new platform::PictureButton(
        QStringLiteral("Image13"),
        platform::themedIcon(QStringLiteral("system-log-out"), QColor(200, 40, 40), QStringLiteral("Uit")),
        QStringLiteral("Afmelden en het programma beëindigen (dubbel-klik)"), strip, 32);

    auto *grid = new QGridLayout(strip);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(Label19, 0, 0);
    grid->addWidget(Label46, 1, 0);
    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(printerLabel);
    printerRow->addWidget(Combo9, 1);
    grid->addLayout(printerRow, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(Text143, 0, 2, 2, 1);
    grid->addWidget(Image13, 0, 3, 2, 1, Qt::AlignCenter);
    grid->setColumnStretch(2, 1);
    return strip;
}

} // namespace talveros::mainwindow
