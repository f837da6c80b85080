#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <initializer_list>

namespace talveros::platform {

// The text of the label that stands for `control` (a label under the same parent that
// has it as buddy), without mnemonic marks; empty when there is none.
QString captionOf(const QWidget *control);

// What a screen reader says of a control the window's labels do not name by themselves:
// a box beside a caption it shares with another, a list under a heading, a picture
// whose caption stands apart. An empty description leaves the tool tip to describe it.
struct Spoken {
    QWidget *control;
    QString name;
    QString description = {};
};
void speak(std::initializer_list<Spoken> controls);

// Tab walks `controls` in this order. One that takes no focus at all is passed over:
// Qt would not place it, nor the one after it.
void chainFocus(const QList<QWidget *> &controls);

} // namespace talveros::platform
