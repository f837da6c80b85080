#pragma once

#include "mainwindow/MasterLists.h"
#include "platform/Dialogs.h"

#include <QObject>

namespace talveros::mainwindow {

// Choosing in a pane's look-up list brings the chosen consultant, client or project into
// the pane.
class LookUps : public QObject {
    Q_OBJECT
public:
    LookUps(const Sources &sources, const Panes &panes, platform::Dialogs &dialogs, QObject *parent = nullptr);

    void lookUpConsultant();
    void lookUpClient();
    void lookUpProject();

private:
    Sources m_sources;
    Panes m_panes;
};

} // namespace talveros::mainwindow
