#pragma once

#include "platform/Services.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace talveros::data {
class BoundSource;
}
namespace talveros::platform {
class PictureButton;
}

namespace talveros::panes {

class ConsultantPane;
class ClientPane;
class ProjectPane;

// The strip along the bottom of the main window.
struct StatusStrip {
    QLabel *Label19 = nullptr;          // title line
    QLabel *Label46 = nullptr;          // clock
    QComboBox *Combo9 = nullptr;        // printers
    QPushButton *Command1 = nullptr;    // to the invoicing tab
    QPushButton *Command2 = nullptr;    // route trace
    QPlainTextEdit *Text143 = nullptr;  // route-trace output
    platform::PictureButton *Image13 = nullptr; // sign off and end
};

// What a feature may ask of the main window. The window hands itself in as this to
// every feature it wires, so that features never depend on the window's own code.
class MainWindowAccess {
public:
    virtual ~MainWindowAccess() = default;

    virtual platform::Services &services() = 0;
    // The window, as the parent of anything a feature opens over it.
    virtual QWidget *window() = 0;

    // The three bound sources: consultants (read only), clients, projects.
    virtual data::BoundSource &consultantSource() = 0; // Adodc1
    virtual data::BoundSource &clientSource() = 0;     // Adodc2
    virtual data::BoundSource &projectSource() = 0;    // Adodc3

    virtual ConsultantPane &consultantPane() = 0;
    virtual ClientPane &clientPane() = 0;
    virtual ProjectPane &projectPane() = 0;
    virtual StatusStrip &statusStrip() = 0;
    virtual QTabWidget &SSTab1() = 0;
    virtual QTabWidget &SSTab2() = 0;
    // The invoicing tab's project-name picker, which every project action rebuilds.
    virtual QComboBox &Combo7() = 0;

    // Each re-reads its source from the server, rebuilds its look-up lists and counter
    // exactly as start-up filled them and leaves the source on its first row:
    // consultants Combo1, Combo5, Text48; clients Combo2, Combo4, Text47; projects
    // Combo3, Combo6, Text49 (Combo7 is the project action's own business).
    virtual void rebuildConsultantLists() = 0;
    virtual void rebuildClientLists() = 0;
    virtual void rebuildProjectLists() = 0;

    // Shows beside the project source's current row its client's company and its
    // consultant's name (Text50, Text51), leaving the consultant and client panes where
    // they were.
    virtual void describeCurrentProject() = 0;

    // Writes any pending edit of a bound box; false (reported) when it could not.
    virtual bool storePendingEdits() = 0;
};

} // namespace talveros::panes
