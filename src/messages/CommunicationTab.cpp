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

    Label9 = new QLabel(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)"), this);
    Label9->setObjectName(QStringLiteral("Label9"));
    QFont headingFont = Label9->font();
    headingFont.setPointSizeF(11);
    headingFont.setBold(true);
    Label9->setFont(headingFont);

    Text144 = new QLineEdit(
        QStringLiteral("BELANGRIJK: In verband met werzaamheden is het TIJDELIJK NIET MOGELIJK te declareren"), this);
    Text144->setObjectName(QStringLiteral("Text144"));
    // Only the presets and the stored message may be published, never free text.
    Text144->setReadOnly(true);
    // A stored message is MEDIUMTEXT: shown and sent again whole, however long.
    platform::limitTyping(Text144, 0);
    Text144->setCursorPosition(0);
    QFont messageFont = Text144->font();
    messageFont.setPointSizeF(11);
    Text144->setFont(messageFont);
    Text144->setMinimumHeight(Text144->sizeHint().height() + 8);
    QPalette p = Text144->palette();
    p.setColor(QPalette::Base, platform::colours::kPaleRed);
    Text144->setPalette(p);

    Image25 = new platform::PictureButton(
        QStringLiteral("Image25"),
        platform::themedIcon(QStringLiteral("user-available"), QColor(40, 160, 60), QStringLiteral(">")),
        QStringLiteral("Bericht aanzetten"), this, 32);
    Label11 = new QLabel(QStringLiteral("Bovenstaand bericht AANZETTEN"), this);
    Label11->setObjectName(QStringLiteral("Label11"));
    Image26 = new platform::PictureButton(
        QStringLiteral("Image26"),
        platform::themedIcon(QStringLiteral("user-busy"), QColor(200, 40, 40), QStringLiteral("[]")),
        QStringLiteral("Bericht uitzetten"), this, 32);
    Label12 = new QLabel(QStringLiteral("Bovenstaand bericht UITZETTEN"), this);
    Label12->setObjectName(QStringLiteral("Label12"));
    Image26->setVisible(false);
    Label12->setVisible(false);

    Option1 = new QRadioButton(
        QStringLiteral("ALGEMEEN: Graag al uw openstaande declaraties uitvoeren over de vorige maand"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(
        QStringLiteral("BELANGRIJK: In verband met werkzaamheden kunt u TIJDELIJK NIET DECLAREREN"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3 = new QRadioButton(
        QStringLiteral("OPMERKING: In verband met vakantie kunt u voor vragen terecht op Tel. Nr. ")
            + holidayTelephoneNumber(),
        this);
    Option3->setObjectName(QStringLiteral("Option3"));

    // Start and stop share one place: only one of them is shown at a time.
    auto *switchRow = new QGridLayout;
    switchRow->setHorizontalSpacing(8);
    switchRow->addWidget(Image25, 0, 0);
    switchRow->addWidget(Image26, 0, 0);
    switchRow->addWidget(Label11, 0, 1);
    switchRow->addWidget(Label12, 0, 1);
    switchRow->setColumnStretch(2, 1);

    auto *presets = new QGroupBox(QStringLiteral("Standaardberichten"), this);
    auto *presetLayout = new QVBoxLayout(presets);
    presetLayout->setSpacing(8);
    presetLayout->addWidget(Option1);
    presetLayout->addWidget(Option2);
    presetLayout->addWidget(Option3);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(16, 12, 16, 12);
    root->setSpacing(10);
    root->addWidget(Label9);
    root->addWidget(Text144);
    root->addLayout(switchRow);
    root->addSpacing(10);
    root->addWidget(presets);
    root->addStretch(1);
}

} // namespace talveros::messages
