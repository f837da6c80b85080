#include "messages/CommunicationTab.h"

#include "platform/Colours.h"
#include "platform/PictureButton.h"
#include "platform/TextBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace talveros::messages {

QString CommunicationTab::holidayTelephoneNumber() { return QStringLiteral("020-5551234"); }

CommunicationTab::CommunicationTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("communication"));

    tickerStateHeading = new QLabel(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)"), this);
    QFont headingFont = tickerStateHeading->font();
    headingFont.setPointSizeF(11);
    headingFont.setBold(true);
    tickerStateHeading->setFont(headingFont);

    messageBox = new QLineEdit(
        QStringLiteral("BELANGRIJK: In verband met werzaamheden is het TIJDELIJK NIET MOGELIJK te declareren"), this);
    // Only the presets and the stored message may be published, never free text.
    messageBox->setReadOnly(true);
    // A stored message is MEDIUMTEXT: shown and sent again whole, however long.
    platform::limitTyping(messageBox, 0);
    messageBox->setCursorPosition(0);
    QFont messageFont = messageBox->font();
    messageFont.setPointSizeF(11);
    messageBox->setFont(messageFont);
    messageBox->setMinimumHeight(messageBox->sizeHint().height() + 8);
    QPalette p = messageBox->palette();
    p.setColor(QPalette::Base, platform::colours::kPaleRed);
    messageBox->setPalette(p);

    sendButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("user-available"), QColor(40, 160, 60), QStringLiteral(">")),
        QStringLiteral("Bericht aanzetten"), this, 32);
    sendCaption = new QLabel(QStringLiteral("Bovenstaand bericht AANZETTEN"), this);
    stopButton = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("user-busy"), QColor(200, 40, 40), QStringLiteral("[]")),
        QStringLiteral("Bericht uitzetten"), this, 32);
    stopCaption = new QLabel(QStringLiteral("Bovenstaand bericht UITZETTEN"), this);
    stopButton->setVisible(false);
    stopCaption->setVisible(false);

    presetGeneral = new QRadioButton(
        QStringLiteral("ALGEMEEN: Graag al uw openstaande declaraties uitvoeren over de vorige maand"), this);
    presetMaintenance = new QRadioButton(
        QStringLiteral("BELANGRIJK: In verband met werkzaamheden kunt u TIJDELIJK NIET DECLAREREN"), this);
    presetHoliday = new QRadioButton(
        QStringLiteral("OPMERKING: In verband met vakantie kunt u voor vragen terecht op Tel. Nr. ")
            + holidayTelephoneNumber(),
        this);

    // Start and stop share one place: only one of them is shown at a time.
    auto *switchRow = new QGridLayout;
    switchRow->setHorizontalSpacing(8);
    switchRow->addWidget(sendButton, 0, 0);
    switchRow->addWidget(stopButton, 0, 0);
    switchRow->addWidget(sendCaption, 0, 1);
    switchRow->addWidget(stopCaption, 0, 1);
    switchRow->setColumnStretch(2, 1);

    auto *presets = new QGroupBox(QStringLiteral("Standaardberichten"), this);
    auto *presetLayout = new QVBoxLayout(presets);
    presetLayout->setSpacing(8);
    presetLayout->addWidget(presetGeneral);
    presetLayout->addWidget(presetMaintenance);
    presetLayout->addWidget(presetHoliday);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(16, 12, 16, 12);
    root->setSpacing(10);
    root->addWidget(tickerStateHeading);
    root->addWidget(messageBox);
    root->addLayout(switchRow);
    root->addSpacing(10);
    root->addWidget(presets);
    root->addStretch(1);
}

} // namespace talveros::messages
