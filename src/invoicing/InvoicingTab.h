#pragma once

#include "platform/PictureButton.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <array>

namespace talveros::invoicing {

// "Factureren/Printen": four panels stacked top to bottom (client open, client paid,
// consultant open, consultant paid), each a heading, a name picker, a project picker
// and a fixed-pitch list; beside them the overview button and the invoice pictures.
// The invoice text lies over panels 2 to 4 while it is shown.
class InvoicingTab : public QWidget {
    Q_OBJECT
public:
    explicit InvoicingTab(QWidget *parent = nullptr);

    QLabel *unpaidClientInvoicesHeading = nullptr;
    QLabel *paidClientInvoicesHeading = nullptr;
    QLabel *unpaidConsultantInvoicesHeading = nullptr;
    QLabel *paidConsultantInvoicesHeading = nullptr;

    // Panel 1 also lists the declarations of one client or one project, the ones an
    // invoice is made of; its project names follow the project list.
    QComboBox *clientPicker = nullptr;
    QComboBox *projectNamePicker = nullptr;
    QComboBox *paidClientPicker = nullptr;
    QComboBox *paidClientProjectPicker = nullptr;
    QComboBox *unpaidConsultantPicker = nullptr;
    QComboBox *unpaidConsultantProjectPicker = nullptr;
    QComboBox *paidConsultantPicker = nullptr;
    QComboBox *paidConsultantProjectPicker = nullptr;

    // Views over rows made into text as they are shown (platform/RowList.h): the
    // overview puts a few hundred thousand rows into them.
    QListView *declarationList = nullptr;
    QListView *paidByClientsList = nullptr;
    QListView *unpaidToConsultantsList = nullptr;
    QListView *paidToConsultantsList = nullptr;

    QPushButton *paymentOverviewButton = nullptr;
    std::array<platform::PictureButton *, 7> invoiceButtons{}; // any of them shows or hides the invoice
    platform::PictureButton *invoicingEmblem = nullptr;
    QPlainTextEdit *invoiceBox = nullptr; // hidden until an invoice is composed
};

} // namespace talveros::invoicing
