#pragma once

#include "mainwindow/Form1Ui.h"

namespace talveros::mainwindow {

// The look-up lists and counters of the three record kinds, filled from the bound
// sources' rows, and the description of a project's client and consultant.
class MasterLists {
public:
    explicit MasterLists(Form1Ui &ui) : m_ui(ui) {}

    void fillConsultantLists(); // Combo1, Combo5, Text48
    void fillClientLists();     // Combo2, Combo4, Text47
    void fillProjectLists();    // Combo3, Combo6, Text49
    // All three, their entries made side by side.
    void fillAllLists();

    // Each re-reads its source, refills its lists and leaves the source on its first row.
    void rebuildConsultantLists();
    void rebuildClientLists();
    void rebuildProjectLists();

    // The current project's client into Text50 and its consultant (by name) into
    // Text51; the client and consultant panes end where they were.
    void describeProjectKeepingPanes();

private:
    struct Entries {
        QStringList sorted; // in the program's text order
        QStringList asRead;
    };
    static Entries consultantEntries(const data::BoundSource &source);
    static Entries clientEntries(const data::BoundSource &source);
    static Entries projectEntries(const data::BoundSource &source);
    void showConsultantLists(const Entries &e);
    void showClientLists(const Entries &e);
    void showProjectLists(const Entries &e);

    Form1Ui &m_ui;
};

} // namespace talveros::mainwindow
