#include "registration/EntryTabs.h"

#include "platform/Colours.h"
#include "platform/ListBox.h"
#include "platform/PictureButton.h"
#include "platform/TextBox.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace talveros::registration {

namespace {

const QString kConfirmHint = QStringLiteral("Controleren en vragen om bevestiging");
const QString kDateHint = QStringLiteral("KLIK om de huidig geselecteerde Datum in te vullen");
const QString kDatePictureCaption = QStringLiteral("<< dubbel-klik vult de datum in >>");

// Wide enough for `chars` typical characters, so a box shows how much it takes.
void sizeForChars(QWidget *box, int chars)
{
    box->setFixedWidth(box->fontMetrics().averageCharWidth() * (chars + 1) + 14);
}

QLineEdit *entryBox(QWidget *parent, const QString &name, int maxLength, int shownChars = -1)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    // The limit is for typing: what the program copies in (a fetched project) is kept whole.
    platform::limitTyping(box, maxLength < 32767 ? maxLength : 0);
    sizeForChars(box, shownChars < 0 ? maxLength : shownChars);
    return box;
}

QLabel *captionLabel(QWidget *parent, const QString &text, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

// One line of an entry form: the caption, then its boxes side by side, left aligned.
void addFormRow(QWidget *parent, QGridLayout *grid, int row, int column, const QString &caption,
                const QList<QWidget *> &widgets, bool stretchLast = false)
{
    grid->addWidget(captionLabel(parent, caption, widgets.value(0)), row, column,
                    Qt::AlignLeft | Qt::AlignVCenter);
    auto *h = new QHBoxLayout;
    h->setSpacing(4);
    for (int i = 0; i < widgets.size(); ++i)
        h->addWidget(widgets[i], stretchLast && i == widgets.size() - 1 ? 1 : 0);
    if (!stretchLast)
        h->addStretch(1);
    grid->addLayout(h, row, column + 1);
}

QLabel *headingLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPointSizeF(12);
    f.setBold(true);
    label->setFont(f);
    return label;
}

// The big picture that creates the record, with its caption beside it.
QLayout *createButtonBlock(QWidget *parent, platform::PictureButton *picture, const QString &caption)
{
    auto *h = new QHBoxLayout;
    h->setSpacing(8);
    h->addWidget(picture);
    auto *label = new QLabel(caption, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    h->addWidget(label);
    return h;
}

platform::PictureButton *createPicture(const QString &name)
{
    return new platform::PictureButton(
        name, platform::themedIcon(QStringLiteral("document-save"), QColor(40, 140, 60), QStringLiteral("+")),
        kConfirmHint, nullptr, 44);
}

// The two registration screens share their frame: filled in from the top left, the
// picture that creates the record waits at the bottom right.
void finishRegistrationForm(QWidget *tab, QGridLayout *form, QLabel *heading, platform::PictureButton *picture,
                            const QString &caption, int rows)
{
    form->addLayout(createButtonBlock(tab, picture, caption), rows - 2, 5, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    form->setColumnMinimumWidth(2, 30);
    form->setColumnStretch(2, 1);
    form->setColumnStretch(4, 1);
    form->setRowStretch(rows, 1);

    auto *root = new QVBoxLayout(tab);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(8);
    root->addWidget(heading);
    root->addLayout(form, 1);
}

QGridLayout *formGrid()
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    return grid;
}

} // namespace

