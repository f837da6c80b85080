#pragma once

#include "messages/PresenceTab.h"
#include <QObject>

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::messages {

// Presence lists, live tracking and the sign-off picture.
class PresenceController : public QObject {
    Q_OBJECT
public:
    PresenceController(PresenceTab &tab, panes::MainWindowAccess &main, QObject *parent = nullptr);

private:
    panes::MainWindowAccess &m_main;
};

} // namespace talveros::messages
