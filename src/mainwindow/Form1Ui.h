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
    // The tables of the consultant, client and project sources, in that order.
    static std::vector<QString> sourceTables();

    // The three bound data sources: consultants (read only), clients, projects.
    data::BoundSource *consultantSource = nullptr;
    data::BoundSource *clientSource = nullptr;
    data::BoundSource *projectSource = nullptr;

    panes::ConsultantPane *consultantPane = nullptr;
    panes::ClientPane *clientPane = nullptr;
    panes::ProjectPane *projectPane = nullptr;

    QTabWidget *outerTabs = nullptr;
    QTabWidget *innerTabs = nullptr; // on the first tab of the outer strip
    registration::ProjectEntryTab *projectEntry = nullptr;
    registration::ClientEntryTab *clientEntry = nullptr;
    registration::ConsultantEntryTab *consultantEntry = nullptr;
    messages::PresenceTab *presence = nullptr;
    invoicing::InvoicingTab *invoicing = nullptr;
    messages::CommunicationTab *communication = nullptr;
    tools::WebBrowserTab *webTab = nullptr;

    QLabel *titleLabel = nullptr;   // title line
    QLabel *clock = nullptr;   // clock
    QComboBox *printerList = nullptr; // printers
    QPushButton *invoicingButton = nullptr;
    QPushButton *routeTraceButton = nullptr;
    QPlainTextEdit *traceBox = nullptr;          // route-trace output
    platform::PictureButton *signOffButton = nullptr; // sign off and end

    tools::WebView *webView = nullptr;
    platform::PictureButton *closeWebViewButton = nullptr; // closes the web view

    QTimer *clockTimer = nullptr; // clock tick

private:
    QWidget *buildStatusStrip(QWidget *form);
    // Gives every control its form name (Form1Names.cpp).
    void nameControls();
    // What screen readers call the controls no label names by itself, and the order the
    // Tab key walks them (Form1Names.cpp).
    void describeControls();
    void orderFocus();
};

} // namespace talveros::mainwindow