ProjectEntryTab::ProjectEntryTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("projectEntry"));

    Combo4 = platform::captionedList(this, QStringLiteral("Combo4"), QStringLiteral("Opdrachtgevers"),
                                     platform::colours::kPaleYellow, false);
    Combo5 = platform::captionedList(this, QStringLiteral("Combo5"), QStringLiteral("Consultants"),
                                     platform::colours::kPaleGreen, false);
    Combo6 = platform::captionedList(this, QStringLiteral("Combo6"),
                                     QStringLiteral("Een bestaand project ophalen en invullen"), platform::colours::kPaleCyan,
                                     false);

    Text52 = entryBox(this, QStringLiteral("Text52"), 32767, 5);
    Text52->setText(QStringLiteral(" "));
    Text52->setReadOnly(true);
    Text53 = entryBox(this, QStringLiteral("Text53"), 32767, 5);
    Text53->setReadOnly(true);
    Text54 = entryBox(this, QStringLiteral("Text54"), 16, 20);
    Text55 = entryBox(this, QStringLiteral("Text55"), 33, 36);
    Text55->setReadOnly(true);
    Text56 = entryBox(this, QStringLiteral("Text56"), 32767, 10);
    Text57 = entryBox(this, QStringLiteral("Text57"), 32767, 10);
    for (QLineEdit *date : {Text56, Text57}) {
        date->setReadOnly(true);
        date->setToolTip(kDateHint);
    }
    Text58 = entryBox(this, QStringLiteral("Text58"), 3, 5);
    Text59 = entryBox(this, QStringLiteral("Text59"), 5, 7);
    Text60 = entryBox(this, QStringLiteral("Text60"), 5, 7);
    for (QLineEdit *number : {Text58, Text59, Text60}) {
        number->setText(QStringLiteral("0"));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    Text68 = new QPlainTextEdit(this);
    Text68->setObjectName(QStringLiteral("Text68"));
    Text68->setTabChangesFocus(true);
    Text68->setFixedHeight(4 * Text68->fontMetrics().lineSpacing() + 12);
    Text61 = new QPlainTextEdit(QStringLiteral("GEEN"), this);
    Text61->setObjectName(QStringLiteral("Text61"));
    Text61->setTabChangesFocus(true);
    Text61->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QPlainTextEdit *text : {Text68, Text61})
        platform::limitTyping(text);

    const QIcon calendarIcon =
        platform::themedIcon(QStringLiteral("x-office-calendar"), QColor(40, 110, 200), QStringLiteral("31"));
    Image6 = new platform::PictureButton(QStringLiteral("Image6"), calendarIcon, kDatePictureCaption, this, 22);
    Image7 = new platform::PictureButton(QStringLiteral("Image7"), calendarIcon, kDatePictureCaption, this, 22);
    Image5 = createPicture(QStringLiteral("Image5"));

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    Calendar1->setFirstDayOfWeek(Qt::Monday);
    Calendar1->setGridVisible(true);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setFixedSize(300, 210);

    // The number and date boxes hand their focus on when they receive it (to the lists,
    // to the calendar); reached by the Tab key they would send it round in a circle, so
    // only a click gives them the focus, and Tab walks the boxes the user fills in.
    for (QLineEdit *clickOnly : {Text52, Text53, Text55, Text56, Text57})
        clickOnly->setFocusPolicy(Qt::ClickFocus);
    QWidget *tabOrder[] = {Combo4, Combo5, Text54, Text68, Calendar1, Text58, Text59, Text60, Text61, Combo6};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Opdrachtgever"), {Text52, Combo4}, true);
    addFormRow(this, form, row++, 0, QStringLiteral("Consultant"), {Text53, Combo5}, true);
    addFormRow(this, form, row++, 0, QStringLiteral("Projectnaam"), {Text54});
    addFormRow(this, form, row++, 0, QStringLiteral("Projectcode"), {Text55});
    addFormRow(this, form, row, 0, QStringLiteral("Project omschrijving"), {Text68}, true);
    form->itemAtPosition(row++, 0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addFormRow(this, form, row++, 0, QStringLiteral("Projectplanning VAN"),
               {Text56, Image6, captionLabel(this, kDatePictureCaption, Image6)});
    addFormRow(this, form, row++, 0, QStringLiteral("Projectplanning T/M"),
               {Text57, Image7, captionLabel(this, kDatePictureCaption, Image7)});
    addFormRow(this, form, row++, 0, QStringLiteral("Effectieve contractduur"),
               {Text58, captionLabel(this, QStringLiteral("Uren"))});
    addFormRow(this, form, row++, 0, QStringLiteral("Inkoop   dagtarief Consultant"),
               {Text59, captionLabel(this, QStringLiteral("Euro"))});
    addFormRow(this, form, row++, 0, QStringLiteral("Verkoop dagtarief Consultant"),
               {Text60, captionLabel(this, QStringLiteral("Euro"))});
    form->setRowStretch(row, 1);

    auto *calendarColumn = new QVBoxLayout;
    calendarColumn->addWidget(captionLabel(this, QStringLiteral("Planningskalender"), Calendar1));
    calendarColumn->addWidget(Calendar1);
    calendarColumn->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(5);
    right->addWidget(Combo6);
    right->addSpacing(6);
    right->addWidget(captionLabel(this, QStringLiteral("Bericht voor CONSULTANT"), Text61));
    right->addWidget(Text61, 1);
    right->addSpacing(6);
    auto *create = createButtonBlock(this, Image5, QStringLiteral("Dit Project AANMAKEN"));
    create->setAlignment(Qt::AlignRight);
    right->addLayout(create);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(18);
    root->addLayout(form, 5);
    root->addLayout(calendarColumn, 0);
    root->addLayout(right, 4);
}

