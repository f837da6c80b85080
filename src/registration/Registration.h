#pragma once

#include "registration/EntryTabs.h"
#include <QObject>

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::registration {

// Gives the three entry screens and the project pane's delete picture their actions.
class RegistrationController : public QObject {
    Q_OBJECT
public:
    RegistrationController(ProjectEntryTab &project, ClientEntryTab &client, ConsultantEntryTab &consultant, panes::MainWindowAccess &main, QObject *parent = nullptr);

private:
    panes::MainWindowAccess &m_main;
};

} // namespace talveros::registration
