#include "data/BoundSource.h"
#include "messages/Presence.h"
#include "messages/PresenceLines.h"
#include "messages/PresenceTab.h"
#include "platform/ServerWaitWindow.h"
#include "support/FakeWait.h"
#include "support/WindowRig.h"

#include <QDialog>
#include <QTcpServer>
#include <QtTest>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;
using messages::PresenceController;

namespace {

const QStringList kColumns{"Titel1", "voornaam", "tussenvoegsel", "naam", "isAANGEMELD", "isAFGEMELD", "isONLINE"};
const QString kNever = QStringLiteral("00-00-0000  00:00:00");


void addConsultants(const std::vector<Row> &rows)
{
    test::insertRows(Database::Main, kConsultants, QStringList{"consultantnummer"} + kColumns, rows);
}

void addClients(const std::vector<Row> &rows)
{
    test::insertRows(Database::Main, kClients, QStringList{"opdrachtgevernummer"} + kColumns, rows);
}

// Consultants stored in an order unlike the presence order; the first row's
// consultantnummer is not its nummer, as in data that grew over the years.
void seed()
{
    addConsultants({{s("0002"), s("ir."), s("Jan"), s("van"), s("Dijk"), s("01-15-2008  09:30:00"),
                     s("01-14-2008  17:00:00"), s("OFFLINE")},
                    {s("0001"), s(""), s("Anna"), s(""), s("Smit"), s(kNever), s(kNever), s("OFFLINE")},
                    {s("0003"), std::nullopt, s("P."), std::nullopt, s("Vries"), s("01-02-2008  08:00:00"),
                     s("01-01-2008  18:00:00"), s("ONLINE")}});
    addClients({{s("0001"), s("mr."), s("Els"), s("de"), s("Bruin"), s("12-31-2007  10:00:00"),
                 s("12-31-2007  12:00:00"), s("OFFLINE")},
                {s("0002"), s(""), s("Kees"), s(""), s("Bos"), s("01-15-2008  08:00:00"), s(kNever), s("ONLINE")}});
}

const QStringList kSeededConsultantLines{
    "ONLINE  01-02-2008  08:00:00   01-01-2008  18:00:00    0003          P.                Vries                  ",
    "OFFLINE 01-15-2008  09:30:00   01-14-2008  17:00:00    0002  ir.     Jan      van      Dijk                   ",
    "OFFLINE 00-00-0000  00:00:00   00-00-0000  00:00:00    0001          Anna              Smit                   "};
const QStringList kSeededClientLines{
    "ONLINE  01-15-2008  08:00:00   00-00-0000  00:00:00    0002          Kees              Bos                    ",
    "OFFLINE 12-31-2007  10:00:00   12-31-2007  12:00:00    0001  mr.     Els      de       Bruin                  "};

struct Rig : test::WindowRig {
    messages::PresenceTab *tab = named<messages::PresenceTab>(form, "presence");
    PresenceController *presence = form.findChild<PresenceController *>();

    bool indicatorShown() const { return !tab->trackingIndicator->isHidden(); }
};

void setOnline(const QString &table, const QString &value)
{
    test::execute(Database::Main, QStringLiteral("UPDATE %1 SET isONLINE = %2").arg(table, value));
}

} // namespace

