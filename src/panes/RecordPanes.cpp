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
    Label10 = makeHeading(QStringLiteral("Label10"), QStringLiteral("Consultants"));
    Combo1 = makeLookup(QStringLiteral("Combo1"), QStringLiteral("Consultants lijst"), kGreen);
    Text45 = makeInfoBox(QStringLiteral("Text45"), QStringLiteral("Consultants"));
    Text48 = makeInfoBox(QStringLiteral("Text48"), QString());

    Text1 = bindLine(QStringLiteral("Text1"), QStringLiteral("nummer"));
    Text2 = bindLine(QStringLiteral("Text2"), QStringLiteral("Consultantnummer"));
    Text3 = bindLine(QStringLiteral("Text3"), QStringLiteral("Titel1"));
    Text4 = bindLine(QStringLiteral("Text4"), QStringLiteral("voornaam"));
    Text5 = bindLine(QStringLiteral("Text5"), QStringLiteral("tussenvoegsel"));
    Text6 = bindLine(QStringLiteral("Text6"), QStringLiteral("naam"));
    Text7 = bindLine(QStringLiteral("Text7"), QStringLiteral("adres"));
    Text8 = bindLine(QStringLiteral("Text8"), QStringLiteral("postcode"));
    Text9 = bindLine(QStringLiteral("Text9"), QStringLiteral("woonplaats"));
    Text10 = bindLine(QStringLiteral("Text10"), QStringLiteral("TELzakelijk"));
    Text11 = bindLine(QStringLiteral("Text11"), QStringLiteral("EMAILzakelijk"));
    Text12 = bindLine(QStringLiteral("Text12"), QStringLiteral("LOGIN"));
    Text13 = bindLine(QStringLiteral("Text13"), QStringLiteral("PASWOORD"));
    Text40 = bindLine(QStringLiteral("Text40"), QStringLiteral("NaamOrganisatie"));
    Text41 = bindLine(QStringLiteral("Text41"), QStringLiteral("VARverklaring"));
    Text75 = bindLine(QStringLiteral("Text75"), QStringLiteral("BANKnaam"));
    Text76 = bindLine(QStringLiteral("Text76"), QStringLiteral("BANKnummer"));
    Text77 = bindLine(QStringLiteral("Text77"), QStringLiteral("BTWnummer"));
    Text78 = bindLine(QStringLiteral("Text78"), QStringLiteral("KVKnummer"));
    Text96 = bindLine(QStringLiteral("Text96"), QStringLiteral("TELmobiel"));
    Text112 = bindLine(QStringLiteral("Text112"), QStringLiteral("TELprive"));
    Text126 = bindLine(QStringLiteral("Text126"), QStringLiteral("Titel2"));
    Text127 = bindLine(QStringLiteral("Text127"), QStringLiteral("WEBSITE"));
    Text128 = bindLine(QStringLiteral("Text128"), QStringLiteral("EMAILprive"));
    Text134 = bindLine(QStringLiteral("Text134"), QStringLiteral("Roepnaam"));
    Text140 = bindLine(QStringLiteral("Text140"), QStringLiteral("Functie"));

    Image16 = smallPicture(QStringLiteral("Image16"), QStringLiteral("web-browser"), QColor(40, 110, 200),
                           QStringLiteral("W"), QStringLiteral("Bezoek de WEBsite van deze consultant"));

    buildTop(Label10, Text45, Text48, Combo1);
    place(Text2, QStringLiteral("Nummer"), 0, 0);
    place(Text3, QStringLiteral("Titel"), 0, 1);
    place(Text126, QStringLiteral("Achtervoegsel"), 0, 2);
    place(Text1, QStringLiteral("Volgnummer"), 0, 3);
    place(Text4, QStringLiteral("Voorletters"), 1, 0);
    place(Text5, QStringLiteral("Tussenvoegsel"), 1, 1);
    place(Text6, QStringLiteral("Achternaam"), 1, 2, 2);
    place(Text134, QStringLiteral("Roepnaam"), 2, 0);
    place(Text140, QStringLiteral("Functie"), 2, 1);
    place(Text40, QStringLiteral("Naam organisatie"), 2, 2, 2);
    place(Text7, QStringLiteral("Adres"), 3, 0, 2);
    place(Text8, QStringLiteral("Postcode"), 3, 2);
    place(Text9, QStringLiteral("Woonplaats"), 3, 3);
    place(Text10, QStringLiteral("Tel. zakelijk"), 4, 0);
    place(Text96, QStringLiteral("Tel. mobiel"), 4, 1);
    place(Text112, QStringLiteral("Tel. priv\u00e9"), 4, 2);
    place(Text41, QStringLiteral("VAR-verklaring"), 4, 3);
    place(Text11, QStringLiteral("E-mail zakelijk"), 5, 0, 2);
    place(Text128, QStringLiteral("E-mail priv\u00e9"), 5, 2, 2);
    place(Text127, QStringLiteral("Website"), 6, 0, 2, 1, Image16);
    place(Text12, QStringLiteral("Login"), 6, 2);
    place(Text13, QStringLiteral("Paswoord"), 6, 3);
    place(Text75, QStringLiteral("Bank"), 7, 0);
    place(Text76, QStringLiteral("Rekeningnummer"), 7, 1);
    place(Text77, QStringLiteral("BTW-nummer"), 7, 2);
    place(Text78, QStringLiteral("KVK-nummer"), 7, 3);
}

