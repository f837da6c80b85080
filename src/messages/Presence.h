#pragma once

#include "messages/PresenceTab.h"

#include <QObject>
#include <QString>

#include <exception>
#include <memory>

class QListWidget;

namespace talveros::data {
class BoundSource;
}
namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::messages {

// Re-reads both sources and lays out one sorted presence line a person in each list;
// both sources end on their first row. A presence column without a value throws the
// data error that names the person, leaving the list it would have filled as it was.
void refreshPresenceLists(data::BoundSource &consultants, data::BoundSource &clients, QListWidget &consultantList,
                          QListWidget &clientList);

// Presence lists, live tracking and the sign-off picture.
class PresenceController : public QObject {
    Q_OBJECT
public:
    PresenceController(PresenceTab &tab, panes::MainWindowAccess &main, QObject *parent = nullptr);

    // What starts a refresh. A tick or the tab strip's focus comes again and again on
    // its own, so the same failure is reported to it once, not at every arrival.
    enum class Trigger { Picture, Focus, Tick };
    // False when it did not run to its end (failed, or another refresh was running).
    bool refresh(Trigger trigger);

public slots:
    void tick();
    void signOff();

private:
    struct ServerProbe;
    // False while the server could not be reached and has not been seen answering since.
    bool serverMayAnswer();
    // Notes the failure; true when it is the one already reported to a trigger that
    // comes on its own.
    bool isRepeated(Trigger trigger, const std::exception &e);

    // Shows the indicator at once, not when the event loop next gets to it: the sound
    // that follows holds the window.
    void showIndicator(bool shown);

    PresenceTab &m_tab;
    panes::MainWindowAccess &m_main;
    bool m_busy = false;
    QString m_lastFailure; // reported, and not reported again to a tick or focus
    std::shared_ptr<ServerProbe> m_probe; // set while the server cannot be reached
};

} // namespace talveros::messages
