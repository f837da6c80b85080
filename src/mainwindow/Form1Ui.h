#pragma once

#include "data/BoundSource.h"
#include "invoicing/InvoicingTab.h"
#include "messages/CommunicationTab.h"
#include "messages/PresenceTab.h"
#include "panes/RecordPanes.h"
#include "platform/PictureButton.h"
#include "registration/EntryTabs.h"
#include "tools/WebBrowserTab.h"
#include "tools/WebView.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <vector>

namespace talveros::mainwindow {

// Every named control of the main window, built into the window by setupUi and doing
// nothing yet: three record panes across the top, the two nested tab strips with the
// tools below them, and a strip with the title line, clock, printer and route check at
// the bottom. The bound sources are created closed and the timer stopped; the window's
// behaviour lives in controllers that are handed the parts they need.
struct Form1Ui {
    void setupUi(QWidget *form);
    // The tables of Adodc1, Adodc2 and Adodc3, in that order.
    static std::vector<QString> sourceTables();

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

    QLabel *Label19 = nullptr;   // title line
    QLabel *Label46 = nullptr;   // clock
    QComboBox *Combo9 = nullptr; // printers
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPlainTextEdit *Text143 = nullptr;          // route-trace output
    platform::PictureButton *Image13 = nullptr; // sign off and end

    tools::WebView *WebBrowser1 = nullptr;
    platform::PictureButton *Picture1 = nullptr; // closes the web view

    QTimer *Timer2 = nullptr; // clock tick

private:
    QWidget *buildStatusStrip(QWidget *form);
    // Gives every control its form name (Form1Names.cpp).
    void nameControls();
};

} // namespace talveros::mainwindow