ClientPane::ClientPane(QWidget *parent) : RecordPane(QStringLiteral("clientPane"), kPaleYellow, parent)
{
    Label13 = makeHeading(QStringLiteral("Label13"), QStringLiteral("Opdrachtgevers"));
    Combo2 = makeLookup(QStringLiteral("Combo2"), QStringLiteral("Opdrachtgevers lijst"), kYellow);
    Text33 = makeInfoBox(QStringLiteral("Text33"), QStringLiteral("Opdrachtgevers"));
    Text47 = makeInfoBox(QStringLiteral("Text47"), QString());

    Text14 = bindLine(QStringLiteral("Text14"), QStringLiteral("nummer"));
    Text15 = bindLine(QStringLiteral("Text15"), QStringLiteral("opdrachtgevernummer"));
    Text16 = bindLine(QStringLiteral("Text16"), QStringLiteral("Bedrijf"));
    Text17 = bindLine(QStringLiteral("Text17"), QStringLiteral("Titel2"));
    Text18 = bindLine(QStringLiteral("Text18"), QStringLiteral("naam"));
    Text19 = bindLine(QStringLiteral("Text19"), QStringLiteral("tussenvoegsel"));
    Text20 = bindLine(QStringLiteral("Text20"), QStringLiteral("voornaam"));
    Text21 = bindLine(QStringLiteral("Text21"), QStringLiteral("Titel1"));
    Text22 = bindLine(QStringLiteral("Text22"), QStringLiteral("adres"));
    Text23 = bindLine(QStringLiteral("Text23"), QStringLiteral("woonplaats"));
    Text24 = bindLine(QStringLiteral("Text24"), QStringLiteral("postcode"));
    Text25 = bindLine(QStringLiteral("Text25"), QStringLiteral("TELzakelijk"));
    Text26 = bindLine(QStringLiteral("Text26"), QStringLiteral("EMAILzakelijk"));
    Text27 = bindLine(QStringLiteral("Text27"), QStringLiteral("LOGIN"));
    Text28 = bindLine(QStringLiteral("Text28"), QStringLiteral("PASWOORD"));
    Text64 = bindLine(QStringLiteral("Text64"), QStringLiteral("Functie"));
    Text66 = bindLine(QStringLiteral("Text66"), QStringLiteral("TELsecretaresse"));
    Text71 = bindLine(QStringLiteral("Text71"), QStringLiteral("BANKnaam"));
    Text72 = bindLine(QStringLiteral("Text72"), QStringLiteral("BANKnummer"));
    Text73 = bindLine(QStringLiteral("Text73"), QStringLiteral("BTWnummer"));
    Text74 = bindLine(QStringLiteral("Text74"), QStringLiteral("KVKnummer"));
    Text95 = bindLine(QStringLiteral("Text95"), QStringLiteral("TELmobiel"));
    Text116 = bindLine(QStringLiteral("Text116"), QStringLiteral("Opdrachtnaam"));
    Text117 = bindLine(QStringLiteral("Text117"), QStringLiteral("Secretaresse"));
    Text118 = bindText(QStringLiteral("Text118"), QStringLiteral("Factuuradres"), 3);
    Text118->setMaximumHeight(Text118->minimumHeight());
    Text122 = bindLine(QStringLiteral("Text122"), QStringLiteral("EMAILsecretaresse"));
    Text123 = bindLine(QStringLiteral("Text123"), QStringLiteral("WEBSITE"));
    Text124 = bindLine(QStringLiteral("Text124"), QStringLiteral("TELprive"));
    Text125 = bindLine(QStringLiteral("Text125"), QStringLiteral("EMAILprive"));
    Text129 = bindLine(QStringLiteral("Text129"), QStringLiteral("Roepnaam"));

    Image1 = smallPicture(QStringLiteral("Image1"), QStringLiteral("web-browser"), QColor(40, 110, 200),
                          QStringLiteral("W"), QStringLiteral("Bezoek de WEBsite van deze opdrachtgever"));
    Image18 = smallPicture(QStringLiteral("Image18"), QStringLiteral("mail-message-new"), QColor(200, 140, 30),
                           QStringLiteral("@"), QStringLiteral("E-Mail ZAKELIJK naar deze opdrachtgever"));

    buildTop(Label13, Text33, Text47, Combo2);
    place(Text15, QStringLiteral("Nummer"), 0, 0);
    place(Text16, QStringLiteral("Bedrijf"), 0, 1, 2);
    place(Text14, QStringLiteral("Volgnummer"), 0, 3);
    place(Text116, QStringLiteral("Opdracht"), 1, 0, 2);
    place(Text21, QStringLiteral("Titel"), 1, 2);
    place(Text17, QStringLiteral("Achtervoegsel"), 1, 3);
    place(Text20, QStringLiteral("Voorletters"), 2, 0);
    place(Text19, QStringLiteral("Tussenvoegsel"), 2, 1);
    place(Text18, QStringLiteral("Achternaam"), 2, 2, 2);
    place(Text129, QStringLiteral("Roepnaam"), 3, 0);
    place(Text64, QStringLiteral("Functie"), 3, 1);
    place(Text117, QStringLiteral("Secretaresse"), 3, 2, 2);
    place(Text25, QStringLiteral("Tel. zakelijk"), 4, 0);
    place(Text95, QStringLiteral("Tel. mobiel"), 4, 1);
    place(Text124, QStringLiteral("Tel. priv\u00e9"), 4, 2);
    place(Text66, QStringLiteral("Tel. secretaresse"), 4, 3);
    place(Text22, QStringLiteral("Bezoekadres"), 5, 0, 2);
    place(Text24, QStringLiteral("Postcode"), 5, 2);
    place(Text23, QStringLiteral("Woonplaats"), 5, 3);
    place(Text118, QStringLiteral("Factuuradres"), 6, 0, 2);
    place(Text27, QStringLiteral("Login"), 6, 2);
    place(Text28, QStringLiteral("Paswoord"), 6, 3);
    place(Text26, QStringLiteral("E-mail zakelijk"), 7, 0, 2, 1, Image18);
    place(Text125, QStringLiteral("E-mail priv\u00e9"), 7, 2, 2);
    place(Text123, QStringLiteral("Website"), 8, 0, 2, 1, Image1);
    place(Text122, QStringLiteral("E-mail secretaresse"), 8, 2, 2);
    place(Text71, QStringLiteral("Bank"), 9, 0);
    place(Text72, QStringLiteral("Rekeningnummer"), 9, 1);
    place(Text73, QStringLiteral("BTW-nummer"), 9, 2);
    place(Text74, QStringLiteral("KVK-nummer"), 9, 3);
}

