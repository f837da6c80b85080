#pragma once

#include "platform/Action.h"
#include "platform/Services.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>

class QWidget;

namespace talveros::data {
class BoundSource;
}

namespace talveros::panes {

// The tabs of the main window's outer strip that a feature may bring forward.
enum class Tab { Invoicing = 2 };

// How the project list changed: a creation leaves names that repeat once in the
// project-name picker, a deletion leaves them as the table holds them.
enum class ProjectListChange { Created, Deleted };

// The client company and consultant name the window shows beside a project.
struct ProjectParties {
    QString clientCompany;
    QString consultantName;
};

// What a feature may ask of the main window, and what the window tells the features.
// Features see data (the bound sources) and what the window does for them, never
// another feature's or the window's own controls: the window turns its panes' pictures
// and strip buttons into the requests below.
class MainWindowAccess : public QObject {
    Q_OBJECT
public:
    virtual platform::Services &services() = 0;
    // The window, as the parent of anything a feature opens over it.
    virtual QWidget *window() = 0;

    // The three bound sources: consultants (read only), clients, projects. Values are
    // read from their current rows, and looked up without moving them (rowWhere).
    virtual data::BoundSource &consultantSource() = 0;
    virtual data::BoundSource &clientSource() = 0;
    virtual data::BoundSource &projectSource() = 0;

    // Each re-reads its source from the server, rebuilds its look-up lists and counter
    // exactly as start-up filled them and leaves the source on its first row; the
    // entries go out again as consultantsListed, clientsListed or projectsListed, and
    // a changed project list as projectListChanged.
    virtual void rebuildConsultantLists() = 0;
    virtual void rebuildClientLists() = 0;
    virtual void rebuildProjectLists(ProjectListChange change) = 0;
    // Shows beside the project source's current row its client's company and its
    // consultant's name, leaving the consultant and client panes where they were, and
    // gives back what it shows.
    virtual ProjectParties describeCurrentProject() = 0;

    // Writes the pending edits of the bound boxes. When one cannot be stored (the box
    // has said why), asks `question` (Yes lets the edits go); false when the
    // administrator keeps them, and whatever was to follow should not.
    virtual bool storePendingEditsOrLetGo(const QString &question) = 0;

    // Runs one action of a feature the way every event handler runs: a failure ends it
    // with its box, never the program. False when it failed.
    template <class Action>
    bool act(Action &&action)
    {
        return platform::runAction(services().dialogs, std::forward<Action>(action));
    }

    virtual void showTab(Tab tab) = 0;
    // The printer chosen in the window's printer list; empty when none is.
    virtual QString chosenPrinter() const = 0;
    // The printer to print on: the chosen one, or, when none is chosen, empty after a box
    // that says so.
    QString printerOrSayNone()
    {
        const QString printer = chosenPrinter();
        if (printer.isEmpty())
            services().dialogs.message(QStringLiteral("Er is geen printer gekozen."),
                                       QString::fromLatin1(platform::kAppTitle), platform::Icon::Exclamation,
                                       platform::Buttons::Ok);
        return printer;
    }
    // Drops from the printer list every name equal to the one just before it.
    virtual void dropRepeatedPrinters() = 0;
    // The route-trace box at the bottom of the window: its text, shown at once, and
    // whether a trace is running (its button then waits). Both outlive nothing: once the
    // window is gone they do nothing.
    virtual void showTrace(const QString &text) = 0;
    virtual void setTraceRunning(bool running) = 0;

signals:
    // The window's own pictures and buttons, as requests of the features.
    void deleteProjectAsked();     // the project pane's delete picture, double-click
    void closingFlipAsked();       // the closing flag's picture or its hint, double-click
    void consultantSiteAsked();    // the consultant pane's web site picture
    void clientSiteAsked();        // the client pane's web site picture
    void mailAsked();              // the client pane's mail picture
    void invoicingTabAsked();      // the status strip's button to the invoicing tab
    void routeTraceAsked();        // the status strip's server check button
    void signOffAsked();           // the status strip's sign-off picture, double-click
    // The administrator went to the inner tab strip.
    void tabStripEntered();

    // The project source was read again after the project table changed.
    void projectListChanged(talveros::panes::ProjectListChange change);
    // A source's rows, read again or at start-up, as the entries of the look-up lists in
    // the table's order: for the pickers a feature keeps of its own.
    void consultantsListed(const QStringList &entries);
    void clientsListed(const QStringList &entries);
    void projectsListed(const QStringList &codes);
};

} // namespace talveros::panes
