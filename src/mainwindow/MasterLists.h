#pragma once

#include "data/BoundSource.h"
#include "data/TextForms.h"
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
    // What a list's entries are made from: the rows, and the list as sorted the last
    // time, which a list made again after a creation only adds to.
    struct EntriesFrom {
        const data::BoundSource *rows;
        const data::SortedTexts *before;
    };
    static data::SortedTexts consultantEntries(const EntriesFrom &from);
    static data::SortedTexts clientEntries(const EntriesFrom &from);
    static data::SortedTexts projectEntries(const EntriesFrom &from);
    static QStringList show(QComboBox *lookup, QLineEdit *counter, data::SortedTexts &kept, data::SortedTexts entries);

    Sources m_sources;
    Panes m_panes;
    data::SortedTexts m_consultantEntries;
    data::SortedTexts m_clientEntries;
    data::SortedTexts m_projectEntries;
};

} // namespace talveros::mainwindow
