#include "support/WindowRig.h"
#include "tools/Addresses.h"
#include "tools/Tools.h"
#include "tools/ToolTexts.h"
#include "tools/WebView.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;

namespace {

bool engineLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
}

struct Rig : test::WindowRig {
    int pagesMade = 0;

    explicit Rig(bool fakeEngine = true)
    {
        if (fakeEngine)
            view()->setEngineFactory([this](QWidget *parent) {
                ++pagesMade;
                auto *page = new QWidget(parent);
                page->setObjectName(QStringLiteral("fakePage"));
                return page;
            });
    }
    tools::ToolsController &tools() { return *form.findChild<tools::ToolsController *>(); }
    void click(const char *name) { QTest::mouseClick(named(form, name), Qt::LeftButton); }
    tools::WebView *view() const { return named<tools::WebView>(form, "WebBrowser1"); }
    bool viewShown() const { return !view()->isHidden() && !named(form, "Picture1")->isHidden(); }
    bool viewHidden() const { return view()->isHidden() && named(form, "Picture1")->isHidden(); }
    QString pageUrl() const
    {
        QWidget *page = view()->engine();
        return page ? page->property("url").toUrl().toString() : QString();
    }
};

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        // Start-up reads these too; other tests leave them in any state.
        test::emptyWindowTables();
    }

    void startUpLeavesTheBrowserEngineAlone();
    void mail();
    void mailWithoutMailProgram();
    void command1ShowsInvoicing();
    void webButtons_data();
    void webButtons();
    void administrationCode_data();
    void administrationCode();
    void traceThroughTheWindow();
    void failedTraceLeavesTheBoxAlone();
    void closingTheWindowEndsTheTrace();
};

void TestTools::startUpLeavesTheBrowserEngineAlone()
{
    Rig rig(false);
    QVERIFY(!rig.view()->engine());
    QVERIFY(rig.viewHidden());
    // Nothing on the way to a page that is not shown loads it either.
    rig.click("Image16");
    rig.click("Image1");
    QVERIFY(!rig.view()->engine());
    QVERIFY(!engineLibraryLoaded());
}

void TestTools::mail()
{
    Rig rig;
    rig.click("Image18");
    const QString mailbox = tools::addresses::mailbox();
    QCOMPARE(rig.shell.opened, QStringList{QStringLiteral("mailto:") + mailbox + "?cc=" + mailbox + "&bcc=" + mailbox
                                           + "&subject=Betreft: &body=TESTMAIL"});
    QVERIFY(rig.dialogs.boxes.empty());
}

void TestTools::mailWithoutMailProgram()
{
    Rig rig;
    rig.shell.opens = false;
    rig.click("Image18");
    QCOMPARE(rig.shell.opened.size(), 1);
    QCOMPARE(rig.dialogs.texts(), QStringList{tools::mailNotOpened()});
    QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
    QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::Exclamation);
    QCOMPARE(rig.dialogs.boxes[0].buttons, platform::Buttons::Ok);
}

void TestTools::command1ShowsInvoicing()
{
    Rig rig;
    named<QTabWidget>(rig.form, "SSTab1")->setCurrentIndex(0);
    rig.click("Command1");
    QCOMPARE(named<QTabWidget>(rig.form, "SSTab1")->currentIndex(), 2);
    QCOMPARE(named<QTabWidget>(rig.form, "SSTab1")->tabText(2), QStringLiteral("Factureren/Printen"));
}