class TestPresence : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        test::emptyWindowTables();
    }

    void tabAsLaidOut()
    {
        Rig rig;
        auto *tab = rig.tab;
        rig.form.resize(1200, 900);
        named<QTabWidget>(rig.form, "SSTab2")->setCurrentWidget(tab);
        rig.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.form));

        QCOMPARE(tab->presenceHeading->text(), QStringLiteral("Inlog / Uitlog en online gegevens"));
        QCOMPARE(tab->clientColumnsHeader->text(),
                 QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  OPDR  TITEL   NAAM"));
        QCOMPARE(tab->consultantColumnsHeader->text(),
                 QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  CONS  TITEL   NAAM"));
        QCOMPARE(tab->liveTrackingBox->text(), QStringLiteral("10 seconden live tracking Aan/Uit"));
        QVERIFY(!tab->liveTrackingBox->isChecked());
        QVERIFY(rig.indicatorShown());
        QCOMPARE(tab->trackingIndicator->size(), QSize(48, 48));
        QCOMPARE(tab->presenceTimer->interval(), 7800);
        QVERIFY(tab->presenceTimer->isActive());

        const std::pair<QWidget *, QColor> backgrounds[] = {{tab->clientColumnsHeader, QColor(255, 255, 0)},
                                                            {tab->clientPresenceList, QColor(255, 255, 128)},
                                                            {tab->consultantColumnsHeader, QColor(0, 255, 0)},
                                                            {tab->consultantPresenceList, QColor(128, 255, 128)}};
        int above = -1;
        for (const auto &[widget, colour] : backgrounds) {
            QCOMPARE(widget->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(widget->palette().color(QPalette::Base), colour);
            // Clients over consultants, each header right over its list, all as wide as the tab.
            QVERIFY(widget->geometry().top() > above);
            above = widget->geometry().bottom();
            QVERIFY(widget->width() > tab->width() - 30);
        }
        QCOMPARE(tab->clientPresenceList->geometry().top(), tab->clientColumnsHeader->geometry().bottom() + 1);
        QCOMPARE(tab->consultantPresenceList->geometry().top(), tab->consultantColumnsHeader->geometry().bottom() + 1);

        // The blinking indicator leaves its caption in place.
        const QRect caption = tab->presenceHeading->geometry();
        tab->trackingIndicator->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(tab->presenceHeading->geometry(), caption);
    }

    void refreshFillsBothListsSortedAndReturnsToFirstRows()
    {
        seed();
        Rig rig;
        named<data::BoundSource>(rig.form, "Adodc1")->moveNext();
        named<data::BoundSource>(rig.form, "Adodc2")->moveNext();
        QTest::mouseDClick(rig.tab->trackingIndicator, Qt::LeftButton);
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);
        QCOMPARE(items(rig.tab->clientPresenceList), kSeededClientLines);
        QCOMPARE(rig.text("Text2"), QStringLiteral("0002"));
        QCOMPARE(rig.text("Text15"), QStringLiteral("0001"));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void emptyTablesGiveEmptyLists()
    {
        Rig rig;
        QVERIFY(rig.presence->refresh(PresenceController::Trigger::Picture));
        QCOMPARE(rig.tab->consultantPresenceList->count(), 0);
        QCOMPARE(rig.tab->clientPresenceList->count(), 0);
    }

    void triggers_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("double-click on the picture") << "picture";
        QTest::newRow("a click on the tab strip") << "tab strip";
        QTest::newRow("live-tracking tick") << "tick";
    }

    void triggers()
    {
        QFETCH(QString, trigger);
        Rig rig;
        rig.form.show();
        QApplication::setActiveWindow(&rig.form);
        QVERIFY(QTest::qWaitForWindowActive(&rig.form));
        QCOMPARE(rig.tab->consultantPresenceList->count(), 0);
        seed();

        if (trigger == "picture") {
            QTest::mouseDClick(rig.tab->trackingIndicator, Qt::LeftButton);
        } else if (trigger == "tab strip") {
            QTabBar *bar = named<QTabWidget>(rig.form, "SSTab2")->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(bar->count() - 1).center());
        } else {
            rig.tab->liveTrackingBox->setChecked(true);
            QVERIFY(QMetaObject::invokeMethod(rig.tab->presenceTimer, "timeout"));
        }
        QTRY_COMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);
        QCOMPARE(items(rig.tab->clientPresenceList), kSeededClientLines);
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // Coming back to the window is not going to the strip: a closing box must not start
    // a refresh that may open the box again.
    void returningToTheWindowDoesNotRefresh()
    {
        Rig rig;
        seed();
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(named<QTabWidget>(rig.form, "SSTab2")->tabBar(), &back);
        QCoreApplication::processEvents();
        QCOMPARE(rig.tab->consultantPresenceList->count(), 0);
    }

    void tickSequence()
    {
        seed();
        Rig rig;
        std::vector<bool> shownWhilePlaying;
        rig.sound.whilePlaying = [&] { shownWhilePlaying.push_back(rig.indicatorShown()); };

        // Off: only the indicator shown, nothing read.
        rig.tab->trackingIndicator->hide();
        rig.presence->tick();
        QVERIFY(rig.indicatorShown());
        QCOMPARE(rig.tab->consultantPresenceList->count(), 0);

        // First tick after switching on: lists read, indicator hidden, no sound.
        rig.tab->liveTrackingBox->setChecked(true);
        rig.presence->tick();
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);
        QVERIFY(!rig.indicatorShown());
        QCOMPARE(rig.sound.plays, 0);

        // Every later tick reads again and flashes the indicator for as long as the sound.
        setOnline(kConsultants, "'OFFLINE'");
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 1);
        QCOMPARE(shownWhilePlaying, std::vector<bool>{true});
        QVERIFY(!rig.indicatorShown());
        QVERIFY(rig.tab->consultantPresenceList->item(0)->text().startsWith(QLatin1String("OFFLINE 01-15-2008")));
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 2);
        QVERIFY(!rig.indicatorShown());

        // A double-click meanwhile reads at once and leaves the indicator alone.
        setOnline(kConsultants, "'ONLINE'");
        QTest::mouseDClick(rig.tab->trackingIndicator, Qt::LeftButton);
        QVERIFY(rig.tab->consultantPresenceList->item(0)->text().startsWith(QLatin1String("ONLINE ")));
        QVERIFY(!rig.indicatorShown());
        QCOMPARE(rig.sound.plays, 2);

        // Off again: the indicator comes back at the next tick, silently.
        rig.tab->liveTrackingBox->setChecked(false);
        rig.presence->tick();
        QVERIFY(rig.indicatorShown());
        QCOMPARE(rig.sound.plays, 2);
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void noRefreshInsideAnother()
    {
        seed();
        Rig rig;
        rig.tab->liveTrackingBox->setChecked(true);
        rig.presence->tick(); // hides the indicator; the next tick plays
        bool nestedRan = true;
        rig.sound.whilePlaying = [&] {
            rig.presence->tick();
            nestedRan = rig.presence->refresh(PresenceController::Trigger::Tick)
                || rig.presence->refresh(PresenceController::Trigger::Focus);
        };
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 1);
        QVERIFY(!nestedRan);

        // Nor under a box another action has open.
        rig.sound.whilePlaying = {};
        QDialog box(&rig.form);
        box.setModal(true);
        box.show();
        QVERIFY(QApplication::activeModalWidget());
        setOnline(kConsultants, "'OFFLINE'");
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 1);
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);
        box.hide();
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 2);
        QVERIFY(rig.tab->consultantPresenceList->item(0)->text().startsWith(QLatin1String("OFFLINE 01-15-2008")));
    }

    // With the server gone, a tick that would only fail again asks nothing of it and
    // says so once; the first tick after it answers again refreshes as usual. Nor does
    // a tick refresh in the middle of an action that waits for the server.
    void liveTrackingWaitsForTheServer()
    {
        seed();
        Rig rig;
        rig.tab->liveTrackingBox->setChecked(true);
        test::FakeWait hook;
        platform::WaitHookScope scope(&hook);
        bool nestedRan = true;
        hook.meanwhile = [&] { nestedRan = rig.presence->refresh(PresenceController::Trigger::Tick); };
        rig.presence->tick();
        QVERIFY(!nestedRan);
        hook.meanwhile = {};
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);

        QTcpServer unused;
        QVERIFY(unused.listen(QHostAddress::LocalHost));
        const int refusing = unused.serverPort();
        unused.close();
        data::overrideServerForTests(QStringLiteral("127.0.0.1"), refusing);
        rig.presence->tick();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QVERIFY(rig.dialogs.boxes[0].text.endsWith(
            QStringLiteral("\r\n\r\nLive volgen wacht tot de server weer antwoordt.")));
        const int asked = hook.waits;
        for (int i = 0; i < 5; ++i)
            rig.presence->tick();
        QVERIFY(!rig.presence->refresh(PresenceController::Trigger::Focus));
        QCOMPARE(hook.waits, asked);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);

        // Asked for by the administrator, it is tried and reported.
        QVERIFY(!rig.presence->refresh(PresenceController::Trigger::Picture));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));

        test::useTestServer();
        setOnline(kConsultants, "'OFFLINE'");
        QTRY_VERIFY(rig.presence->refresh(PresenceController::Trigger::Tick));
        QVERIFY(rig.tab->consultantPresenceList->item(0)->text().startsWith(QLatin1String("OFFLINE")));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
    }

    void missingPresenceValue_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("consultant offline state")
            << kConsultants << "isONLINE" << "0001"
            << "De kolom 'isONLINE' van consultant 0001 heeft geen waarde (NULL).";
        QTest::newRow("consultant sign-in") << kConsultants << "isAANGEMELD" << "0003"
                                            << "De kolom 'isAANGEMELD' van consultant 0003 heeft geen waarde (NULL).";
        QTest::newRow("client sign-off") << kClients << "isAFGEMELD" << "0002"
                                         << "De kolom 'isAFGEMELD' van opdrachtgever 0002 heeft geen waarde (NULL).";
    }

    void missingPresenceValue()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        seed();
        Rig rig;
        rig.tab->liveTrackingBox->setChecked(true);
        rig.presence->tick();
        rig.presence->tick();
        QCOMPARE(rig.sound.plays, 1);

        const QString numberColumn = table == kClients ? "opdrachtgevernummer" : "consultantnummer";
        const QString where = QStringLiteral(" WHERE %1 = '%2'").arg(numberColumn, number);
        test::execute(Database::Main, QStringLiteral("UPDATE %1 SET %2 = NULL").arg(table, column) + where);

        // Reported once, naming the person; that tick ends there, lists as they were.
        rig.presence->tick();
        QCOMPARE(rig.dialogs.texts(), QStringList{expected});
        QCOMPARE(rig.dialogs.boxes.back().title, QStringLiteral("Talveros"));
        QCOMPARE(rig.dialogs.boxes.back().icon, platform::Icon::Critical);
        QCOMPARE(rig.sound.plays, 1);
        QCOMPARE(items(rig.tab->consultantPresenceList), kSeededConsultantLines);
        QCOMPARE(items(rig.tab->clientPresenceList), kSeededClientLines);

        // Not again at every tick or focus while the data stays the same ...
        for (int i = 0; i < 3; ++i)
            QVERIFY(!rig.presence->refresh(i == 0 ? PresenceController::Trigger::Focus : PresenceController::Trigger::Tick));
        rig.presence->tick();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        // ... but to the administrator who asks for the lists.
        QTest::mouseDClick(rig.tab->trackingIndicator, Qt::LeftButton);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));

        // Mended, live tracking goes on; broken again, it is told again.
        test::execute(Database::Main, QStringLiteral("UPDATE %1 SET %2 = 'OFFLINE'").arg(table, column) + where);
        rig.presence->tick();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.sound.plays, 2);
        test::execute(Database::Main, QStringLiteral("UPDATE %1 SET %2 = NULL").arg(table, column) + where);
        rig.presence->tick();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(3));
    }

    void nameColumnsWithoutValueAreEmpty()
    {
        addConsultants({{s("0001"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, s(kNever), s(kNever),
                         s("OFFLINE")}});
        Rig rig;
        QVERIFY(rig.presence->refresh(PresenceController::Trigger::Picture));
        QCOMPARE(items(rig.tab->consultantPresenceList),
                 QStringList{"OFFLINE 00-00-0000  00:00:00   00-00-0000  00:00:00    0001" + QString(51, u' ')});
    }

    void signOff_data()
    {
        QTest::addColumn<int>("pick"); // row the consultant pane is moved to; -1: empty table
        QTest::newRow("the consultant the pane shows, found by nummer") << 0;
        QTest::newRow("a later row") << 2;
        QTest::newRow("nothing matches: no write, still ends") << -1;
    }

    void signOff()
    {
        QFETCH(int, pick);
        if (pick >= 0) {
            seed();
            setOnline(kConsultants, "'ONLINE'");
        }
        const QStringList read{"nummer", "consultantnummer", "isAANGEMELD", "isAFGEMELD", "isONLINE"};
        const std::vector<Row> before = test::tableRows(Database::Main, kConsultants, read);

        Rig rig;
        for (int i = 0; i < pick; ++i)
            named<data::BoundSource>(rig.form, "Adodc1")->moveNext();
        QTest::mouseDClick(named<platform::PictureButton>(rig.form, "Image13"), Qt::LeftButton);

        QCOMPARE(rig.app.exitCodes, std::vector<int>{0});
        QVERIFY(rig.dialogs.boxes.empty());
        std::vector<Row> expected = before;
        if (pick >= 0) {
            // Row 1 holds consultantnummer 0002: signing off by that number would hit row 2.
            expected[size_t(pick)][3] = s("01-15-2008  14:05:09");
            expected[size_t(pick)][4] = s("OFFLINE");
        }
        QCOMPARE(test::tableRows(Database::Main, kConsultants, read), expected);
    }

    // Ending would lose the administrator's edit: the administrator chooses, as when
    // closing the window, between signing off without it and keeping everything.
    void signOffWithAnEditThatCannotBeStored_data()
    {
        QTest::addColumn<bool>("signOffAnyway");
        QTest::newRow("No: the program stays, nobody is signed off") << false;
        QTest::newRow("Yes: signed off and ended without the edit") << true;
    }
    void signOffWithAnEditThatCannotBeStored()
    {
        QFETCH(bool, signOffAnyway);
        seed();
        Rig rig;
        // Longer than the column takes: the server refuses it, and the edit waits.
        const std::optional<QString> stored = test::tableRows(Database::Main, kClients, {"Bedrijf"}).front().front();
        named<data::BoundSource>(rig.form, "Adodc2")->setPendingEdit(u"Bedrijf", QString(256, u'x'));
        const QStringList read{"isAFGEMELD", "isONLINE"};
        std::vector<Row> expected = test::tableRows(Database::Main, kConsultants, read);
        rig.dialogs.answers.push_back(signOffAnyway ? platform::Answer::Yes : platform::Answer::No);
        QTest::mouseDClick(named<platform::PictureButton>(rig.form, "Image13"), Qt::LeftButton);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.dialogs.boxes[1].text, messages::unsavedEditSignOffQuestion());
        QCOMPARE(rig.dialogs.boxes[1].buttons, platform::Buttons::YesNo);
        QCOMPARE(rig.app.exitCodes, signOffAnyway ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(named<data::BoundSource>(rig.form, "Adodc2")->hasPendingEdit(), !signOffAnyway);
        if (signOffAnyway)
            expected[0] = {s("01-15-2008  14:05:09"), s("OFFLINE")};
        QCOMPARE(test::tableRows(Database::Main, kConsultants, read), expected);
        QCOMPARE(test::tableRows(Database::Main, kClients, {"Bedrijf"}).front().front(), stored);
    }

    void signOffStoresAPendingEditFirst()
    {
        seed();
        Rig rig;
        named<data::BoundSource>(rig.form, "Adodc2")->setPendingEdit(u"Bedrijf", QStringLiteral("Nieuw & 'anders'"));
        QTest::mouseDClick(named<platform::PictureButton>(rig.form, "Image13"), Qt::LeftButton);
        QCOMPARE(rig.app.exitCodes, std::vector<int>{0});
        QCOMPARE(test::tableRows(Database::Main, kClients, {"Bedrijf"}).front().front(), s("Nieuw & 'anders'"));
    }
};

QTEST_MAIN(TestPresence)
#include "tst_presence.moc"
