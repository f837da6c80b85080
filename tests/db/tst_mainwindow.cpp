#include "data/BoundSource.h"
#include "mainwindow/Form1.h"
#include "messages/CommunicationTab.h"
#include "messages/Ticker.h"
#include "platform/TextBox.h"
#include "registration/EntryTabs.h"
#include "signin/Form1Host.h"
#include "signin/frmSplash.h"
#include "support/FaultProxy.h"
#include "support/WindowRig.h"
#include "tools/WebView.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCompleter>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;

namespace {

// Consultants in an order that is not their text order, one without title and prefix.
void seedMasterData()
{
    test::insertRows(Database::Main, kConsultants,
                     {"consultantnummer", "Titel1", "voornaam", "tussenvoegsel", "naam", "NaamOrganisatie"},
                     {{s("0003"), s("drs."), s("P."), s("de"), s("Vries"), s("De Vries Advies")},
                      {s("0001"), s(""), s("Anna"), s(""), s("Smit"), s("Smit & Co")},
                      {s("0002"), s("ir."), s("J.P."), s("van"), s("Dijk"), s("Van Dijk B.V.")}});
    test::insertRows(Database::Main, kClients, {"Opdrachtgevernummer", "Bedrijf"},
                     {{s("0002"), s("Gemeente Zeist  (ICT)")}, {s("0001"), s("Waterschap  (Inkoop)")}});
    test::insertRows(Database::Main, kProjects,
                     {"Projectnaam", "Projectcode", "Opdrachtgevernummer", "consultantnummer", "ProjectOmschrijving",
                      "TijdsplanningDATUMvan", "TijdsplanningDATUMtm", "ProjectduurPer8uur",
                      "InkoopDagtariefOpdrachtgever", "VerkoopDagtariefConsultant", "CommentaarCONSULTANT",
                      "CommentaarADMIN", "AFSLUITEN"},
                     {{s("Zaak"), s("0002Zaak0001"), s("0001"), s("0002"), s("Regel 1\nRegel 2"), s("2008/01/01"),
                       s("2008/03/31"), s("60"), s("900"), s("750"), s("Welkom"), s("GEEN"), s("Nee")},
                      {s("Audit"), s("0003Audit0002"), s("0002"), s("0003"), s(""), s(""), s(""), s("0"), s("0"),
                       s("0"), s("GEEN"), s("GEEN"), s("Nee")},
                      {s("O'Brien"), s("0001O'Brien0002"), s("0002"), s("0001"), s(""), s(""), s(""), s("0"), s("0"),
                       s("0"), s("GEEN"), s("GEEN"), s("Ja")}});
}

void setMessage(const std::optional<QString> &text)
{
    test::resetTable(Database::Main, kMessages);
    if (text)
        test::insertRows(Database::Main, kMessages, {"Bericht"}, {{text}});
}

std::vector<Row> storedMessage() { return test::tableRows(Database::Main, kMessages, {"Bericht"}); }

// Types into the list's field and chooses the only entry it then offers, by keys.
void chooseByTyping(QComboBox *combo, const QString &typed)
{
    combo->setFocus();
    combo->lineEdit()->selectAll();
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCompleter *completer = combo->completer();
    QCOMPARE(completer->completionCount(), 1);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
}

struct Rig : test::WindowRig {
    bool running() const { return !named<platform::PictureButton>(form, "Image26")->isHidden(); }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        test::emptyWindowTables();
    }