void TestTools::webButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("site"); // WEBSITE of the consultant and the client shown; null is NULL
    QTest::addColumn<QString>("address"); // null: no page
    QTest::addColumn<bool>("refused");    // a box names the site instead

    QTest::newRow("consultant site") << "Image16" << "http://www.smit.nl/" << "http://www.smit.nl/" << false;
    QTest::newRow("consultant site without scheme") << "Image16" << "www.smit.nl" << QString() << true;
    QTest::newRow("consultant site a single blank") << "Image16" << " " << QString() << true;
    QTest::newRow("consultant site empty") << "Image16" << "" << QString() << false;
    QTest::newRow("consultant site NULL") << "Image16" << QString() << QString() << false;
    QTest::newRow("client site") << "Image1" << "https://waterschap.example/inkoop?a=1&b=2"
                                 << "https://waterschap.example/inkoop?a=1&b=2" << false;
    QTest::newRow("client site a local file") << "Image1" << "file:///etc/passwd" << QString() << true;
    QTest::newRow("client site a single blank") << "Image1" << " " << QString() << true;
    QTest::newRow("client site empty") << "Image1" << "" << QString() << false;
    QTest::newRow("network page") << "Image15" << "" << tools::addresses::networkPage() << false;
    QTest::newRow("search engine") << "Image3" << "" << tools::addresses::searchEngine() << false;
}

void TestTools::webButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, site);
    QFETCH(QString, address);
    QFETCH(bool, refused);

    const std::optional<QString> stored = site.isNull() ? std::nullopt : std::optional<QString>(site);
    test::insertRows(Database::Main, kConsultants, {"consultantnummer", "naam", "WEBSITE"},
                     {{QStringLiteral("0001"), QStringLiteral("Smit"), stored}});
    test::insertRows(Database::Main, kClients, {"Opdrachtgevernummer", "Bedrijf", "WEBSITE"},
                     {{QStringLiteral("0001"), QStringLiteral("Waterschap"), stored}});
    Rig rig;
    rig.click(qPrintable(button));
    if (refused) {
        QCOMPARE(rig.dialogs.texts(), QStringList{tools::siteNotOpened(site)});
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::Exclamation);
        QCOMPARE(rig.dialogs.boxes[0].buttons, platform::Buttons::Ok);
    } else {
        QVERIFY(rig.dialogs.boxes.empty());
    }
    if (address.isNull()) {
        QVERIFY(rig.viewHidden());
        QCOMPARE(rig.pagesMade, 0);
        QCOMPARE(rig.view()->address(), QString());
        return;
    }
    QVERIFY(rig.viewShown());
    QCOMPARE(rig.view()->address(), address);
    QCOMPARE(rig.pageUrl(), QUrl(address).toString());

    // Another page replaces it in the same view; Picture1 closes the view.
    rig.click("Image3");
    QCOMPARE(rig.view()->address(), tools::addresses::searchEngine());
    QCOMPARE(rig.pagesMade, 1);
    rig.click("Picture1");
    QVERIFY(rig.viewHidden());
}

void TestTools::administrationCode_data()
{
    QTest::addColumn<QString>("answer"); // null: the box is cancelled
    QTest::addColumn<bool>("admitted");
    QTest::newRow("right code") << "pelmira" << true;
    QTest::newRow("capital first letter") << "Pelmira" << false;
    QTest::newRow("all capitals") << "PELMIRA" << false;
    QTest::newRow("trailing blank") << "pelmira " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestTools::administrationCode()
{
    QFETCH(QString, answer);
    QFETCH(bool, admitted);

    Rig rig;
    rig.dialogs.inputAnswers.push_back(answer);
    rig.click("Image2");
    QCOMPARE(int(rig.dialogs.inputs.size()), 1);
    QCOMPARE(rig.dialogs.inputs[0].prompt, tools::administrationPrompt(tools::addresses::administrationHost()));
    QCOMPARE(rig.dialogs.inputs[0].title, QStringLiteral("Talveros"));
    QCOMPARE(rig.dialogs.inputs[0].defaultText, QString());
    if (admitted) {
        QVERIFY(rig.dialogs.boxes.empty());
        QVERIFY(rig.viewShown());
        QCOMPARE(rig.view()->address(), tools::addresses::administrationPage());
    } else {
        QCOMPARE(rig.dialogs.texts(), QStringList{QStringLiteral("Verkeerd paswoord, U heeft geen toehang tot de database!")});
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::None);
        QCOMPARE(rig.dialogs.boxes[0].buttons, platform::Buttons::Ok);
        QVERIFY(rig.viewHidden());
        QCOMPARE(rig.pagesMade, 0);
    }
}

