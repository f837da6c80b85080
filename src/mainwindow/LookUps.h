#pragma once

#include "mainwindow/Form1Ui.h"
#include "mainwindow/MasterLists.h"
#include "platform/Dialogs.h"

#include <QObject>

namespace talveros::mainwindow {

// Choosing in a look-up list brings the chosen consultant, client or project into its
// pane; choosing an existing project on the project entry screen copies it there.
class LookUps : public QObject {
    Q_OBJECT
public:
    LookUps(Form1Ui &ui, MasterLists &lists, platform::Dialogs &dialogs, QObject *parent = nullptr);

    void lookUpConsultant();
    void lookUpClient();
    void lookUpProject();
    void fetchProject();

private:
    Form1Ui &m_ui;
    MasterLists &m_lists;
};

} // namespace talveros::mainwindow