ProjectPane::ProjectPane(QWidget *parent) : RecordPane(QStringLiteral("projectPane"), kPaleCyan, parent)
{
    Label14 = makeHeading(QStringLiteral("Label14"), QStringLiteral("Projecten"));
    Combo3 = makeLookup(QStringLiteral("Combo3"), QStringLiteral("Projectlijst"), kCyan);
    Text46 = makeInfoBox(QStringLiteral("Text46"), QStringLiteral("Projecten"));
    Text49 = makeInfoBox(QStringLiteral("Text49"), QString());
    Text50 = makeInfoBox(QStringLiteral("Text50"), QStringLiteral("Opdrachtgever"));
    Text51 = makeInfoBox(QStringLiteral("Text51"), QStringLiteral("Consultant"));

    Text29 = bindLine(QStringLiteral("Text29"), QStringLiteral("nummer"));
    Text30 = bindLine(QStringLiteral("Text30"), QStringLiteral("PROJECTNAAM"));
    Text31 = bindLine(QStringLiteral("Text31"), QStringLiteral("Projectcode"));
    Text32 = bindLine(QStringLiteral("Text32"), QStringLiteral("Opdrachtgevernummer"));
    Text34 = bindLine(QStringLiteral("Text34"), QStringLiteral("Consultantnummer"));
    Text35 = bindLine(QStringLiteral("Text35"), QStringLiteral("TijdsplanningDATUMvan"));
    Text36 = bindLine(QStringLiteral("Text36"), QStringLiteral("TijdsplanningDATUMtm"));
    Text37 = bindLine(QStringLiteral("Text37"), QStringLiteral("ProjectduurPer8uur"));
    Text38 = bindLine(QStringLiteral("Text38"), QStringLiteral("InkoopDagtariefOpdrachtgever"), 6);
    Text42 = bindText(QStringLiteral("Text42"), QStringLiteral("CommentaarCONSULTANT"), 3);
    Text43 = bindText(QStringLiteral("Text43"), QStringLiteral("CommentaarADMIN"), 3, true);
    Text44 = bindLine(QStringLiteral("Text44"), QStringLiteral("AFSLUITEN"), 3);
    Text63 = bindLine(QStringLiteral("Text63"), QStringLiteral("VerkoopDagtariefConsultant"), 6);
    Text67 = bindText(QStringLiteral("Text67"), QStringLiteral("ProjectOmschrijving"), 2);
    Text67->setMaximumHeight(Text67->minimumHeight());

    Image4 = smallPicture(QStringLiteral("Image4"), QStringLiteral("edit-delete"), QColor(200, 40, 40),
                          QStringLiteral("X"), QStringLiteral("Dit project verwijderen (dubbel-klik)"), 20);
    Image12 = smallPicture(QStringLiteral("Image12"), QStringLiteral("view-refresh"), QColor(40, 140, 60),
                           QStringLiteral("J/N"), QStringLiteral("Dubbel-klik om het afsluiten te wijzigen"));
    Label62 = new QLabel(QStringLiteral("<<  dubbel-klik om te wijzigen"), this);
    Label62->setObjectName(QStringLiteral("Label62"));

    buildTop(Label14, Text46, Text49, Combo3, {Image4});
    place(Text31, QStringLiteral("Projectcode"), 0, 0, 2);
    place(Text30, QStringLiteral("Projectnaam"), 0, 2);
    place(Text29, QStringLiteral("Volgnummer"), 0, 3);
    place(Text32, QStringLiteral("Opdr. nr."), 1, 0);
    place(Text50, QStringLiteral("Opdrachtgever"), 1, 1, 3);
    place(Text34, QStringLiteral("Cons. nr."), 2, 0);
    place(Text51, QStringLiteral("Consultant"), 2, 1, 3);
    place(Text35, QStringLiteral("Planning van"), 3, 0);
    place(Text36, QStringLiteral("Planning t/m"), 3, 1);
    place(Text38, QStringLiteral("Inkoop dagtarief"), 3, 2);
    place(Text63, QStringLiteral("Verkoop dagtarief"), 3, 3);
    place(Text37, QStringLiteral("Duur (x 8 uur)"), 4, 0);

    // The closing flag, its picture and the hint read as one line.
    auto *closing = new QWidget(this);
    auto *h = new QHBoxLayout(closing);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(3);
    Text44->setFixedWidth(Text44->fontMetrics().horizontalAdvance(QStringLiteral("NeeW")) + 12);
    h->addWidget(Text44);
    h->addWidget(Image12);
    h->addWidget(Label62, 1);
    place(closing, QStringLiteral("Afsluiten"), 4, 1, 3);

    place(Text67, QStringLiteral("Projectomschrijving"), 5, 0, 4);
    place(Text42, QStringLiteral("Commentaar consultant"), 6, 0, 2);
    place(Text43, QStringLiteral("Commentaar beheerder (wijzigbaar)"), 6, 2, 2);
    grid()->setRowStretch(6, 1);
}

} // namespace talveros::panes
