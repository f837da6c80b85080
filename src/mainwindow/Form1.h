#pragma once

#include "platform/Branding.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace talveros::data {
class StartedReads;
}
namespace talveros::platform {
struct Services;
}
namespace talveros::panes {
class MainWindowAccess;
}
namespace talveros::messages {
class Ticker;
}

namespace talveros::mainwindow {

struct Form1Ui;
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

// The administrator's working window and the composition root: it owns its named
// controls (Form1Ui), runs the start-up, and wires one controller per subsystem. Each
// controller gets its own tab and the small interface of panes::MainWindowAccess; the
// window turns its panes' pictures and strip buttons into that interface's requests.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // When the window reads its three tables: when it is loaded, or from the moment it
    // is made, so that building it and reading them go side by side (for a window that
    // is loaded right after; one made without a server to read from waits for load()).
    enum class Reads { WhenLoaded, AtOnce };
    explicit Form1(platform::Services &services, Reads reads = Reads::WhenLoaded, QWidget *parent = nullptr);
    ~Form1() override;

    platform::Services &services() const { return m_services; }
    // What the features reach of the window.
    panes::MainWindowAccess &access();

    // The start-up that fills the window from the database, once, before the window is
    // first shown.
    void load();
    bool isLoaded() const { return m_loaded; }

    // The installed printers into the printer list, `chosen` (an index, or -1 for none)
    // selected: the sign-in window finds them, the list is the window's.
    void showPrinters(const QStringList &printers, int chosen);

    void tickClock();
    // Writes the pending edits of bound boxes; false (reported) when it could not.
    bool storePendingEdits();
    // The same, and when one could not be stored, asks `question`: Yes lets the edits go
    // (true), No keeps them (false).
    bool storePendingEditsOrLetGo(const QString &question);
    // The same when the program ends whatever the answer: a failure is reported as
    // the edit being lost.
    void storePendingEditsAtQuit();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Access;
    void wireBehaviour();
    // The panes' pictures and the strip's buttons, as requests of the features.
    void forwardRequests();

    platform::Services &m_services;
    std::shared_ptr<data::StartedReads> m_reads;
    std::unique_ptr<Form1Ui> m_ui;
    bool m_loaded = false;
    std::unique_ptr<Access> m_access;
    std::unique_ptr<MasterLists> m_lists;
    StatusStripBehaviour *m_statusStrip = nullptr;
    messages::Ticker *m_ticker = nullptr;
    // What the window watches for the features' requests.
    QObject *m_closingFlagHint = nullptr;
    QObject *m_tabStrip = nullptr;
    QObject *m_tabBar = nullptr;
};

} // namespace talveros::mainwindow
