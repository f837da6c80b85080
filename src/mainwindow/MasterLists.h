#pragma once

#include "data/BoundSource.h"
#include "panes/MainWindowAccess.h"
#include "panes/RecordPanes.h"

#include <QStringList>

namespace talveros::mainwindow {

// The three bound sources, in the order the window reads them.
struct Sources {
    data::BoundSource *consultants = nullptr;
    data::BoundSource *clients = nullptr;
    data::BoundSource *projects = nullptr;
};

// The record panes, which show the sources' current rows.
struct Panes {
    panes::ConsultantPane *consultants = nullptr;
    panes::ClientPane *clients = nullptr;
    panes::ProjectPane *projects = nullptr;
};

// The panes' look-up lists and counters, filled from the bound sources' rows, and the
// description of a project's client and consultant. Each fill gives back the entries
// in the table's order, for the pickers of the tabs.
class MasterLists {
public:
    MasterLists(const Sources &sources, const Panes &panes) : m_sources(sources), m_panes(panes) {}

    struct Listed {
        QStringList consultants; // consultant list entries
        QStringList clients;     // client list entries
        QStringList projects;    // project codes
    };
    QStringList fillConsultantLists();
    QStringList fillClientLists();
    QStringList fillProjectLists();
    // All three, their entries made side by side.
    Listed fillAllLists();

    // Each re-reads its source, refills its lists and leaves the source on its first row.
    QStringList rebuildConsultantLists();
    QStringList rebuildClientLists();
    QStringList rebuildProjectLists();

    // The current project's client company and consultant (by name), shown beside it;
    // the client and consultant panes end where they were.
    panes::ProjectParties describeProjectKeepingPanes();

private:
    struct Entries {
        QStringList sorted; // in the program's text order
        QStringList asRead;
    };
    static Entries consultantEntries(const data::BoundSource &source);
    static Entries clientEntries(const data::BoundSource &source);
    static Entries projectEntries(const data::BoundSource &source);
    static QStringList show(QComboBox *lookup, QLineEdit *counter, Entries entries);

    Sources m_sources;
    Panes m_panes;
};

} // namespace talveros::mainwindow
