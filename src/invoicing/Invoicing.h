#pragma once

#include "invoicing/InvoicingTab.h"

#include <QObject>
#include <QStringList>

class QAction;

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::invoicing {

// Gives the invoicing tab and the project pane's closing flag their actions.
class InvoicingController : public QObject {
    Q_OBJECT
public:
    InvoicingController(InvoicingTab &tab, panes::MainWindowAccess &main, QObject *parent = nullptr);

    void showClientDeclarations();  // Combo11 chosen
    void showProjectDeclarations(); // Combo7 chosen
    void toggleInvoice();           // any Image27
    void loadPaymentOverview();     // Command3
    void toggleProjectClosing();    // double-click on Image12 or Label62
    void printInvoice();
    void saveInvoiceAsPdf();

    // The invoice as its lines, as Text70 shows them now.
    QStringList invoiceLinesShown() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <class Action>
    void act(Action &&action);
    // The shown invoice's lines; empty (after telling why) when there is nothing to put
    // on paper.
    QStringList linesToOutput();
    void showInvoiceMenu(const QPoint &at);

    InvoicingTab &m_tab;
    panes::MainWindowAccess &m_main;
    QObject *m_label62 = nullptr;
    QAction *m_print = nullptr;
    QAction *m_savePdf = nullptr;
};

} // namespace talveros::invoicing
