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

QLabel *panelHeading(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QComboBox *picker(QWidget *parent, const QString &name, const QString &designText, const QColor &colour, bool sorted)
{
    QComboBox *combo = platform::captionedList(parent, name, designText, colour, sorted);
    combo->setMinimumWidth(200);
    platform::findAsYouType(combo);
    return combo;
}

QListView *panelList(QWidget *parent, const QString &name, const QColor &background, const QColor &text,
                     bool multiSelect)
{
    QListView *list = platform::rowList(parent, name, fixedPitchFont(), background, text, multiSelect, true);
    list->setMinimumHeight(60);
    return list;
}

} // namespace

InvoicingTab::InvoicingTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("invoicing"));

    Label1_0 = panelHeading(this, QStringLiteral("Label1_0"), QStringLiteral("OPENSTAANDE Opdrachtgever facturen"));
    Combo11 = picker(this, QStringLiteral("Combo11"), QStringLiteral("Opdrachtgevers"), kYellow, true);
    Combo7 = picker(this, QStringLiteral("Combo7"), QStringLiteral("NOG TE DECLAREREN"), kCyan, true);
    List4 = panelList(this, QStringLiteral("List4"), kLightYellow, kRed, true);

    Label1_24 = panelHeading(this, QStringLiteral("Label1_24"), QStringLiteral("BETAALDE Opdrachtgever facturen "));
    Combo13 = picker(this, QStringLiteral("Combo13"), QStringLiteral("Opdrachtgevers"), kYellow, false);
    Combo10 = picker(this, QStringLiteral("Combo10"), QStringLiteral("AL GEDECLAREERD"), kCyan, true);
    List5 = panelList(this, QStringLiteral("List5"), kLightYellow, kDarkGreen, false);

    Label1_25 = panelHeading(this, QStringLiteral("Label1_25"), QStringLiteral("OPENSTAANDE Consultant facturen"));
    Combo16 = picker(this, QStringLiteral("Combo16"), QStringLiteral("Consultants"), kGreen, false);
    Combo8 = picker(this, QStringLiteral("Combo8"), QStringLiteral("NOG TE DECLAREREN"), kCyan, false);
    List6 = panelList(this, QStringLiteral("List6"), kLightGreen, kRed, true);

    Label1_26 = panelHeading(this, QStringLiteral("Label1_26"), QStringLiteral("BETAALDE Consultant facturen"));
    Combo18 = picker(this, QStringLiteral("Combo18"), QStringLiteral("Consultants"), kGreen, false);
    Combo19 = picker(this, QStringLiteral("Combo19"), QStringLiteral("AL GEDECLAREERD"), kCyan, false);
    List7 = panelList(this, QStringLiteral("List7"), kLightGreen, kDarkGreen, false);

    Command3 = new QPushButton(QStringLiteral("Command3"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setToolTip(QStringLiteral("Betaaloverzicht van alle declaraties laden"));

    Image30 = new platform::PictureButton(
        QStringLiteral("Image30"),
        platform::themedIcon(QStringLiteral("x-office-spreadsheet"), QColor(40, 140, 60), QStringLiteral("\u20ac")),
        QStringLiteral("Declaraties, facturen en betalingen"), this, 44);

    const QIcon invoiceIcon =
        platform::themedIcon(QStringLiteral("document-print-preview"), QColor(40, 110, 200), QStringLiteral("F"));
    for (auto &picture : Image27)
        picture = new platform::PictureButton(
            QStringLiteral("Image27"), invoiceIcon,
            QStringLiteral("Factuur van de geselecteerde OPENSTAANDE regels tonen / verbergen"), this, 28);

    Text70 = new QPlainTextEdit(QStringLiteral("Text70"), this);
    Text70->setObjectName(QStringLiteral("Text70"));
    Text70->setFont(fixedPitchFont());
    Text70->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text70->setVisible(false);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const struct {
        QLabel *heading;
        QComboBox *names;
        QComboBox *projects;
        QListView *list;
    } panels[] = {{Label1_0, Combo11, Combo7, List4},
                  {Label1_24, Combo13, Combo10, List5},
                  {Label1_25, Combo16, Combo8, List6},
                  {Label1_26, Combo18, Combo19, List7}};
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
    grid->addWidget(Text70, 2, 0, 6, 3);

    auto *side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(Image30, 0, Qt::AlignHCenter);
    side->addWidget(Command3);
    side->addSpacing(10);
    auto *invoiceCaption = new QLabel(QStringLiteral("Factuur tonen /\nverbergen"), this);
    invoiceCaption->setAlignment(Qt::AlignCenter);
    side->addWidget(invoiceCaption);
    auto *pictures = new QGridLayout;
    pictures->setSpacing(4);
    for (int i = 0; i < int(Image27.size()); ++i)
        pictures->addWidget(Image27[size_t(i)], i / 2, i % 2, Qt::AlignCenter);
    side->addLayout(pictures);
    side->addStretch(1);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(10);
    root->addLayout(grid, 1);
    root->addLayout(side, 0);
}

} // namespace talveros::invoicing
