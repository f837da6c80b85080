#pragma once

#include <functional>

#include "registration/EntryTabs.h"
#include <QObject>

class QComboBox;

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::registration {

// Gives the three entry screens and the window's request to delete the shown project
// their actions, and keeps the screen's pickers filled from the window's sources.
class RegistrationController : public QObject {
    Q_OBJECT
public:
    RegistrationController(ProjectEntryTab &project, ClientEntryTab &client, ConsultantEntryTab &consultant,
                           panes::MainWindowAccess &main, QObject *parent = nullptr);

    void createConsultant();
    void createClient();
    void composeProjectCode();
    void pickPlanningDate(bool start);
    void createProject();
    void deleteProject();
    // The project chosen among the existing ones, copied into the entry screen.
    void fetchProject();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The summary asked with Yes/No under `title`; on anything but Yes, `declined` is
    // said and nothing is created.
    bool confirmed(const QString &summary, const QString &title, const QString &declined);
    void reportStored(const std::function<void()> &refresh, const QString &result);

    ProjectEntryTab &m_project;
    ClientEntryTab &m_client;
    ConsultantEntryTab &m_consultant;
    panes::MainWindowAccess &m_main;
    bool m_picking = false;
};

} // namespace talveros::registration
