#include "invoicing/InvoicingTab.h"

#include "platform/Colours.h"
#include "platform/ListBox.h"
#include "platform/PictureButton.h"
#include "platform/RowList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace talveros::invoicing {

namespace {

using namespace platform::colours;
const QColor kRed(255, 0, 0);
const QColor kDarkGreen(0, 128, 0);

// The rows are blank-padded columns; only a fixed-pitch face keeps them lined up.
QFont fixedPitchFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(8.25);
    return f;
}

QLabel *panelHeading(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QComboBox *picker(QWidget *parent, const QString &designText, const QColor &colour)
{
    QComboBox *combo = platform::captionedList(parent, QString(), designText, colour);
    combo->setMinimumWidth(200);
    platform::findAsYouType(combo);
    return combo;
}

QListView *panelList(QWidget *parent, const QColor &background, const QColor &text, bool multiSelect)
{
    QListView *list = platform::rowList(parent, QString(), fixedPitchFont(), background, text, multiSelect);
    list->setMinimumHeight(60);
    return list;
}

} // namespace

InvoicingTab::InvoicingTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("invoicing"));

    unpaidClientInvoicesHeading = panelHeading(this, QStringLiteral("OPENSTAANDE Opdrachtgever facturen"));
    clientPicker = picker(this, QStringLiteral("Opdrachtgevers"), kYellow);
    projectNamePicker = picker(this, QStringLiteral("NOG TE DECLAREREN"), kCyan);
    declarationList = panelList(this, kLightYellow, kRed, true);

    paidClientInvoicesHeading = panelHeading(this, QStringLiteral("BETAALDE Opdrachtgever facturen "));
    paidClientPicker = picker(this, QStringLiteral("Opdrachtgevers"), kYellow);
    paidClientProjectPicker = picker(this, QStringLiteral("AL GEDECLAREERD"), kCyan);
    paidByClientsList = panelList(this, kLightYellow, kDarkGreen, false);

    unpaidConsultantInvoicesHeading = panelHeading(this, QStringLiteral("OPENSTAANDE Consultant facturen"));
    unpaidConsultantPicker = picker(this, QStringLiteral("Consultants"), kGreen);
    unpaidConsultantProjectPicker = picker(this, QStringLiteral("NOG TE DECLAREREN"), kCyan);
    unpaidToConsultantsList = panelList(this, kLightGreen, kRed, true);

    paidConsultantInvoicesHeading = panelHeading(this, QStringLiteral("BETAALDE Consultant facturen"));
    paidConsultantPicker = picker(this, QStringLiteral("Consultants"), kGreen);
    paidConsultantProjectPicker = picker(this, QStringLiteral("AL GEDECLAREERD"), kCyan);
    paidToConsultantsList = panelList(this, kLightGreen, kDarkGreen, false);

    // The caption the button has always carried; its tool tip says what it does.
    paymentOverviewButton = new QPushButton(QStringLiteral("Command3"), this);
    paymentOverviewButton->setToolTip(QStringLiteral("Betaaloverzicht van alle declaraties laden"));

    invoicingEmblem = new platform::PictureButton(
        QString(),
        platform::themedIcon(QStringLiteral("x-office-spreadsheet"), QColor(40, 140, 60), QStringLiteral("\u20ac")),
        QStringLiteral("Declaraties, facturen en betalingen"), this, 44);
    invoicingEmblem->setFocusPolicy(Qt::NoFocus); // decoration

    const QIcon invoiceIcon =
        platform::themedIcon(QStringLiteral("document-print-preview"), QColor(40, 110, 200), QStringLiteral("F"));
    for (auto &button : invoiceButtons)
        button = new platform::PictureButton(
            QString(), invoiceIcon,
            QStringLiteral("Factuur van de geselecteerde OPENSTAANDE regels tonen / verbergen"), this, 28);

    // Hidden until an invoice is composed; the text it has always started with stays.
    invoiceBox = new QPlainTextEdit(QStringLiteral("Text70"), this);
    invoiceBox->setFont(fixedPitchFont());
    invoiceBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    invoiceBox->setVisible(false);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const struct {
        QLabel *heading;
        QComboBox *names;
        QComboBox *projects;
        QListView *list;
    } panels[] = {{unpaidClientInvoicesHeading, clientPicker, projectNamePicker, declarationList},
                  {paidClientInvoicesHeading, paidClientPicker, paidClientProjectPicker, paidByClientsList},
                  {unpaidConsultantInvoicesHeading, unpaidConsultantPicker, unpaidConsultantProjectPicker,
                   unpaidToConsultantsList},
                  {paidConsultantInvoicesHeading, paidConsultantPicker, paidConsultantProjectPicker,
                   paidToConsultantsList}};
    int row = 0;
    for (const auto &panel : panels) {
        grid->addWidget(panel.heading, row, 0);
        grid->addWidget(panel.names, row, 1);
        grid->addWidget(panel.projects, row, 2);
        grid->addWidget(panel.list, row + 1, 0, 1, 3);
        grid->setRowStretch(row + 1, 1);
        row += 2;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    // Over panels 2 to 4, on top of their lists.
    grid->addWidget(invoiceBox, 2, 0, 6, 3);

    auto *side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(invoicingEmblem, 0, Qt::AlignHCenter);
    side->addWidget(paymentOverviewButton);
    side->addSpacing(10);
    auto *invoiceCaption = new QLabel(QStringLiteral("Factuur tonen /\nverbergen"), this);
    invoiceCaption->setAlignment(Qt::AlignCenter);
    side->addWidget(invoiceCaption);
    auto *pictures = new QGridLayout;
    pictures->setSpacing(4);
    for (int i = 0; i < int(invoiceButtons.size()); ++i)
        pictures->addWidget(invoiceButtons[size_t(i)], i / 2, i % 2, Qt::AlignCenter);
    side->addLayout(pictures);
    side->addStretch(1);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(10);
    root->addLayout(grid, 1);
    root->addLayout(side, 0);
}

} // namespace talveros::invoicing