ClientEntryTab::ClientEntryTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("clientEntry"));
    heading = headingLabel(this, QStringLiteral("Aanmaken van een nieuwe Opdrachtgever"));

    Text79 = entryBox(this, QStringLiteral("Text79"), 40);
    Text80 = entryBox(this, QStringLiteral("Text80"), 10);
    Text39 = entryBox(this, QStringLiteral("Text39"), 25);
    Text81 = entryBox(this, QStringLiteral("Text81"), 7);
    Text82 = entryBox(this, QStringLiteral("Text82"), 15);
    Text83 = entryBox(this, QStringLiteral("Text83"), 8);
    Text84 = entryBox(this, QStringLiteral("Text84"), 20);
    Text136 = entryBox(this, QStringLiteral("Text136"), 8);
    Text131 = entryBox(this, QStringLiteral("Text131"), 15);
    Text119 = entryBox(this, QStringLiteral("Text119"), 20);
    Text120 = entryBox(this, QStringLiteral("Text120"), 25);
    Text69 = entryBox(this, QStringLiteral("Text69"), 10);
    Text130 = entryBox(this, QStringLiteral("Text130"), 25);
    Text85 = entryBox(this, QStringLiteral("Text85"), 35);
    Text121 = entryBox(this, QStringLiteral("Text121"), 35);
    Text86 = entryBox(this, QStringLiteral("Text86"), 7);
    Text87 = entryBox(this, QStringLiteral("Text87"), 20);
    Text132 = entryBox(this, QStringLiteral("Text132"), 30);
    Text88 = entryBox(this, QStringLiteral("Text88"), 10);
    Text133 = entryBox(this, QStringLiteral("Text133"), 10);
    Text89 = entryBox(this, QStringLiteral("Text89"), 10);
    Text90 = entryBox(this, QStringLiteral("Text90"), 25);
    Text135 = entryBox(this, QStringLiteral("Text135"), 25);
    Text91 = entryBox(this, QStringLiteral("Text91"), 15);
    Text92 = entryBox(this, QStringLiteral("Text92"), 12);
    Text93 = entryBox(this, QStringLiteral("Text93"), 17);
    Text94 = entryBox(this, QStringLiteral("Text94"), 8);
    Image8 = createPicture(QStringLiteral("Image8"));

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Klant - organisatie"), {Text79});
    addFormRow(this, form, row++, 0, QStringLiteral("Organisatie onderdeel"), {Text80});
    addFormRow(this, form, row++, 0, QStringLiteral("Opdracht"), {Text39});
    addFormRow(this, form, row++, 0, QStringLiteral("Titel"), {Text81});
    addFormRow(this, form, row++, 0, QStringLiteral("Voorletters"), {Text82});
    addFormRow(this, form, row++, 0, QStringLiteral("Tussenvoegsel"), {Text83});
    addFormRow(this, form, row++, 0, QStringLiteral("Achternaam"), {Text84});
    addFormRow(this, form, row++, 0, QStringLiteral("Achtervoegsel"), {Text136});
    addFormRow(this, form, row++, 0, QStringLiteral("Roepnaam / Functie"), {Text131, Text119});
    addFormRow(this, form, row++, 0, QStringLiteral("Secretaresse / Telefoon"), {Text120, Text69});
    addFormRow(this, form, row++, 0, QStringLiteral("E-Mail secretaresse"), {Text130});
    const int leftRows = row;

    row = 0;
    addFormRow(this, form, row++, 3, QStringLiteral("Bezoek adres"), {Text85});
    addFormRow(this, form, row++, 3, QStringLiteral("Factuur adresssering"), {Text121});
    addFormRow(this, form, row++, 3, QStringLiteral("Postcode / Woonplaats"), {Text86, Text87});
    addFormRow(this, form, row++, 3, QStringLiteral("Website"), {Text132});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Zakelijk"), {Text88});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Prive"), {Text133});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Mobiel"), {Text89});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Zakelijk"), {Text90});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Prive"), {Text135});
    addFormRow(this, form, row++, 3, QStringLiteral("Banknaam"), {Text91});
    addFormRow(this, form, row++, 3, QStringLiteral("Rek. Nr."), {Text92});
    addFormRow(this, form, row++, 3, QStringLiteral("BTW nummer"), {Text93});
    addFormRow(this, form, row++, 3, QStringLiteral("KVK  nummer"), {Text94});
    finishRegistrationForm(this, form, heading, Image8, QStringLiteral("Opdrachtgever AANMAKEN"), std::max(row, leftRows));
}

