#pragma once

#include "platform/PictureButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

namespace talveros::messages {

// "Gebruikers archief": who of the clients and consultants is signed in, and when they
// last signed in and off; clients above consultants, each list under its column header.
class PresenceTab : public QWidget {
    Q_OBJECT
public:
    explicit PresenceTab(QWidget *parent = nullptr);

    platform::PictureButton *Image9 = nullptr; // refresh (double-click) and live-tracking indicator
    QLabel *Label89 = nullptr;
    QLineEdit *Text114 = nullptr; // header above the clients
    QListWidget *List3 = nullptr; // clients
    QLineEdit *Text115 = nullptr; // header above the consultants
    QListWidget *List2 = nullptr; // consultants
    QCheckBox *Check1 = nullptr;  // live tracking on/off
    QTimer *Timer1 = nullptr;     // live-tracking tick; whoever wires it starts it
};

} // namespace talveros::messages
