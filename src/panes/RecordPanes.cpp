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

platform::PictureButton *smallPicture(const QString &name, const QString &icon, const QColor &fallback,
                                      const QString &glyph, const QString &toolTip, int size = 18)
{
    return new platform::PictureButton(name, platform::themedIcon(icon, fallback, glyph), toolTip, nullptr, size);
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

QLabel *RecordPane::makeHeading(const QString &name, const QString &word)
{
    auto *label = new QLabel(headingText(word), this);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSizeF(11);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QComboBox *RecordPane::makeLookup(const QString &name, const QString &designText, const QColor &colour)
{
    QComboBox *combo = platform::captionedList(this, name, designText, colour, true);
    platform::findAsYouType(combo);
    return combo;
}

QLineEdit *RecordPane::makeInfoBox(const QString &name, const QString &designText)
{
    auto *box = new QLineEdit(designText, this);
    box->setObjectName(name);
    box->setReadOnly(true);
    platform::limitTyping(box, 0);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLineEdit *RecordPane::bindLine(const QString &name, const QString &column, int maxLength)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(30);
    box->setFixedHeight(box->fontMetrics().height() + 7);
    platform::limitTyping(box, maxLength);
    m_bindings.append({box, column});
    return box;
}

QPlainTextEdit *RecordPane::bindText(const QString &name, const QString &column, int lines, bool editable)
{
    auto *box = new QPlainTextEdit(this);
    box->setObjectName(name);
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
    heading = makeHeading(QStringLiteral("Label10"), QStringLiteral("Consultants"));
    lookupList = makeLookup(QStringLiteral("Combo1"), QStringLiteral("Consultants lijst"), kGreen);
    counterHeading = makeInfoBox(QStringLiteral("Text45"), QStringLiteral("Consultants"));
    counter = makeInfoBox(QStringLiteral("Text48"), QString());

    sequenceNumberBox = bindLine(QStringLiteral("Text1"), QStringLiteral("nummer"));
    numberBox = bindLine(QStringLiteral("Text2"), QStringLiteral("Consultantnummer"));
    titleBox = bindLine(QStringLiteral("Text3"), QStringLiteral("Titel1"));
    firstNameBox = bindLine(QStringLiteral("Text4"), QStringLiteral("voornaam"));
    surnamePrefixBox = bindLine(QStringLiteral("Text5"), QStringLiteral("tussenvoegsel"));
    surnameBox = bindLine(QStringLiteral("Text6"), QStringLiteral("naam"));
    addressBox = bindLine(QStringLiteral("Text7"), QStringLiteral("adres"));
    postcodeBox = bindLine(QStringLiteral("Text8"), QStringLiteral("postcode"));
    cityBox = bindLine(QStringLiteral("Text9"), QStringLiteral("woonplaats"));
    businessPhoneBox = bindLine(QStringLiteral("Text10"), QStringLiteral("TELzakelijk"));
    businessEmailBox = bindLine(QStringLiteral("Text11"), QStringLiteral("EMAILzakelijk"));
    loginBox = bindLine(QStringLiteral("Text12"), QStringLiteral("LOGIN"));
    passwordBox = bindLine(QStringLiteral("Text13"), QStringLiteral("PASWOORD"));
    organisationNameBox = bindLine(QStringLiteral("Text40"), QStringLiteral("NaamOrganisatie"));
    varStatementBox = bindLine(QStringLiteral("Text41"), QStringLiteral("VARverklaring"));
    bankNameBox = bindLine(QStringLiteral("Text75"), QStringLiteral("BANKnaam"));
    bankAccountNumberBox = bindLine(QStringLiteral("Text76"), QStringLiteral("BANKnummer"));
    vatNumberBox = bindLine(QStringLiteral("Text77"), QStringLiteral("BTWnummer"));
    chamberOfCommerceNumberBox = bindLine(QStringLiteral("Text78"), QStringLiteral("KVKnummer"));
    mobilePhoneBox = bindLine(QStringLiteral("Text96"), QStringLiteral("TELmobiel"));
    privatePhoneBox = bindLine(QStringLiteral("Text112"), QStringLiteral("TELprive"));
    titleSuffixBox = bindLine(QStringLiteral("Text126"), QStringLiteral("Titel2"));
    websiteBox = bindLine(QStringLiteral("Text127"), QStringLiteral("WEBSITE"));
    privateEmailBox = bindLine(QStringLiteral("Text128"), QStringLiteral("EMAILprive"));
    preferredNameBox = bindLine(QStringLiteral("Text134"), QStringLiteral("Roepnaam"));
    jobTitleBox = bindLine(QStringLiteral("Text140"), QStringLiteral("Functie"));

    websiteButton = smallPicture(QStringLiteral("Image16"), QStringLiteral("web-browser"), QColor(40, 110, 200),
                                 QStringLiteral("W"), QStringLiteral("Bezoek de WEBsite van deze consultant"));

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
    heading = makeHeading(QStringLiteral("Label13"), QStringLiteral("Opdrachtgevers"));
    lookupList = makeLookup(QStringLiteral("Combo2"), QStringLiteral("Opdrachtgevers lijst"), kYellow);
    counterHeading = makeInfoBox(QStringLiteral("Text33"), QStringLiteral("Opdrachtgevers"));
    counter = makeInfoBox(QStringLiteral("Text47"), QString());

    sequenceNumberBox = bindLine(QStringLiteral("Text14"), QStringLiteral("nummer"));
    numberBox = bindLine(QStringLiteral("Text15"), QStringLiteral("opdrachtgevernummer"));
    companyBox = bindLine(QStringLiteral("Text16"), QStringLiteral("Bedrijf"));
    titleSuffixBox = bindLine(QStringLiteral("Text17"), QStringLiteral("Titel2"));
    surnameBox = bindLine(QStringLiteral("Text18"), QStringLiteral("naam"));
    surnamePrefixBox = bindLine(QStringLiteral("Text19"), QStringLiteral("tussenvoegsel"));
    firstNameBox = bindLine(QStringLiteral("Text20"), QStringLiteral("voornaam"));
    titleBox = bindLine(QStringLiteral("Text21"), QStringLiteral("Titel1"));
    addressBox = bindLine(QStringLiteral("Text22"), QStringLiteral("adres"));
    cityBox = bindLine(QStringLiteral("Text23"), QStringLiteral("woonplaats"));
    postcodeBox = bindLine(QStringLiteral("Text24"), QStringLiteral("postcode"));
    businessPhoneBox = bindLine(QStringLiteral("Text25"), QStringLiteral("TELzakelijk"));
    businessEmailBox = bindLine(QStringLiteral("Text26"), QStringLiteral("EMAILzakelijk"));
    loginBox = bindLine(QStringLiteral("Text27"), QStringLiteral("LOGIN"));
    passwordBox = bindLine(QStringLiteral("Text28"), QStringLiteral("PASWOORD"));
    jobTitleBox = bindLine(QStringLiteral("Text64"), QStringLiteral("Functie"));
    secretaryPhoneBox = bindLine(QStringLiteral("Text66"), QStringLiteral("TELsecretaresse"));
    bankNameBox = bindLine(QStringLiteral("Text71"), QStringLiteral("BANKnaam"));
    bankAccountNumberBox = bindLine(QStringLiteral("Text72"), QStringLiteral("BANKnummer"));
    vatNumberBox = bindLine(QStringLiteral("Text73"), QStringLiteral("BTWnummer"));
    chamberOfCommerceNumberBox = bindLine(QStringLiteral("Text74"), QStringLiteral("KVKnummer"));
    mobilePhoneBox = bindLine(QStringLiteral("Text95"), QStringLiteral("TELmobiel"));
    assignmentNameBox = bindLine(QStringLiteral("Text116"), QStringLiteral("Opdrachtnaam"));
    secretaryBox = bindLine(QStringLiteral("Text117"), QStringLiteral("Secretaresse"));
    invoiceAddressBox = bindText(QStringLiteral("Text118"), QStringLiteral("Factuuradres"), 3);
    invoiceAddressBox->setMaximumHeight(invoiceAddressBox->minimumHeight());
    secretaryEmailBox = bindLine(QStringLiteral("Text122"), QStringLiteral("EMAILsecretaresse"));
    websiteBox = bindLine(QStringLiteral("Text123"), QStringLiteral("WEBSITE"));
    privatePhoneBox = bindLine(QStringLiteral("Text124"), QStringLiteral("TELprive"));
    privateEmailBox = bindLine(QStringLiteral("Text125"), QStringLiteral("EMAILprive"));
    preferredNameBox = bindLine(QStringLiteral("Text129"), QStringLiteral("Roepnaam"));

    websiteButton = smallPicture(QStringLiteral("Image1"), QStringLiteral("web-browser"), QColor(40, 110, 200),
                                 QStringLiteral("W"), QStringLiteral("Bezoek de WEBsite van deze opdrachtgever"));
    businessMailButton = smallPicture(QStringLiteral("Image18"), QStringLiteral("mail-message-new"),
                                      QColor(200, 140, 30), QStringLiteral("@"),
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
    heading = makeHeading(QStringLiteral("Label14"), QStringLiteral("Projecten"));
    lookupList = makeLookup(QStringLiteral("Combo3"), QStringLiteral("Projectlijst"), kCyan);
    counterHeading = makeInfoBox(QStringLiteral("Text46"), QStringLiteral("Projecten"));
    counter = makeInfoBox(QStringLiteral("Text49"), QString());
    clientCompanyBox = makeInfoBox(QStringLiteral("Text50"), QStringLiteral("Opdrachtgever"));
    consultantBox = makeInfoBox(QStringLiteral("Text51"), QStringLiteral("Consultant"));

    sequenceNumberBox = bindLine(QStringLiteral("Text29"), QStringLiteral("nummer"));
    projectNameBox = bindLine(QStringLiteral("Text30"), QStringLiteral("PROJECTNAAM"));
    projectCodeBox = bindLine(QStringLiteral("Text31"), QStringLiteral("Projectcode"));
    clientNumberBox = bindLine(QStringLiteral("Text32"), QStringLiteral("Opdrachtgevernummer"));
    consultantNumberBox = bindLine(QStringLiteral("Text34"), QStringLiteral("Consultantnummer"));
    plannedStartBox = bindLine(QStringLiteral("Text35"), QStringLiteral("TijdsplanningDATUMvan"));
    plannedEndBox = bindLine(QStringLiteral("Text36"), QStringLiteral("TijdsplanningDATUMtm"));
    durationInDaysBox = bindLine(QStringLiteral("Text37"), QStringLiteral("ProjectduurPer8uur"));
    clientDayRateBox = bindLine(QStringLiteral("Text38"), QStringLiteral("InkoopDagtariefOpdrachtgever"), 6);
    consultantCommentBox = bindText(QStringLiteral("Text42"), QStringLiteral("CommentaarCONSULTANT"), 3);
    adminCommentBox = bindText(QStringLiteral("Text43"), QStringLiteral("CommentaarADMIN"), 3, true);
    closingFlagBox = bindLine(QStringLiteral("Text44"), QStringLiteral("AFSLUITEN"), 3);
    consultantDayRateBox = bindLine(QStringLiteral("Text63"), QStringLiteral("VerkoopDagtariefConsultant"), 6);
    descriptionBox = bindText(QStringLiteral("Text67"), QStringLiteral("ProjectOmschrijving"), 2);
    descriptionBox->setMaximumHeight(descriptionBox->minimumHeight());

    deleteProjectButton = smallPicture(QStringLiteral("Image4"), QStringLiteral("edit-delete"), QColor(200, 40, 40),
                                       QStringLiteral("X"), QStringLiteral("Dit project verwijderen (dubbel-klik)"),
                                       20);
    closingFlagButton = smallPicture(QStringLiteral("Image12"), QStringLiteral("view-refresh"), QColor(40, 140, 60),
                                     QStringLiteral("J/N"), QStringLiteral("Dubbel-klik om het afsluiten te wijzigen"));
    closingFlagHint = new QLabel(QStringLiteral("<<  dubbel-klik om te wijzigen"), this);
    closingFlagHint->setObjectName(QStringLiteral("Label62"));

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
