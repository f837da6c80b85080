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

    // Double-clicked, it refreshes both lists; live tracking blinks it at every tick.
    platform::PictureButton *trackingIndicator = nullptr;
    QLabel *presenceHeading = nullptr;
    QLineEdit *clientColumnsHeader = nullptr;
    QListWidget *clientPresenceList = nullptr;
    QLineEdit *consultantColumnsHeader = nullptr;
    QListWidget *consultantPresenceList = nullptr;
    QCheckBox *liveTrackingBox = nullptr;
    QTimer *presenceTimer = nullptr; // whoever wires the tab starts it
};

} // namespace talveros::messages
