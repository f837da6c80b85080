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

QLineEdit *columnHeader(QWidget *parent, const QString &name, const QString &text, const QColor &background)
{
    auto *header = new QLineEdit(text, parent);
    header->setObjectName(name);
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

QListWidget *presenceList(QWidget *parent, const QString &name, const QColor &background)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
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

    Image9 = new platform::PictureButton(
        QStringLiteral("Image9"),
        platform::themedIcon(QStringLiteral("system-users"), QColor(40, 110, 200), QStringLiteral("ON")),
        QStringLiteral("Dubbel-klik om de lijsten te verversen"), this, 44);
    // Its blink must not shift the caption beside it.
    QSizePolicy keepsPlace = Image9->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    Image9->setSizePolicy(keepsPlace);
    Label89 = new QLabel(QStringLiteral("Inlog / Uitlog en online gegevens"), this);
    Label89->setObjectName(QStringLiteral("Label89"));
    QFont f = Label89->font();
    f.setPointSizeF(11);
    f.setBold(true);
    Label89->setFont(f);
    Check1 = new QCheckBox(QStringLiteral("10 seconden live tracking Aan/Uit"), this);
    Check1->setObjectName(QStringLiteral("Check1"));

    Text114 = columnHeader(
        this, QStringLiteral("Text114"),
        clientPresenceHeader(), platform::colours::kYellow);
    List3 = presenceList(this, QStringLiteral("List3"), platform::colours::kLightYellow);
    Text115 = columnHeader(
        this, QStringLiteral("Text115"),
        consultantPresenceHeader(), platform::colours::kGreen);
    List2 = presenceList(this, QStringLiteral("List2"), platform::colours::kLightGreen);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(7800);
    // A coarse timer may fire up to 5 % late; the ticks keep their 7.8 s.
    Timer1->setTimerType(Qt::PreciseTimer);

    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(Image9);
    top->addWidget(Label89);
    top->addStretch(1);
    top->addWidget(Check1);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(0);
    root->addLayout(top);
    root->addSpacing(6);
    root->addWidget(Text114);
    root->addWidget(List3, 1);
    root->addSpacing(8);
    root->addWidget(Text115);
    root->addWidget(List2, 1);
}

} // namespace talveros::messages
