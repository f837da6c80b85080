#pragma once

#include "data/TextForms.h"
#include "invoicing/InvoicingTab.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QAction;

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::invoicing {

class OutstandingChart;

// Gives the invoicing tab its actions, keeps its project-name picker with the project
// list, and flips the shown project's closing flag when the window asks.
class InvoicingController : public QObject {
    Q_OBJECT
public:
    InvoicingController(InvoicingTab &tab, panes::MainWindowAccess &main, QObject *parent = nullptr);

    void showClientDeclarations();
    void showProjectDeclarations();
    void toggleInvoice();
    void loadPaymentOverview();
    // The project pane's closing flag, double-clicked on its picture or its caption.
    void toggleProjectClosing();
    void printInvoice();
    void saveInvoiceAsPdf();
    // The outstanding money as a chart, in its own window: opened, or brought forward
    // and drawn anew when it is open already.
    void showOutstandingChart();

    // The invoice as its lines, as the invoice box shows them now.
    QStringList invoiceLinesShown() const;

private:
    // The shown invoice's lines; empty (after telling why) when there is nothing to put
    // on paper.
    QStringList linesToOutput();
    void showInvoiceMenu(const QPoint &at);
    // The project-name picker from the project source's names, in text order;
    // `dropRepeats` removes names equal to the one before them.
    void fillProjectNames(bool dropRepeats);

    InvoicingTab &m_tab;
    panes::MainWindowAccess &m_main;
    QAction *m_print = nullptr;
    QAction *m_savePdf = nullptr;
    QAction *m_chart = nullptr;
    QPointer<OutstandingChart> m_chartWindow;
    // The names as sorted the last time, which the next fill adds to.
    data::SortedTexts m_projectNames;
};

} // namespace talveros::invoicing
