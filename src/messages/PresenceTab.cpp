#include "messages/PresenceTab.h"

#include "messages/PresenceLines.h"

#include "platform/Colours.h"
#include "platform/PictureButton.h"
#include "platform/TextBox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace talveros::messages {

namespace {

QFont fixedPitchFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(8.25);
    return f;
}

QLineEdit *columnHeader(QWidget *parent, const QString &text, const QColor &background)
{
    auto *header = new QLineEdit(text, parent);
    header->setReadOnly(true);
    platform::limitTyping(header, 0);
    header->setFocusPolicy(Qt::NoFocus);
    header->setFont(fixedPitchFont());
    header->setCursorPosition(0);
    QPalette p = header->palette();
    p.setColor(QPalette::Base, background);
    header->setPalette(p);
    return header;
}

QListWidget *presenceList(QWidget *parent, const QColor &background)
{
    auto *list = new QListWidget(parent);
    list->setFont(fixedPitchFont());
    list->setUniformItemSizes(true);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, background);
    list->setPalette(p);
    return list;
}

} // namespace

PresenceTab::PresenceTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("presence"));

    trackingIndicator = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("system-users"), QColor(40, 110, 200), QStringLiteral("ON")),
        QStringLiteral("Dubbel-klik om de lijsten te verversen"), this, 44);
    // Its blink must not shift the caption beside it.
    QSizePolicy keepsPlace = trackingIndicator->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    trackingIndicator->setSizePolicy(keepsPlace);
    presenceHeading = new QLabel(QStringLiteral("Inlog / Uitlog en online gegevens"), this);
    QFont f = presenceHeading->font();
    f.setPointSizeF(11);
    f.setBold(true);
    presenceHeading->setFont(f);
    liveTrackingBox = new QCheckBox(QStringLiteral("10 seconden live tracking Aan/Uit"), this);

    clientColumnsHeader = columnHeader(this, clientPresenceHeader(), platform::colours::kYellow);
    clientPresenceList = presenceList(this, platform::colours::kLightYellow);
    consultantColumnsHeader = columnHeader(this, consultantPresenceHeader(), platform::colours::kGreen);
    consultantPresenceList = presenceList(this, platform::colours::kLightGreen);

    presenceTimer = new QTimer(this);
    presenceTimer->setInterval(7800);
    // A coarse timer may fire up to 5 % late; the ticks keep their 7.8 s.
    presenceTimer->setTimerType(Qt::PreciseTimer);

    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(trackingIndicator);
    top->addWidget(presenceHeading);
    top->addStretch(1);
    top->addWidget(liveTrackingBox);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(0);
    root->addLayout(top);
    root->addSpacing(6);
    root->addWidget(clientColumnsHeader);
    root->addWidget(clientPresenceList, 1);
    root->addSpacing(8);
    root->addWidget(consultantColumnsHeader);
    root->addWidget(consultantPresenceList, 1);
}

} // namespace talveros::messages