    void startUpFillsListsCountersAndPanes()
    {
        seedMasterData();
        Rig rig;
        QCOMPARE(items(rig.combo("Combo1")),
                 (QStringList{"0001   Anna  Smit", "0002  ir. J.P. van Dijk", "0003  drs. P. de Vries"}));
        QCOMPARE(items(rig.combo("Combo5")),
                 (QStringList{"0003  drs. P. de Vries", "0001   Anna  Smit", "0002  ir. J.P. van Dijk"}));
        QCOMPARE(items(rig.combo("Combo2")), (QStringList{"0001  Waterschap  (Inkoop)", "0002  Gemeente Zeist  (ICT)"}));
        QCOMPARE(items(rig.combo("Combo4")), (QStringList{"0002  Gemeente Zeist  (ICT)", "0001  Waterschap  (Inkoop)"}));
        QCOMPARE(items(rig.combo("Combo3")), (QStringList{"0001O'Brien0002", "0002Zaak0001", "0003Audit0002"}));
        QCOMPARE(items(rig.combo("Combo6")), (QStringList{"0002Zaak0001", "0003Audit0002", "0001O'Brien0002"}));
        QCOMPARE(rig.text("Text48"), QStringLiteral(" 3"));
        QCOMPARE(rig.text("Text47"), QStringLiteral(" 2"));
        QCOMPARE(rig.text("Text49"), QStringLiteral(" 3"));
        // The lists keep showing their captions until something is chosen.
        QCOMPARE(rig.combo("Combo1")->currentText(), QStringLiteral("Consultants lijst"));
        QCOMPARE(rig.combo("Combo6")->currentText(), QStringLiteral("Een bestaand project ophalen en invullen"));
        // Panes on their first rows; the first project's client and consultant described.
        QCOMPARE(rig.text("Text2"), QStringLiteral("0003"));
        QCOMPARE(rig.text("Text15"), QStringLiteral("0002"));
        QCOMPARE(rig.text("Text31"), QStringLiteral("0002Zaak0001"));
        QCOMPARE(rig.text("Text67"), QStringLiteral("Regel 1\nRegel 2"));
        QCOMPARE(rig.text("Text50"), QStringLiteral("Waterschap  (Inkoop)"));
        QCOMPARE(rig.text("Text51"), QStringLiteral("ir. J.P. van Dijk"));
        QCOMPARE(named<QCalendarWidget>(rig.form, "Calendar1")->selectedDate(), QDate(2008, 1, 15));
        QVERIFY(named<QTimer>(rig.form, "Timer2")->isActive());
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void startUpWithEmptyTables()
    {
        Rig rig;
        for (const char *counter : {"Text47", "Text48", "Text49"})
            QCOMPARE(rig.text(counter), QStringLiteral(" 0"));
        QCOMPARE(rig.combo("Combo1")->count(), 0);
        QCOMPARE(rig.text("Text2"), QString());
        QCOMPARE(rig.text("Text50"), QString());
        QCOMPARE(rig.text("Text51"), QStringLiteral("   "));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void firstProjectWithUnknownClientShowsEmptyText()
    {
        seedMasterData();
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET Opdrachtgevernummer='9999' WHERE nummer=1"));
        Rig rig;
        QCOMPARE(rig.text("Text50"), QString());
        QCOMPARE(rig.text("Text15"), QStringLiteral("0002")); // pane back on the first client
    }

    void clockAndInformationBox_data()
    {
        QTest::addColumn<QDate>("calendar");
        QTest::addColumn<bool>("boxShown");
        QTest::newRow("11 January") << QDate(2009, 1, 11) << true;
        QTest::newRow("12 January") << QDate(2009, 1, 12) << false;
        QTest::newRow("11 February") << QDate(2009, 2, 11) << false;
    }
    void clockAndInformationBox()
    {
        QFETCH(QDate, calendar);
        QFETCH(bool, boxShown);
        Rig rig;
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        rig.clock.at = QDateTime(QDate(2008, 1, 5), QTime(9, 5, 7));
        rig.window.tickClock();
        QCOMPARE(named<QLabel>(rig.form, "Label46")->text(), QStringLiteral("01-05-2008  09:05:07"));
        QLocale::setDefault(QLocale::c());
        named<QCalendarWidget>(rig.form, "Calendar1")->setSelectedDate(calendar);
        QTest::mouseDClick(named<QLabel>(rig.form, "Label19"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(boxShown ? 1 : 0));
        if (boxShown) {
            QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
            QCOMPARE(rig.dialogs.boxes[0].buttons, platform::Buttons::Ok);
        }
    }

    void webViewCloses()
    {
        Rig rig;
        named<tools::WebView>(rig.form, "WebBrowser1")->show();
        named<platform::PictureButton>(rig.form, "Picture1")->show();
        QTest::mouseClick(named<platform::PictureButton>(rig.form, "Picture1"), Qt::LeftButton);
        QVERIFY(named<tools::WebView>(rig.form, "WebBrowser1")->isHidden());
        QVERIFY(named<platform::PictureButton>(rig.form, "Picture1")->isHidden());
    }

    void tickerStartsInTheStoredState_data()
    {
        QTest::addColumn<std::optional<QString>>("stored");
        QTest::addColumn<bool>("running");
        QTest::newRow("message") << std::optional<QString>(QStringLiteral("Let op")) << true;
        QTest::newRow("empty") << std::optional<QString>(QString()) << false;
        QTest::newRow("no row") << std::optional<QString>() << false;
        QTest::newRow("longer than a one-line box holds by default")
            << std::optional<QString>(QString(40000, u'm') + QStringLiteral("einde")) << true;
    }
    void tickerStartsInTheStoredState()
    {
        QFETCH(std::optional<QString>, stored);
        QFETCH(bool, running);
        setMessage(stored);
        Rig rig;
        auto *tab = named<messages::CommunicationTab>(rig.form, "communication");
        QCOMPARE(tab->messageBox->text(), stored.value_or(QString()));
        QCOMPARE(rig.running(), running);
        QCOMPARE(tab->sendButton->isHidden(), running);
        QCOMPARE(tab->sendCaption->isHidden(), running);
        QCOMPARE(tab->stopCaption->isHidden(), !running);
        QCOMPARE(tab->tickerStateHeading->text(),
                 running ? QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant LOOPT)")
                         : QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)"));
        QCOMPARE(tab->messageBox->palette().color(QPalette::Base),
                 running ? QColor(192, 255, 192) : QColor(255, 192, 192));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void tickerSendStopAndPresets()
    {
        setMessage(QStringLiteral("Oud bericht"));
        Rig rig;
        auto *tab = named<messages::CommunicationTab>(rig.form, "communication");
        // Running: a preset is published at once.
        QTest::mouseClick(tab->presetMaintenance, Qt::LeftButton);
        QCOMPARE(storedMessage(), (std::vector<Row>{{tab->presetMaintenance->text()}}));
        QVERIFY(rig.running());
        QTest::mouseClick(tab->stopButton, Qt::LeftButton);
        QCOMPARE(storedMessage(), (std::vector<Row>{{QString()}}));
        QVERIFY(!rig.running());
        QCOMPARE(tab->messageBox->text(), tab->presetMaintenance->text()); // kept for sending again
        // Stopped: a preset only changes the box.
        QTest::mouseClick(tab->presetGeneral, Qt::LeftButton);
        QCOMPARE(tab->messageBox->text(),
                 QStringLiteral("ALGEMEEN: Graag al uw openstaande declaraties uitvoeren over de vorige maand"));
        QCOMPARE(storedMessage(), (std::vector<Row>{{QString()}}));
        QTest::mouseClick(tab->sendButton, Qt::LeftButton);
        QCOMPARE(storedMessage(), (std::vector<Row>{{tab->presetGeneral->text()}}));
        QVERIFY(rig.running());
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // A double-click on a picture that acts on a click is one click (and a double-click
    // it ignores), also where the first click puts another picture in its place.
    void doubleClickOnAClickPictureActsOnce_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("running"); // afterwards; it starts the other way round, except for Image18
        QTest::addColumn<int>("mails");
        QTest::newRow("Image25 sends once") << "Image25" << true << 0;
        QTest::newRow("Image26 stops once") << "Image26" << false << 0;
        QTest::newRow("Image18 opens one mail") << "Image18" << false << 1;
    }
    void doubleClickOnAClickPictureActsOnce()
    {
        QFETCH(QString, picture);
        QFETCH(bool, running);
        QFETCH(int, mails);
        setMessage(picture == "Image26" ? QStringLiteral("Let op") : QString());
        Rig rig;
        named<QLineEdit>(rig.form, "Text144")->setText(QStringLiteral("Let op"));
        named<QTabWidget>(rig.form, "SSTab1")->setCurrentIndex(3);
        rig.form.resize(1200, 900);
        rig.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
        auto *target = rig.form.findChild<QWidget *>(picture);
        QVERIFY(target && target->isVisible());
        // Through the window, as the desktop delivers it: press, release, press,
        // double-click, release, each to whatever stands under the pointer then.
        QTest::mouseDClick(rig.form.windowHandle(), Qt::LeftButton, {},
                           target->mapTo(&rig.form, target->rect().center()));
        QCOMPARE(storedMessage(), (std::vector<Row>{{running ? QStringLiteral("Let op") : QString()}}));
        QCOMPARE(rig.running(), running);
        QCOMPARE(rig.shell.opened.size(), mails);
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void sendingAnEmptyMessageShowsStopped()
    {
        setMessage(QString());
        Rig rig;
        QTest::mouseClick(named<platform::PictureButton>(rig.form, "Image25"), Qt::LeftButton);
        QCOMPARE(storedMessage(), (std::vector<Row>{{QString()}}));
        QVERIFY(!rig.running());
    }

    // A message whose reply is lost is looked up once its session has ended: stored is
    // shown as sent, anything else is told, and nothing is called a change made elsewhere.
    void tickerMessageWithLostReply_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("said");
        QTest::newRow("stored") << "blackhole-after" << "Let op" << "";
        QTest::newRow("not sent") << "rst-before" << "Oud bericht" << messages::messageNotStoredText();
    }
    void tickerMessageWithLostReply()
    {
        QFETCH(QString, action);
        QFETCH(QString, stored);
        QFETCH(QString, said);
        setMessage(QStringLiteral("Oud bericht"));
        Rig rig;
        named<QLineEdit>(rig.form, "Text144")->setText(QStringLiteral("Let op"));
        {
            test::FaultProxy proxy("^UPDATE `TALVERO_berichten`", action);
            QTest::mouseClick(named<platform::PictureButton>(rig.form, "Image25"), Qt::LeftButton);
            QVERIFY2(proxy.fired(), qPrintable(proxy.log()));
        }
        QCOMPARE(storedMessage(), (std::vector<Row>{{stored}}));
        QCOMPARE(rig.dialogs.texts().size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QVERIFY2(rig.dialogs.texts().front().startsWith(said), qPrintable(rig.dialogs.texts().front()));
        // Sending again stores it, whatever the first attempt did.
        QTest::mouseClick(named<platform::PictureButton>(rig.form, "Image25"), Qt::LeftButton);
        QCOMPARE(storedMessage(), (std::vector<Row>{{QStringLiteral("Let op")}}));
    }

    void tickerWithoutMessageRowWritesNothing()
    {
        setMessage(std::nullopt);
        Rig rig;
        QTest::mouseClick(named<QRadioButton>(rig.form, "Option3"), Qt::LeftButton);
        QTest::mouseClick(named<platform::PictureButton>(rig.form, "Image25"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.texts(), QStringList{messages::missingMessageRowText()});
        QVERIFY(!rig.running());
        QVERIFY(storedMessage().empty());
    }

    void lookUps()
    {
        seedMasterData();
        Rig rig;
        choose(rig.combo("Combo1"), QStringLiteral("0001   Anna  Smit"));
        QCOMPARE(rig.text("Text6"), QStringLiteral("Smit"));
        QCOMPARE(rig.combo("Combo1")->currentText(), QStringLiteral("0001   Anna  Smit"));
        choose(rig.combo("Combo2"), QStringLiteral("0001  Waterschap  (Inkoop)"));
        QCOMPARE(rig.text("Text16"), QStringLiteral("Waterschap  (Inkoop)"));

        // A project with a quote in its code; the panes follow to its client and consultant.
        choose(rig.combo("Combo3"), QStringLiteral("0001O'Brien0002"));
        QCOMPARE(rig.text("Text30"), QStringLiteral("O'Brien"));
        QCOMPARE(rig.text("Text44"), QStringLiteral("Ja"));
        QCOMPARE(rig.text("Text15"), QStringLiteral("0002"));
        QCOMPARE(rig.text("Text2"), QStringLiteral("0001"));
        QCOMPARE(rig.text("Text50"), QStringLiteral("Gemeente Zeist  (ICT)"));
        QCOMPARE(rig.text("Text51"), QStringLiteral("Smit & Co")); // the organisation after a look-up
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // Choosing an entry found by typing does what choosing it from the list does.
    void lookUpsByTyping()
    {
        seedMasterData();
        Rig rig;
        rig.form.show();
        chooseByTyping(rig.combo("Combo1"), QStringLiteral("SMIT"));
        QCOMPARE(rig.text("Text6"), QStringLiteral("Smit"));
        QCOMPARE(rig.combo("Combo1")->currentText(), QStringLiteral("0001   Anna  Smit"));
        chooseByTyping(rig.combo("Combo2"), QStringLiteral("inkoop"));
        QCOMPARE(rig.text("Text16"), QStringLiteral("Waterschap  (Inkoop)"));
        chooseByTyping(rig.combo("Combo3"), QStringLiteral("'b"));
        QCOMPARE(rig.text("Text30"), QStringLiteral("O'Brien"));
        QCOMPARE(rig.text("Text50"), QStringLiteral("Gemeente Zeist  (ICT)"));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void shortKeysFindNothing_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("three digits") << QStringLiteral("012");
        QTest::newRow("five digits") << QStringLiteral("00123");
    }
    void shortKeysFindNothing()
    {
        QFETCH(QString, stored);
        test::insertRows(Database::Main, kConsultants, {"consultantnummer", "naam"}, {{s("0001"), s("Eerst")}, {stored, s("Kort")}});
        Rig rig;
        choose(rig.combo("Combo1"), stored + QStringLiteral("     Kort"));
        // The key takes four characters of the entry, so the row is not found and the
        // pane shows empty boxes rather than another consultant.
        QCOMPARE(rig.text("Text6"), QString());
        QCOMPARE(rig.text("Text2"), QString());
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void projectFetchLeavesPanesOnTheRowTheyShowed()
    {
        // The client and consultant numbers repeat: the panes stand on the second rows,
        // and a description that looks the project's parts up must neither move them to
        // the first nor repaint them.
        test::insertRows(Database::Main, kClients, {"Opdrachtgevernummer", "Bedrijf"}, {{s("0001"), s("Eerste")}, {s("0001"), s("Tweede")}});
        test::insertRows(Database::Main, kConsultants, {"consultantnummer", "naam"}, {{s("0002"), s("Eerst")}, {s("0002"), s("Later")}});
        test::insertRows(Database::Main, kProjects, {"Projectcode", "Opdrachtgevernummer", "Consultantnummer"},
                         {{s("P1"), s("0001"), s("0002")}});
        Rig rig;
        auto *clients = named<data::BoundSource>(rig.form, "Adodc2");
        auto *consultants = named<data::BoundSource>(rig.form, "Adodc1");
        clients->moveNext();
        consultants->moveNext();
        QSignalSpy clientMoves(clients, &data::BoundSource::currentChanged);
        QSignalSpy consultantMoves(consultants, &data::BoundSource::currentChanged);
        choose(named<QComboBox>(rig.form, "Combo6"), QStringLiteral("P1"));
        QCOMPARE(clientMoves.count() + consultantMoves.count(), 0);
        QCOMPARE(rig.text("Text16"), QStringLiteral("Tweede"));
        QCOMPARE(rig.text("Text6"), QStringLiteral("Later"));
        QCOMPARE(rig.text("Text50"), QStringLiteral("Eerste"));
        QCOMPARE(rig.text("Text51"), QStringLiteral("   Eerst"));
    }

    void projectFetchCopiesIntoTheEntryScreen()
    {
        seedMasterData();
        Rig rig;
        auto *e = named<registration::ProjectEntryTab>(rig.form, "projectEntry");
        choose(rig.combo("Combo2"), QStringLiteral("0001  Waterschap  (Inkoop)"));
        choose(e->projectPicker, QStringLiteral("0002Zaak0001"));
        // The panes return to what they showed.
        QCOMPARE(rig.text("Text15"), QStringLiteral("0001"));
        QCOMPARE(rig.text("Text2"), QStringLiteral("0003"));
        QCOMPARE(rig.text("Text31"), QStringLiteral("0002Zaak0001"));
        QCOMPARE(rig.text("Text51"), QStringLiteral("ir. J.P. van Dijk"));
        QCOMPARE(e->projectNameBox->text(), QStringLiteral("Zaak"));
        QCOMPARE(e->projectCodeBox->text(), QStringLiteral("0002Zaak0001"));
        QCOMPARE(e->descriptionBox->toPlainText(), QStringLiteral("Regel 1\nRegel 2"));
        QCOMPARE(e->clientNumberBox->text(), QStringLiteral("0001"));
        QCOMPARE(e->consultantNumberBox->text(), QStringLiteral("0002"));
        QCOMPARE(e->clientPicker->currentText(), QStringLiteral("0001 Waterschap  (Inkoop)"));
        QCOMPARE(e->consultantPicker->currentText(), QStringLiteral("0002 ir. J.P. van Dijk"));
        QCOMPARE(e->clientPicker->findText(e->clientPicker->currentText()), -1);
        QCOMPARE(e->startDateBox->text(), QStringLiteral("2008/01/01"));
        QCOMPARE(e->endDateBox->text(), QStringLiteral("2008/03/31"));
        QCOMPARE(e->contractDurationBox->text(), QStringLiteral("60"));
        QCOMPARE(e->purchaseDayRateBox->text(), QStringLiteral("900"));
        QCOMPARE(e->salesDayRateBox->text(), QStringLiteral("750"));
        QCOMPARE(e->consultantMessageBox->toPlainText(), QStringLiteral("Welkom"));
        // Typing in the name recomposes the code.
        QTest::keyClicks(e->projectNameBox, QStringLiteral("X"));
        QCOMPARE(e->projectCodeBox->text(), QStringLiteral("0002ZaakX0001"));
    }

    void adminCommentIsStoredWhenTheProjectPaneMoves()
    {
        seedMasterData();
        Rig rig;
        auto *comment = named<QPlainTextEdit>(rig.form, "Text43");
        QVERIFY(!comment->isReadOnly());
        comment->setPlainText(QStringLiteral("Factuur 'dubbel' \\ controleren — ë"));
        choose(rig.combo("Combo3"), QStringLiteral("0003Audit0002"));
        const auto rows = test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"});
        QCOMPARE(rows[0], (Row{QStringLiteral("Factuur 'dubbel' \\ controleren — ë")}));
        QCOMPARE(rows[1], (Row{QStringLiteral("GEEN")}));
        QCOMPARE(rig.text("Text43"), QStringLiteral("GEEN"));
    }

    void adminCommentIsStoredWhenTheWindowCloses()
    {
        seedMasterData();
        Rig rig;
        rig.form.show();
        named<QPlainTextEdit>(rig.form, "Text43")->setPlainText(QStringLiteral("Bij sluiten"));
        QVERIFY(rig.form.close());
        QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0], (Row{QStringLiteral("Bij sluiten")}));
    }

    // Another workstation stored its comment first: this one is told, with its own text
    // quoted, sees the stored text, and closing writes nothing over it.
    void refusedCommentIsQuotedAndNeverWrittenOverTheOther()
    {
        seedMasterData();
        Rig rig;
        rig.form.show();
        named<QPlainTextEdit>(rig.form, "Text43")->setPlainText(QStringLiteral("Mijn opmerking"));
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET CommentaarADMIN='Andere werkplek' WHERE nummer=1"));
        choose(rig.combo("Combo3"), QStringLiteral("0003Audit0002"));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QVERIFY(rig.dialogs.boxes[0].text.contains(QStringLiteral("\u201CMijn opmerking\u201D")));
        QCOMPARE(rig.text("Text43"), QStringLiteral("Andere werkplek"));
        QCOMPARE(rig.text("Text31"), QStringLiteral("0002Zaak0001"));
        QVERIFY(rig.form.close());
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0], (Row{QStringLiteral("Andere werkplek")}));
    }

    // Bound boxes show what is stored, however long, and the fetch copies it whole.
    void boundValuesAreShownAndCopiedWhole()
    {
        const QString nbsp(QChar(0x00A0));
        const QString comment = "Eerste\r\nTweede\nDerde" + nbsp + "regel " + QString(600, u'c');
        test::insertRows(Database::Main, kProjects,
                         {"Projectnaam", "Projectcode", "InkoopDagtariefOpdrachtgever", "VerkoopDagtariefConsultant",
                          "AFSLUITEN", "CommentaarCONSULTANT", "ProjectOmschrijving", "CommentaarADMIN"},
                         {{s("Lang"), s("0001Lang0001"), s("1234567,50"), s("98765432"), s("Nee, nog niet"),
                           s(comment), s("Omschrijving\r\nmet CR LF"), s(comment)}});
        Rig rig;
        QCOMPARE(rig.text("Text38"), QStringLiteral("1234567,50"));
        QCOMPARE(rig.text("Text63"), QStringLiteral("98765432"));
        QCOMPARE(rig.text("Text44"), QStringLiteral("Nee, nog niet"));
        QCOMPARE(platform::boxText(named<QPlainTextEdit>(rig.form, "Text42")), comment);

        choose(rig.combo("Combo6"), QStringLiteral("0001Lang0001"));
        auto *e = named<registration::ProjectEntryTab>(rig.form, "projectEntry");
        QCOMPARE(e->purchaseDayRateBox->text(), QStringLiteral("1234567,50"));
        QCOMPARE(e->salesDayRateBox->text(), QStringLiteral("98765432"));
        QCOMPARE(platform::boxText(e->consultantMessageBox), comment);
        QCOMPARE(platform::boxText(e->descriptionBox), QStringLiteral("Omschrijving\r\nmet CR LF"));
        // Nothing was written by merely showing and copying.
        QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN", "AFSLUITEN"})[0],
                 (Row{comment, QStringLiteral("Nee, nog niet")}));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // The administrator's comment goes back as stored, with only the typed part new and
    // its new line stored as CR LF.
    void adminCommentKeepsStoredLineEnds()
    {
        const QString nbsp(QChar(0x00A0));
        const QString stored = "Regel 1\r\nRegel 2\nmet" + nbsp + "spatie " + QString(600, u'a');
        test::insertRows(Database::Main, kProjects, {"Projectnaam", "Projectcode", "CommentaarADMIN"},
                         {{s("Een"), s("0001Een0001"), s(stored)}, {s("Twee"), s("0001Twee0001"), s("GEEN")}});
        Rig rig;
        auto *box = named<QPlainTextEdit>(rig.form, "Text43");
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("Nieuw"));
        choose(rig.combo("Combo3"), QStringLiteral("0001Twee0001"));
        QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0], (Row{stored + "\r\nNieuw"}));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // With the server gone a pending edit cannot be stored: the administrator may close
    // without it, or keep the window open.
    void closingWithAnEditTheServerCannotTake_data()
    {
        QTest::addColumn<bool>("closeAnyway");
        QTest::newRow("No keeps the window") << false;
        QTest::newRow("Yes closes without storing") << true;
    }
    void closingWithAnEditTheServerCannotTake()
    {
        QFETCH(bool, closeAnyway);
        seedMasterData();
        Rig rig;
        rig.form.show();
        named<QPlainTextEdit>(rig.form, "Text43")->setPlainText(QStringLiteral("Niet opgeslagen"));
        test::stopServer();
        rig.dialogs.answers.push_back(closeAnyway ? platform::Answer::Yes : platform::Answer::No);
        const bool closed = rig.form.close();
        test::startServer();
        QCOMPARE(closed, closeAnyway);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::Critical);
        QCOMPARE(rig.dialogs.boxes[1].text, mainwindow::unsavedEditQuestion());
        QCOMPARE(rig.dialogs.boxes[1].buttons, platform::Buttons::YesNo);
        QCOMPARE(rig.dialogs.boxes[1].title, QStringLiteral("Talveros"));
        if (closeAnyway) {
            // The edit was let go: nothing is left to store once the server is back.
            QVERIFY(rig.window.storePendingEdits());
            QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0], (Row{QStringLiteral("GEEN")}));
        } else {
            QVERIFY(rig.form.isVisible());
            QCOMPARE(rig.text("Text43"), QStringLiteral("Niet opgeslagen"));
            // Once the server is back, closing stores the edit.
            QVERIFY(rig.form.close());
            QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0],
                     (Row{QStringLiteral("Niet opgeslagen")}));
        }
    }

    // The desktop session ends and the program with it, whatever the answer: the box
    // says plainly that the edit is lost.
    void endOfSessionSaysAnUnstorableEditIsLost()
    {
        seedMasterData();
        test::FakeServices fakes;
        signin::Form1Host host(fakes.services);
        host.showMainWindow();
        QVERIFY(host.window());
        named<QPlainTextEdit>(*host.window(), "Text43")->setPlainText(QStringLiteral("Niet opgeslagen"));
        test::stopServer();
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        test::startServer();
        QCOMPARE(fakes.dialogs.boxes.size(), size_t(1));
        const QString text = fakes.dialogs.boxes[0].text;
        QVERIFY2(text.startsWith(mainwindow::lostEditReport(QString())), qPrintable(text));
        QVERIFY(text.size() > mainwindow::lostEditReport(QString()).size()); // and the server's reason
        QCOMPARE(fakes.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        // Lost indeed: with the server back there is nothing left to store.
        QVERIFY(host.window()->storePendingEdits());
        QCOMPARE(test::tableRows(Database::Main, kProjects, {"CommentaarADMIN"})[0], (Row{QStringLiteral("GEEN")}));
    }

    void mainWindowIsMadeOnceAndHiddenWhenAPrinterIsInstalled_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::newRow("printer") << QStringList{"Kantoor"};
        QTest::newRow("no printer") << QStringList{};
    }
    void mainWindowIsMadeOnceAndHiddenWhenAPrinterIsInstalled()
    {
        QFETCH(QStringList, printers);
        test::setAdministrators({{s("ADMIN"), s("qorun")}});
        test::FakeServices fakes;
        fakes.printers.names = printers;
        fakes.printers.defaultName = QStringLiteral("Kantoor");
        auto &dialogs = fakes.dialogs;
        signin::WorkstationInfo info;
        signin::Form1Host host(fakes.services);
        signin::frmSplash splash(fakes.services, info, host);
        splash.load();
        QCOMPARE(host.window() != nullptr, !printers.isEmpty());
        if (host.window()) {
            QVERIFY(host.window()->isLoaded());
            QVERIFY(!host.window()->isVisible());
            QCOMPARE(named<QComboBox>(*host.window(), "Combo9")->currentText(), QStringLiteral("Kantoor"));
        }
        auto *before = host.window();
        QTest::mouseClick(splash.signInButton, Qt::LeftButton);
        QVERIFY(host.window());
        QVERIFY(host.window()->isVisible());
        QVERIFY(host.window()->isLoaded());
        if (before)
            QCOMPARE(host.window(), before);
        QVERIFY(dialogs.boxes.empty());
    }

    void failedStartUpEndsTheProgramWithAMessage_data()
    {
        QTest::addColumn<QStringList>("breaking");
        QTest::addColumn<QStringList>("mending");
        QTest::newRow("message without text")
            << QStringList{"INSERT INTO TALVERO_berichten (Bericht) VALUES (NULL)",
                           "DELETE FROM TALVERO_berichten WHERE Bericht IS NOT NULL"}
            << QStringList{};
        // Read while the window is being built, and reported once it is.
        QTest::newRow("a table it reads is gone") << QStringList{"RENAME TABLE TALVERO_projecten TO TALVERO_weg"}
                                                  << QStringList{"RENAME TABLE TALVERO_weg TO TALVERO_projecten"};
    }
    void failedStartUpEndsTheProgramWithAMessage()
    {
        QFETCH(QStringList, breaking);
        QFETCH(QStringList, mending);
        for (const QString &statement : breaking)
            test::execute(Database::Main, statement);
        test::FakeServices fakes;
        signin::Form1Host host(fakes.services);
        host.showMainWindow();
        for (const QString &statement : mending)
            test::execute(Database::Main, statement);
        QCOMPARE(host.window(), nullptr);
        QCOMPARE(fakes.dialogs.boxes.size(), size_t(1));
        QCOMPARE(fakes.app.exitCodes, (std::vector<int>{signin::kExitStartUpFailed}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
