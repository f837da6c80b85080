#include "panes/RecordPanes.h"

#include "platform/Colours.h"
#include "platform/ListBox.h"
#include "platform/PictureButton.h"
#include "platform/TextBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace talveros::panes {

namespace {

using namespace platform::colours;

// Twenty-four blanks before the word set the heading in from the pane's edge.
QString headingText(const QString &word) { return QString(24, QLatin1Char(' ')) + word; }

platform::PictureButton *smallPicture(const QString &icon, const QColor &fallback, const QString &glyph,
                                      const QString &toolTip, int size = 18)
{
    return new platform::PictureButton(QString(), platform::themedIcon(icon, fallback, glyph), toolTip, nullptr, size);
}

} // namespace

RecordPane::RecordPane(const QString &objectName, const QColor &background, QWidget *parent) : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);

    // The panes carry many boxes side by side; a slightly smaller face keeps them
    // readable without scrolling.
    QFont f = font();
    f.setPointSizeF(8);
    setFont(f);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(3);
    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(4);
    m_grid->setVerticalSpacing(2);
    for (int c = 0; c < 4; ++c)
        m_grid->setColumnStretch(c, 1);
}

QLabel *RecordPane::makeHeading(const QString &word)
{
    auto *label = new QLabel(headingText(word), this);
    QFont f = label->font();
    f.setPointSizeF(11);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QComboBox *RecordPane::makeLookup(const QString &designText, const QColor &colour)
{
    QComboBox *combo = platform::captionedList(this, QString(), designText, colour);
    platform::findAsYouType(combo);
    return combo;
}

QLineEdit *RecordPane::makeInfoBox(const QString &designText)
{
    auto *box = new QLineEdit(designText, this);
    box->setReadOnly(true);
    platform::limitTyping(box, 0);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLineEdit *RecordPane::bindLine(const QString &column, int maxLength)
{
    auto *box = new QLineEdit(this);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(30);
    box->setFixedHeight(box->fontMetrics().height() + 7);
    platform::limitTyping(box, maxLength);
    m_bindings.append({box, column});
    return box;
}

QPlainTextEdit *RecordPane::bindText(const QString &column, int lines, bool editable)
{
    auto *box = new QPlainTextEdit(this);
    box->setReadOnly(!editable);
    if (!editable)
        box->setFocusPolicy(Qt::NoFocus);
    platform::limitTyping(box);
    box->setTabChangesFocus(true);
    box->setMinimumWidth(30);
    const int frame = 2 * box->frameWidth() + 2 * int(box->document()->documentMargin());
    // A scroll area asks for far more height than a pane can spare: grow from the
    // given number of lines to at most two more, when the pane has room.
    box->setMinimumHeight(lines * box->fontMetrics().lineSpacing() + frame);
    box->setMaximumHeight((lines + 2) * box->fontMetrics().lineSpacing() + frame);
    m_bindings.append({box, column});
    return box;
}

void RecordPane::buildTop(QLabel *heading, QLineEdit *countHeading, QLineEdit *count, QComboBox *lookup,
                          const QList<QWidget *> &besideLookup)
{
    auto *outer = static_cast<QVBoxLayout *>(layout());

    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(heading, 1);
    countHeading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countHeading->setFrame(false);
    countHeading->setAutoFillBackground(false);
    QPalette p = countHeading->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    countHeading->setPalette(p);
    countHeading->setFixedWidth(countHeading->fontMetrics().horizontalAdvance(countHeading->text()) + 12);
    top->addWidget(countHeading);
    count->setFixedWidth(count->fontMetrics().horizontalAdvance(QStringLiteral(" 00000")) + 12);
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(count);
    outer->addLayout(top);

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(lookup, 1);
    for (QWidget *w : besideLookup)
        row->addWidget(w);
    outer->addLayout(row);
    outer->addSpacing(2);
    // Spare height goes to the grid's rows (or to a row that asks for it), so the
    // boxes spread over the pane instead of leaving a gap at its foot.
    outer->addLayout(m_grid, 1);
}

void RecordPane::place(QWidget *box, const QString &caption, int row, int column, int columnSpan, int rowSpan,
                       QWidget *extra)
{
    auto *cell = new QWidget(this);
    auto *v = new QVBoxLayout(cell);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *label = new QLabel(caption, cell);
    // A caption may be clipped in a narrow pane; it must not widen the grid.
    label->setMinimumWidth(10);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont f = label->font();
    f.setPointSizeF(7);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(64, 64, 64));
    label->setPalette(p);
    label->setBuddy(box);
    v->addWidget(label);
    if (extra) {
        auto *h = new QHBoxLayout;
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(2);
        h->addWidget(box, 1);
        h->addWidget(extra);
        v->addLayout(h);
    } else if (qobject_cast<QPlainTextEdit *>(box)) {
        v->addWidget(box, 1);
    } else {
        v->addWidget(box);
    }
    v->addStretch(1);
    m_grid->addWidget(cell, row, column, rowSpan, columnSpan);
}

ConsultantPane::ConsultantPane(QWidget *parent) : RecordPane(QStringLiteral("consultantPane"), kPaleGreen, parent)
{
    heading = makeHeading(QStringLiteral("Consultants"));
    lookupList = makeLookup(QStringLiteral("Consultants lijst"), kGreen);
    counterHeading = makeInfoBox(QStringLiteral("Consultants"));
    counter = makeInfoBox(QString());

    sequenceNumberBox = bindLine(QStringLiteral("nummer"));
    numberBox = bindLine(QStringLiteral("Consultantnummer"));
    titleBox = bindLine(QStringLiteral("Titel1"));
    firstNameBox = bindLine(QStringLiteral("voornaam"));
    surnamePrefixBox = bindLine(QStringLiteral("tussenvoegsel"));
    surnameBox = bindLine(QStringLiteral("naam"));
    addressBox = bindLine(QStringLiteral("adres"));
    postcodeBox = bindLine(QStringLiteral("postcode"));
    cityBox = bindLine(QStringLiteral("woonplaats"));
    businessPhoneBox = bindLine(QStringLiteral("TELzakelijk"));
    businessEmailBox = bindLine(QStringLiteral("EMAILzakelijk"));
    loginBox = bindLine(QStringLiteral("LOGIN"));
    passwordBox = bindLine(QStringLiteral("PASWOORD"));
    organisationNameBox = bindLine(QStringLiteral("NaamOrganisatie"));
    varStatementBox = bindLine(QStringLiteral("VARverklaring"));
    bankNameBox = bindLine(QStringLiteral("BANKnaam"));
    bankAccountNumberBox = bindLine(QStringLiteral("BANKnummer"));
    vatNumberBox = bindLine(QStringLiteral("BTWnummer"));
    chamberOfCommerceNumberBox = bindLine(QStringLiteral("KVKnummer"));
    mobilePhoneBox = bindLine(QStringLiteral("TELmobiel"));
    privatePhoneBox = bindLine(QStringLiteral("TELprive"));
    titleSuffixBox = bindLine(QStringLiteral("Titel2"));
    websiteBox = bindLine(QStringLiteral("WEBSITE"));
    privateEmailBox = bindLine(QStringLiteral("EMAILprive"));
    preferredNameBox = bindLine(QStringLiteral("Roepnaam"));
    jobTitleBox = bindLine(QStringLiteral("Functie"));

    websiteButton = smallPicture(QStringLiteral("web-browser"), QColor(40, 110, 200), QStringLiteral("W"),
                                 QStringLiteral("Bezoek de WEBsite van deze consultant"));

    buildTop(heading, counterHeading, counter, lookupList);
    place(numberBox, QStringLiteral("Nummer"), 0, 0);
    place(titleBox, QStringLiteral("Titel"), 0, 1);
    place(titleSuffixBox, QStringLiteral("Achtervoegsel"), 0, 2);
    place(sequenceNumberBox, QStringLiteral("Volgnummer"), 0, 3);
    place(firstNameBox, QStringLiteral("Voorletters"), 1, 0);
    place(surnamePrefixBox, QStringLiteral("Tussenvoegsel"), 1, 1);
    place(surnameBox, QStringLiteral("Achternaam"), 1, 2, 2);
    place(preferredNameBox, QStringLiteral("Roepnaam"), 2, 0);
    place(jobTitleBox, QStringLiteral("Functie"), 2, 1);
    place(organisationNameBox, QStringLiteral("Naam organisatie"), 2, 2, 2);
    place(addressBox, QStringLiteral("Adres"), 3, 0, 2);
    place(postcodeBox, QStringLiteral("Postcode"), 3, 2);
    place(cityBox, QStringLiteral("Woonplaats"), 3, 3);
    place(businessPhoneBox, QStringLiteral("Tel. zakelijk"), 4, 0);
    place(mobilePhoneBox, QStringLiteral("Tel. mobiel"), 4, 1);
    place(privatePhoneBox, QStringLiteral("Tel. priv\u00e9"), 4, 2);
    place(varStatementBox, QStringLiteral("VAR-verklaring"), 4, 3);
    place(businessEmailBox, QStringLiteral("E-mail zakelijk"), 5, 0, 2);
    place(privateEmailBox, QStringLiteral("E-mail priv\u00e9"), 5, 2, 2);
    place(websiteBox, QStringLiteral("Website"), 6, 0, 2, 1, websiteButton);
    place(loginBox, QStringLiteral("Login"), 6, 2);
    place(passwordBox, QStringLiteral("Paswoord"), 6, 3);
    place(bankNameBox, QStringLiteral("Bank"), 7, 0);
    place(bankAccountNumberBox, QStringLiteral("Rekeningnummer"), 7, 1);
    place(vatNumberBox, QStringLiteral("BTW-nummer"), 7, 2);
    place(chamberOfCommerceNumberBox, QStringLiteral("KVK-nummer"), 7, 3);
}

ClientPane::ClientPane(QWidget *parent) : RecordPane(QStringLiteral("clientPane"), kPaleYellow, parent)
{
    heading = makeHeading(QStringLiteral("Opdrachtgevers"));
    lookupList = makeLookup(QStringLiteral("Opdrachtgevers lijst"), kYellow);
    counterHeading = makeInfoBox(QStringLiteral("Opdrachtgevers"));
    counter = makeInfoBox(QString());

    sequenceNumberBox = bindLine(QStringLiteral("nummer"));
    numberBox = bindLine(QStringLiteral("opdrachtgevernummer"));
    companyBox = bindLine(QStringLiteral("Bedrijf"));
    titleSuffixBox = bindLine(QStringLiteral("Titel2"));
    surnameBox = bindLine(QStringLiteral("naam"));
    surnamePrefixBox = bindLine(QStringLiteral("tussenvoegsel"));
    firstNameBox = bindLine(QStringLiteral("voornaam"));
    titleBox = bindLine(QStringLiteral("Titel1"));
    addressBox = bindLine(QStringLiteral("adres"));
    cityBox = bindLine(QStringLiteral("woonplaats"));
    postcodeBox = bindLine(QStringLiteral("postcode"));
    businessPhoneBox = bindLine(QStringLiteral("TELzakelijk"));
    businessEmailBox = bindLine(QStringLiteral("EMAILzakelijk"));
    loginBox = bindLine(QStringLiteral("LOGIN"));
    passwordBox = bindLine(QStringLiteral("PASWOORD"));
    jobTitleBox = bindLine(QStringLiteral("Functie"));
    secretaryPhoneBox = bindLine(QStringLiteral("TELsecretaresse"));
    bankNameBox = bindLine(QStringLiteral("BANKnaam"));
    bankAccountNumberBox = bindLine(QStringLiteral("BANKnummer"));
    vatNumberBox = bindLine(QStringLiteral("BTWnummer"));
    chamberOfCommerceNumberBox = bindLine(QStringLiteral("KVKnummer"));
    mobilePhoneBox = bindLine(QStringLiteral("TELmobiel"));
    assignmentNameBox = bindLine(QStringLiteral("Opdrachtnaam"));
    secretaryBox = bindLine(QStringLiteral("Secretaresse"));
    invoiceAddressBox = bindText(QStringLiteral("Factuuradres"), 3);
    invoiceAddressBox->setMaximumHeight(invoiceAddressBox->minimumHeight());
    secretaryEmailBox = bindLine(QStringLiteral("EMAILsecretaresse"));
    websiteBox = bindLine(QStringLiteral("WEBSITE"));
    privatePhoneBox = bindLine(QStringLiteral("TELprive"));
    privateEmailBox = bindLine(QStringLiteral("EMAILprive"));
    preferredNameBox = bindLine(QStringLiteral("Roepnaam"));

    websiteButton = smallPicture(QStringLiteral("web-browser"), QColor(40, 110, 200), QStringLiteral("W"),
                                 QStringLiteral("Bezoek de WEBsite van deze opdrachtgever"));
    businessMailButton = smallPicture(QStringLiteral("mail-message-new"), QColor(200, 140, 30), QStringLiteral("@"),
                                      QStringLiteral("E-Mail ZAKELIJK naar deze opdrachtgever"));

    buildTop(heading, counterHeading, counter, lookupList);
    place(numberBox, QStringLiteral("Nummer"), 0, 0);
    place(companyBox, QStringLiteral("Bedrijf"), 0, 1, 2);
    place(sequenceNumberBox, QStringLiteral("Volgnummer"), 0, 3);
    place(assignmentNameBox, QStringLiteral("Opdracht"), 1, 0, 2);
    place(titleBox, QStringLiteral("Titel"), 1, 2);
    place(titleSuffixBox, QStringLiteral("Achtervoegsel"), 1, 3);
    place(firstNameBox, QStringLiteral("Voorletters"), 2, 0);
    place(surnamePrefixBox, QStringLiteral("Tussenvoegsel"), 2, 1);
    place(surnameBox, QStringLiteral("Achternaam"), 2, 2, 2);
    place(preferredNameBox, QStringLiteral("Roepnaam"), 3, 0);
    place(jobTitleBox, QStringLiteral("Functie"), 3, 1);
    place(secretaryBox, QStringLiteral("Secretaresse"), 3, 2, 2);
    place(businessPhoneBox, QStringLiteral("Tel. zakelijk"), 4, 0);
    place(mobilePhoneBox, QStringLiteral("Tel. mobiel"), 4, 1);
    place(privatePhoneBox, QStringLiteral("Tel. priv\u00e9"), 4, 2);
    place(secretaryPhoneBox, QStringLiteral("Tel. secretaresse"), 4, 3);
    place(addressBox, QStringLiteral("Bezoekadres"), 5, 0, 2);
    place(postcodeBox, QStringLiteral("Postcode"), 5, 2);
    place(cityBox, QStringLiteral("Woonplaats"), 5, 3);
    place(invoiceAddressBox, QStringLiteral("Factuuradres"), 6, 0, 2);
    place(loginBox, QStringLiteral("Login"), 6, 2);
    place(passwordBox, QStringLiteral("Paswoord"), 6, 3);
    place(businessEmailBox, QStringLiteral("E-mail zakelijk"), 7, 0, 2, 1, businessMailButton);
    place(privateEmailBox, QStringLiteral("E-mail priv\u00e9"), 7, 2, 2);
    place(websiteBox, QStringLiteral("Website"), 8, 0, 2, 1, websiteButton);
    place(secretaryEmailBox, QStringLiteral("E-mail secretaresse"), 8, 2, 2);
    place(bankNameBox, QStringLiteral("Bank"), 9, 0);
    place(bankAccountNumberBox, QStringLiteral("Rekeningnummer"), 9, 1);
    place(vatNumberBox, QStringLiteral("BTW-nummer"), 9, 2);
    place(chamberOfCommerceNumberBox, QStringLiteral("KVK-nummer"), 9, 3);
}

ProjectPane::ProjectPane(QWidget *parent) : RecordPane(QStringLiteral("projectPane"), kPaleCyan, parent)
{
    heading = makeHeading(QStringLiteral("Projecten"));
    lookupList = makeLookup(QStringLiteral("Projectlijst"), kCyan);
    counterHeading = makeInfoBox(QStringLiteral("Projecten"));
    counter = makeInfoBox(QString());
    clientCompanyBox = makeInfoBox(QStringLiteral("Opdrachtgever"));
    consultantBox = makeInfoBox(QStringLiteral("Consultant"));

    sequenceNumberBox = bindLine(QStringLiteral("nummer"));
    projectNameBox = bindLine(QStringLiteral("PROJECTNAAM"));
    projectCodeBox = bindLine(QStringLiteral("Projectcode"));
    clientNumberBox = bindLine(QStringLiteral("Opdrachtgevernummer"));
    consultantNumberBox = bindLine(QStringLiteral("Consultantnummer"));
    plannedStartBox = bindLine(QStringLiteral("TijdsplanningDATUMvan"));
    plannedEndBox = bindLine(QStringLiteral("TijdsplanningDATUMtm"));
    durationInDaysBox = bindLine(QStringLiteral("ProjectduurPer8uur"));
    clientDayRateBox = bindLine(QStringLiteral("InkoopDagtariefOpdrachtgever"), 6);
    consultantCommentBox = bindText(QStringLiteral("CommentaarCONSULTANT"), 3);
    adminCommentBox = bindText(QStringLiteral("CommentaarADMIN"), 3, true);
    closingFlagBox = bindLine(QStringLiteral("AFSLUITEN"), 3);
    consultantDayRateBox = bindLine(QStringLiteral("VerkoopDagtariefConsultant"), 6);
    descriptionBox = bindText(QStringLiteral("ProjectOmschrijving"), 2);
    descriptionBox->setMaximumHeight(descriptionBox->minimumHeight());

    deleteProjectButton = smallPicture(QStringLiteral("edit-delete"), QColor(200, 40, 40), QStringLiteral("X"),
                                       QStringLiteral("Dit project verwijderen (dubbel-klik)"), 20);
    closingFlagButton = smallPicture(QStringLiteral("view-refresh"), QColor(40, 140, 60), QStringLiteral("J/N"),
                                     QStringLiteral("Dubbel-klik om het afsluiten te wijzigen"));
    closingFlagHint = new platform::ActionCaption(QStringLiteral("<<  dubbel-klik om te wijzigen"), this);

    buildTop(heading, counterHeading, counter, lookupList, {deleteProjectButton});
    place(projectCodeBox, QStringLiteral("Projectcode"), 0, 0, 2);
    place(projectNameBox, QStringLiteral("Projectnaam"), 0, 2);
    place(sequenceNumberBox, QStringLiteral("Volgnummer"), 0, 3);
    place(clientNumberBox, QStringLiteral("Opdr. nr."), 1, 0);
    place(clientCompanyBox, QStringLiteral("Opdrachtgever"), 1, 1, 3);
    place(consultantNumberBox, QStringLiteral("Cons. nr."), 2, 0);
    place(consultantBox, QStringLiteral("Consultant"), 2, 1, 3);
    place(plannedStartBox, QStringLiteral("Planning van"), 3, 0);
    place(plannedEndBox, QStringLiteral("Planning t/m"), 3, 1);
    place(clientDayRateBox, QStringLiteral("Inkoop dagtarief"), 3, 2);
    place(consultantDayRateBox, QStringLiteral("Verkoop dagtarief"), 3, 3);
    place(durationInDaysBox, QStringLiteral("Duur (x 8 uur)"), 4, 0);

    // The closing flag, its picture and the hint read as one line.
    auto *closing = new QWidget(this);
    auto *h = new QHBoxLayout(closing);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(3);
    closingFlagBox->setFixedWidth(closingFlagBox->fontMetrics().horizontalAdvance(QStringLiteral("NeeW")) + 12);
    h->addWidget(closingFlagBox);
    h->addWidget(closingFlagButton);
    h->addWidget(closingFlagHint, 1);
    place(closing, QStringLiteral("Afsluiten"), 4, 1, 3);

    place(descriptionBox, QStringLiteral("Projectomschrijving"), 5, 0, 4);
    place(consultantCommentBox, QStringLiteral("Commentaar consultant"), 6, 0, 2);
    place(adminCommentBox, QStringLiteral("Commentaar beheerder (wijzigbaar)"), 6, 2, 2);
    grid()->setRowStretch(6, 1);
}

} // namespace talveros::panes
