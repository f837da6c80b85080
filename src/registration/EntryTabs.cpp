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

QLineEdit *entryBox(QWidget *parent, int maxLength, int shownChars = -1)
{
    auto *box = new QLineEdit(parent);
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
    label->setBuddy(picture);
    h->addWidget(label);
    return h;
}

platform::PictureButton *createPicture()
{
    return new platform::PictureButton(
        QString(), platform::themedIcon(QStringLiteral("document-save"), QColor(40, 140, 60), QStringLiteral("+")),
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

    clientPicker = platform::captionedList(this, QString(), QStringLiteral("Opdrachtgevers"),
                                          platform::colours::kPaleYellow);
    consultantPicker = platform::captionedList(this, QString(), QStringLiteral("Consultants"),
                                              platform::colours::kPaleGreen);
    projectPicker = platform::captionedList(this, QString(), QStringLiteral("Een bestaand project ophalen en invullen"),
                                           platform::colours::kPaleCyan);

    clientNumberBox = entryBox(this, 32767, 5);
    clientNumberBox->setText(QStringLiteral(" "));
    clientNumberBox->setReadOnly(true);
    consultantNumberBox = entryBox(this, 32767, 5);
    consultantNumberBox->setReadOnly(true);
    projectNameBox = entryBox(this, 16, 20);
    projectCodeBox = entryBox(this, 33, 36);
    projectCodeBox->setReadOnly(true);
    startDateBox = entryBox(this, 32767, 10);
    endDateBox = entryBox(this, 32767, 10);
    for (QLineEdit *date : {startDateBox, endDateBox}) {
        date->setReadOnly(true);
        date->setToolTip(kDateHint);
    }
    contractDurationBox = entryBox(this, 3, 5);
    purchaseDayRateBox = entryBox(this, 5, 7);
    salesDayRateBox = entryBox(this, 5, 7);
    for (QLineEdit *number : {contractDurationBox, purchaseDayRateBox, salesDayRateBox}) {
        number->setText(QStringLiteral("0"));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    descriptionBox = new QPlainTextEdit(this);
    descriptionBox->setTabChangesFocus(true);
    descriptionBox->setFixedHeight(4 * descriptionBox->fontMetrics().lineSpacing() + 12);
    consultantMessageBox = new QPlainTextEdit(QStringLiteral("GEEN"), this);
    consultantMessageBox->setTabChangesFocus(true);
    consultantMessageBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QPlainTextEdit *text : {descriptionBox, consultantMessageBox})
        platform::limitTyping(text);

    const QIcon calendarIcon =
        platform::themedIcon(QStringLiteral("x-office-calendar"), QColor(40, 110, 200), QStringLiteral("31"));
    startDateButton = new platform::PictureButton(QString(), calendarIcon, kDatePictureCaption, this, 22);
    endDateButton = new platform::PictureButton(QString(), calendarIcon, kDatePictureCaption, this, 22);
    createProjectButton = createPicture();

    calendar = new QCalendarWidget(this);
    calendar->setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setGridVisible(true);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setFixedSize(300, 210);

    // The number and date boxes hand their focus on when they receive it (to the lists,
    // to the calendar); reached by the Tab key they would send it round in a circle, so
    // only a click gives them the focus, and Tab walks the boxes the user fills in.
    for (QLineEdit *clickOnly : {clientNumberBox, consultantNumberBox, projectCodeBox, startDateBox, endDateBox})
        clickOnly->setFocusPolicy(Qt::ClickFocus);
    QWidget *tabOrder[] = {clientPicker,         consultantPicker,    projectNameBox,     descriptionBox,
                           calendar,             contractDurationBox, purchaseDayRateBox, salesDayRateBox,
                           consultantMessageBox, projectPicker};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Opdrachtgever"), {clientNumberBox, clientPicker}, true);
    addFormRow(this, form, row++, 0, QStringLiteral("Consultant"), {consultantNumberBox, consultantPicker}, true);
    addFormRow(this, form, row++, 0, QStringLiteral("Projectnaam"), {projectNameBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Projectcode"), {projectCodeBox});
    addFormRow(this, form, row, 0, QStringLiteral("Project omschrijving"), {descriptionBox}, true);
    form->itemAtPosition(row++, 0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addFormRow(this, form, row++, 0, QStringLiteral("Projectplanning VAN"),
               {startDateBox, startDateButton, captionLabel(this, kDatePictureCaption, startDateButton)});
    addFormRow(this, form, row++, 0, QStringLiteral("Projectplanning T/M"),
               {endDateBox, endDateButton, captionLabel(this, kDatePictureCaption, endDateButton)});
    addFormRow(this, form, row++, 0, QStringLiteral("Effectieve contractduur"),
               {contractDurationBox, captionLabel(this, QStringLiteral("Uren"))});
    addFormRow(this, form, row++, 0, QStringLiteral("Inkoop   dagtarief Consultant"),
               {purchaseDayRateBox, captionLabel(this, QStringLiteral("Euro"))});
    addFormRow(this, form, row++, 0, QStringLiteral("Verkoop dagtarief Consultant"),
               {salesDayRateBox, captionLabel(this, QStringLiteral("Euro"))});
    form->setRowStretch(row, 1);

    auto *calendarColumn = new QVBoxLayout;
    calendarColumn->addWidget(captionLabel(this, QStringLiteral("Planningskalender"), calendar));
    calendarColumn->addWidget(calendar);
    calendarColumn->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(5);
    right->addWidget(projectPicker);
    right->addSpacing(6);
    right->addWidget(captionLabel(this, QStringLiteral("Bericht voor CONSULTANT"), consultantMessageBox));
    right->addWidget(consultantMessageBox, 1);
    right->addSpacing(6);
    auto *create = createButtonBlock(this, createProjectButton, QStringLiteral("Dit Project AANMAKEN"));
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

    organisationBox = entryBox(this, 40);
    departmentBox = entryBox(this, 10);
    assignmentBox = entryBox(this, 25);
    titleBox = entryBox(this, 7);
    initialsBox = entryBox(this, 15);
    surnamePrefixBox = entryBox(this, 8);
    surnameBox = entryBox(this, 20);
    nameSuffixBox = entryBox(this, 8);
    callingNameBox = entryBox(this, 15);
    jobTitleBox = entryBox(this, 20);
    secretaryBox = entryBox(this, 25);
    secretaryPhoneBox = entryBox(this, 10);
    secretaryEmailBox = entryBox(this, 25);
    addressBox = entryBox(this, 35);
    invoiceAddressBox = entryBox(this, 35);
    postcodeBox = entryBox(this, 7);
    townBox = entryBox(this, 20);
    websiteBox = entryBox(this, 30);
    businessPhoneBox = entryBox(this, 10);
    privatePhoneBox = entryBox(this, 10);
    mobilePhoneBox = entryBox(this, 10);
    businessEmailBox = entryBox(this, 25);
    privateEmailBox = entryBox(this, 25);
    bankNameBox = entryBox(this, 15);
    bankAccountBox = entryBox(this, 12);
    vatNumberBox = entryBox(this, 17);
    chamberOfCommerceBox = entryBox(this, 8);
    createClientButton = createPicture();

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Klant - organisatie"), {organisationBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Organisatie onderdeel"), {departmentBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Opdracht"), {assignmentBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Titel"), {titleBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Voorletters"), {initialsBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Tussenvoegsel"), {surnamePrefixBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Achternaam"), {surnameBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Achtervoegsel"), {nameSuffixBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Roepnaam / Functie"), {callingNameBox, jobTitleBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Secretaresse / Telefoon"), {secretaryBox, secretaryPhoneBox});
    addFormRow(this, form, row++, 0, QStringLiteral("E-Mail secretaresse"), {secretaryEmailBox});
    const int leftRows = row;

    row = 0;
    addFormRow(this, form, row++, 3, QStringLiteral("Bezoek adres"), {addressBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Factuur adresssering"), {invoiceAddressBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Postcode / Woonplaats"), {postcodeBox, townBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Website"), {websiteBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Zakelijk"), {businessPhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Prive"), {privatePhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Mobiel"), {mobilePhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Zakelijk"), {businessEmailBox});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Prive"), {privateEmailBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Banknaam"), {bankNameBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Rek. Nr."), {bankAccountBox});
    addFormRow(this, form, row++, 3, QStringLiteral("BTW nummer"), {vatNumberBox});
    addFormRow(this, form, row++, 3, QStringLiteral("KVK  nummer"), {chamberOfCommerceBox});
    finishRegistrationForm(this, form, heading, createClientButton, QStringLiteral("Opdrachtgever AANMAKEN"),
                           std::max(row, leftRows));
}

ConsultantEntryTab::ConsultantEntryTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("consultantEntry"));
    heading = headingLabel(this, QStringLiteral("Aanmaken van een nieuwe Consultant"));

    organisationBox = entryBox(this, 45);
    titleBox = entryBox(this, 7);
    initialsBox = entryBox(this, 15);
    surnamePrefixBox = entryBox(this, 8);
    surnameBox = entryBox(this, 20);
    nameSuffixBox = entryBox(this, 8);
    callingNameBox = entryBox(this, 15);
    jobTitleBox = entryBox(this, 20);
    addressBox = entryBox(this, 35);
    postcodeBox = entryBox(this, 7);
    townBox = entryBox(this, 20);
    websiteBox = entryBox(this, 30);
    businessPhoneBox = entryBox(this, 10);
    privatePhoneBox = entryBox(this, 10);
    mobilePhoneBox = entryBox(this, 10);
    businessEmailBox = entryBox(this, 25);
    privateEmailBox = entryBox(this, 25);
    bankNameBox = entryBox(this, 15);
    bankAccountBox = entryBox(this, 12);
    vatNumberBox = entryBox(this, 17);
    chamberOfCommerceBox = entryBox(this, 8);
    employmentDeclarationBox = entryBox(this, 3);
    createConsultantButton = createPicture();

    auto *form = formGrid();
    int row = 0;
    addFormRow(this, form, row++, 0, QStringLiteral("Naam - organisatie"), {organisationBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Titel"), {titleBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Voorletters"), {initialsBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Tussenvoegsel"), {surnamePrefixBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Achternaam"), {surnameBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Achtervoegsel"), {nameSuffixBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Toepnaam / Functie"), {callingNameBox, jobTitleBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Beziek adres"), {addressBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Postcode / Woonplaats"), {postcodeBox, townBox});
    addFormRow(this, form, row++, 0, QStringLiteral("Website"), {websiteBox});
    const int leftRows = row;

    row = 0;
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Zakelijk"), {businessPhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Prive"), {privatePhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Telefoon Mobiel"), {mobilePhoneBox});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Zakelijk"), {businessEmailBox});
    addFormRow(this, form, row++, 3, QStringLiteral("E-Mail Prive"), {privateEmailBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Banknaam"), {bankNameBox});
    addFormRow(this, form, row++, 3, QStringLiteral("Rek. Nr."), {bankAccountBox});
    addFormRow(this, form, row++, 3, QStringLiteral("BTW  nummer"), {vatNumberBox});
    addFormRow(this, form, row++, 3, QStringLiteral("KVK nummer"), {chamberOfCommerceBox});
    addFormRow(this, form, row++, 3, QStringLiteral("VAR verjkaring"), {employmentDeclarationBox});
    finishRegistrationForm(this, form, heading, createConsultantButton, QStringLiteral("Consultant AANMAKEN"),
                           std::max(row, leftRows));
}

} // namespace talveros::registration
