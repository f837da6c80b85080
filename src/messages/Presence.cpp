#include "messages/Presence.h"

#include "panes/MainWindowAccess.h"

namespace talveros::messages {

PresenceController::PresenceController(PresenceTab &, panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_main(main)
{
}

} // namespace talveros::messages
