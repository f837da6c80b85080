#pragma once

#include "mainwindow/Form1Ui.h"
#include "panes/MainWindowAccess.h"
#include "platform/Branding.h"
#include "platform/Services.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace talveros::messages {
class Ticker;
}

namespace talveros::mainwindow {

class MasterLists;
class StatusStripBehaviour;

// The organisation that runs the network; the window caption starts with it.
inline constexpr auto kOrganisationName = platform::kOrganisation;
inline constexpr auto kProductName = "Talveros";

// The organisation's name, two blanks, "TALVERO-beheer".
QString windowCaption();
// Product name and version, as the title line shows them.
QString titleLine();
// The text of the information box behind the title line.
QString informationText();
// The question when the window closes with an edit that could not be stored.
QString unsavedEditQuestion();
// The report when the program ends without asking (the desktop session ends) and an edit
// cannot be stored: it is lost, and the report says so before the server's reason.
QString lostEditReport(const QString &failure);

// The administrator's working window and the composition root: it holds its named
// controls (Form1Ui), runs the start-up, and wires one controller per subsystem,
// handing the features only the small interface of panes::MainWindowAccess.
class Form1 : public QWidget, public Form1Ui {
    Q_OBJECT
public:
    explicit Form1(platform::Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    platform::Services &services() const { return m_services; }
    // What the features reach of the window.
    panes::MainWindowAccess &access();

    // The start-up that fills the window from the database, once, before the window is
    // first shown.
    void load();
    bool isLoaded() const { return m_loaded; }

    // Each re-reads its source, rebuilds its look-up lists and counter as start-up
    // filled them, and leaves the source on its first row.
    void rebuildConsultantLists();
    void rebuildClientLists();
    void rebuildProjectLists();

    void tickClock();
    // Writes the pending edits of bound boxes; false (reported) when it could not.
    bool storePendingEdits();
    // The same when the program ends whatever the answer: a failure is reported as
    // the edit being lost.
    void storePendingEditsAtQuit();

    messages::Ticker *ticker = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Access;
    void wireBehaviour();

    platform::Services &m_services;
    bool m_loaded = false;
    panes::StatusStrip m_strip;
    std::unique_ptr<Access> m_access;
    std::unique_ptr<MasterLists> m_lists;
    StatusStripBehaviour *m_statusStrip = nullptr;
};

} // namespace talveros::mainwindow