ConsultantEntryTab::ConsultantEntryTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("consultantEntry"));
    heading = headingLabel(this, QStringLiteral("Aanmaken van een nieuwe Consultant"));

    Text62 = entryBox(this, QStringLiteral("Text62"), 45);
    Text97 = entryBox(this, QStringLiteral("Text97"), 7);
    Text98 = entryBox(this, QStringLiteral("Text98"), 15);
    Text99 = entryBox(this, QStringLiteral("Text99"), 8);
    Text100 = entryBox(this, QStringLiteral("Text100"), 20);
    Text137 = entryBox(this, QStringLiteral("Text137"), 8);
    Text138 = entryBox(this, QStringLiteral("Text138"), 15);
    Text139 = entryBox(this, QStringLiteral("Text139"), 20);
    Text101 = entryBox(this, QStringLiteral("Text101"), 35);
    Text102 = entryBox(this, QStringLiteral("Text102"), 7);
    Text103 = entryBox(this, QStringLiteral("Text103"), 20);
    Text141 = entryBox(this, QStringLiteral("Text141"), 30);
    Text104 = entryBox(this, QStringLiteral("Text104"), 10);
    Text113 = entryBox(this, QStringLiteral("Text113"), 10);
    Text105 = entryBox(this, QStringLiteral("Text105"), 10);
    Text106 = entryBox(this, QStringLiteral("Text106"), 25);
    Text142 = entryBox(this, QStringLiteral("Text142"), 25);
    Text107 = entryBox(this, QStringLiteral("Text107"), 15);
    Text108 = entryBox(this, QStringLiteral("Text108"), 12);
    Text109 = entryBox(this, QStringLiteral("Text109"), 17);
    Text110 = entryBox(this, QStringLiteral("Text110"), 8);
    Text65 = entryBox(this, QStringLiteral("Text65"), 3);
    Image17 = createPicture(QStringLiteral("Image17"));

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Naam - organisatie"), {Text62});
    addFormRow(this, form, row++, 0, QStringLiteral("Titel"), {Text97});
    addFormRow(this, form, row++, 0, QStringLiteral("Voorletters"), {Text98});
    addFormRow(this, form, row++, 0, QStringLiteral("Tussenvoegsel"), {Text99});
    addFormRow(this, form, row++, 0, QStringLiteral("Achternaam"), {Text100});
    addFormRow(this, form, row++, 0, QStringLiteral("Achtervoegsel"), {Text137});
    addFormRow(this, form, row++, 0, QStringLiteral("Toepnaam / Functie"), {Text138, Text139});
    addFormRow(this, form, row++, 0, QStringLiteral("Beziek adres"), {Text101});
    addFormRow(this, form, row++, 0, QStringLiteral("Postcode / Woonplaats"), {Text102, Text103});
    addFormRow(this, form, row++, 0, QStringLiteral("Website"), {Text141});
    const int leftRows = row;

    row = 0;
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Zakelijk"), {Text104});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Prive"), {Text113});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Mobiel"), {Text105});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Zakelijk"), {Text106});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Prive"), {Text142});
    addFormRow(this, form, row++, 3, QStringLiteral("Banknaam"), {Text107});
    addFormRow(this, form, row++, 3, QStringLiteral("Rek. Nr."), {Text108});
    addFormRow(this, form, row++, 3, QStringLiteral("BTW  nummer"), {Text109});
    addFormRow(this, form, row++, 3, QStringLiteral("KVK nummer"), {Text110});
    addFormRow(this, form, row++, 3, QStringLiteral("VAR verjkaring"), {Text65});
    finishRegistrationForm(this, form, heading, Image17, QStringLiteral("Consultant AANMAKEN"), std::max(row, leftRows));
}

} // namespace talveros::registration
