#pragma once

#include "data/BoundSource.h"
#include "invoicing/InvoicingTab.h"
#include "panes/RecordPanes.h"
#include "messages/CommunicationTab.h"
#include "messages/PresenceTab.h"
#include "messages/Ticker.h"
#include "panes/MainWindowAccess.h"
#include "platform/Branding.h"
#include "platform/PictureButton.h"
#include "platform/Services.h"
#include "registration/EntryTabs.h"
#include "tools/WebBrowserTab.h"
#include "tools/WebView.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace talveros::mainwindow {

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

// The administrator's working window: three record panes across the top, the two
// nested tab strips with the tools below them, and a strip with the title line, clock,
// printer and route check at the bottom. Building it reads nothing: the bound sources
// are created closed, and the timers are left stopped for whoever wires the window.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(platform::Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    platform::Services &services() const { return m_services; }
    // What the features reach of the window.
    panes::MainWindowAccess &access();

    // Each re-reads its source, rebuilds its look-up lists and counter as start-up
    // filled them, and leaves the source on its first row.
    void rebuildConsultantLists();
    void rebuildClientLists();
    void rebuildProjectLists();

    // The start-up that fills the window from the database, once, before the window is
    // first shown; it lives with the rest of the window's behaviour, not with its
    // construction.
    void load();
    bool isLoaded() const { return m_loaded; }

    // Look-ups: bring the chosen consultant, client or project into its pane; the
    // fetch copies an existing project into the project entry screen.
    void lookUpConsultant();
    void lookUpClient();
    void lookUpProject();
    void fetchProject();

    void tickClock();
    void showInformationBox();
    // Writes a pending edit of a bound box; false (reported) when it could not.
    bool storePendingEdits();

    messages::Ticker *ticker = nullptr;

    // The three bound data sources: consultants (read only), clients, projects.
    data::BoundSource *Adodc1 = nullptr;
    data::BoundSource *Adodc2 = nullptr;
    data::BoundSource *Adodc3 = nullptr;

    panes::ConsultantPane *consultantPane = nullptr;
    panes::ClientPane *clientPane = nullptr;
    panes::ProjectPane *projectPane = nullptr;

    QTabWidget *SSTab1 = nullptr;
    QTabWidget *SSTab2 = nullptr; // on the first tab of SSTab1
    registration::ProjectEntryTab *projectEntry = nullptr;
    registration::ClientEntryTab *clientEntry = nullptr;
    registration::ConsultantEntryTab *consultantEntry = nullptr;
    messages::PresenceTab *presence = nullptr;
    invoicing::InvoicingTab *invoicing = nullptr;
    messages::CommunicationTab *communication = nullptr;
    tools::WebBrowserTab *webTab = nullptr;
    QCalendarWidget *Calendar1 = nullptr; // lives on the project entry tab

    QLabel *Label19 = nullptr; // title line
    QLabel *Label46 = nullptr; // clock
    QComboBox *Combo9 = nullptr; // printers
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPlainTextEdit *Text143 = nullptr; // route-trace output
    platform::PictureButton *Image13 = nullptr; // sign off and end

    tools::WebView *WebBrowser1 = nullptr;
    platform::PictureButton *Picture1 = nullptr; // closes the web view

    QTimer *Timer2 = nullptr; // clock tick

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    platform::Services &m_services;

private:
    QWidget *buildStatusStrip();
    void wireBehaviour();
    void fillLists();
    void fillConsultantLists();
    void fillClientLists();
    void fillProjectLists();
    void prepareTraceBox();
    // The first project's client and consultant into Text50 and Text51, the panes
    // back on their first rows.
    void describeFirstProject();
    // The current project's client into Text50 and its consultant (by name) into
    // Text51; the client and consultant panes end where they were.
    void describeProjectKeepingPanes();
    // Runs an event's action to its end; a failure ends the action, not the program.
    template <class Action>
    void act(Action &&action);

    bool m_loaded = false;
    class Access;
    std::unique_ptr<Access> m_access;
    panes::StatusStrip m_strip;
};

} // namespace talveros::mainwindow