void TestTools::traceThroughTheWindow()
{
    Rig rig;
    auto *button = rig.form.findChild<QPushButton *>(QStringLiteral("Command2"));
    auto *box = rig.form.findChild<QPlainTextEdit *>(QStringLiteral("Text143"));
    rig.icmp.replies = {platform::EchoReply{0x0A000101, 3}, platform::EchoReply{0x0A000002, 30},
                        platform::EchoReply{0x0A000002, 31}};
    bool disabledMeanwhile = true;
    rig.icmp.duringRequest = [&] {
        disabledMeanwhile = disabledMeanwhile && !button->isEnabled();
        // A second click, by mouse or otherwise, while a request waits.
        QTest::mouseClick(button, Qt::LeftButton);
        rig.tools().traceRoute();
    };
    rig.click("Command2");

    QVERIFY(disabledMeanwhile);
    QVERIFY(button->isEnabled());
    QVERIFY(!rig.tools().tracing());
    QCOMPARE(rig.icmp.opens, 1);
    QCOMPARE(int(rig.icmp.requests.size()), 3);
    QCOMPARE(rig.icmp.resolved, QStringList{tools::addresses::networkSiteHost()});
    const QString host = tools::addresses::networkSiteHost();
    const QString expected = tools::traceHeader(host) + tools::hopLine(1, 3, QStringLiteral("10.0.1.1"))
        + tools::hopLine(2, 30, QStringLiteral("10.0.0.2")) + tools::hopLine(3, 31, QStringLiteral("10.0.0.2"))
        + tools::traceClosing(host);
    QCOMPARE(rig.tools().traceText(), expected);
    QCOMPARE(box->toPlainText(), QString(expected).remove(u'\r'));
    QVERIFY(rig.dialogs.boxes.empty());
}

void TestTools::failedTraceLeavesTheBoxAlone()
{
    Rig rig;
    auto *box = rig.form.findChild<QPlainTextEdit *>(QStringLiteral("Text143"));
    rig.icmp.replies = {std::nullopt};
    rig.click("Command2");
    const QString before = box->toPlainText();
    QVERIFY(before.contains(u"Compleet"));

    for (int failing = 0; failing < 3; ++failing) {
        rig.icmp.starts = failing != 0;
        rig.icmp.resolvesTo = failing == 1 ? std::nullopt : std::optional<std::uint32_t>(0x0A000001);
        rig.icmp.opensHandle = failing != 2;
        rig.click("Command2");
        QCOMPARE(box->toPlainText(), before);
        QVERIFY(rig.form.findChild<QPushButton *>(QStringLiteral("Command2"))->isEnabled());
    }
    QCOMPARE(rig.dialogs.texts(), (QStringList{tools::traceSocketsNotStarted(), tools::traceHostNotFound(tools::addresses::networkSiteHost()),
                                               tools::traceNoHandle()}));
}

void TestTools::closingTheWindowEndsTheTrace()
{
    Rig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    for (int hop = 1; hop <= 20; ++hop)
        rig.icmp.replies.push_back(platform::EchoReply{0x0A000000u + std::uint32_t(hop), 1});
    rig.icmp.duringRequest = [&] {
        if (rig.icmp.requests.size() == 2)
            rig.form.close();
    };
    rig.click("Command2");
    QVERIFY(rig.form.isHidden());
    QCOMPARE(int(rig.icmp.requests.size()), 2);
    QCOMPARE(rig.icmp.closes, 1);
    QCOMPARE(rig.icmp.cleanups, 1);
    QVERIFY(!rig.tools().traceText().contains(u"Compleet"));
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
