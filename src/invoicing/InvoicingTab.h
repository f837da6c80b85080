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

    QLabel *Label1_0 = nullptr;  // "OPENSTAANDE Opdrachtgever facturen"
    QLabel *Label1_24 = nullptr; // "BETAALDE Opdrachtgever facturen "
    QLabel *Label1_25 = nullptr; // "OPENSTAANDE Consultant facturen"
    QLabel *Label1_26 = nullptr; // "BETAALDE Consultant facturen"

    QComboBox *Combo11 = nullptr; // panel 1 clients (sorted)
    QComboBox *Combo7 = nullptr;  // panel 1 projects (sorted)
    QComboBox *Combo13 = nullptr; // panel 2 clients
    QComboBox *Combo10 = nullptr; // panel 2 projects (sorted)
    QComboBox *Combo16 = nullptr; // panel 3 consultants
    QComboBox *Combo8 = nullptr;  // panel 3 projects
    QComboBox *Combo18 = nullptr; // panel 4 consultants
    QComboBox *Combo19 = nullptr; // panel 4 projects

    // Views over rows made into text as they are shown (platform/RowList.h): the
    // overview puts a few hundred thousand rows into them.
    QListView *List4 = nullptr;
    QListView *List5 = nullptr;
    QListView *List6 = nullptr;
    QListView *List7 = nullptr;

    QPushButton *Command3 = nullptr; // loads the payment overview
    std::array<platform::PictureButton *, 7> Image27{}; // each shows or hides the invoice
    platform::PictureButton *Image30 = nullptr;
    QPlainTextEdit *Text70 = nullptr; // the composed invoice, hidden at start
};

} // namespace talveros::invoicing
