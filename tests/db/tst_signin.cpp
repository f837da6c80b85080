#include "platform/TextBox.h"
#include "signin/frmSplash.h"
#include "support/Fakes.h"
#include "support/Named.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QTcpServer>
#include <QtTest>

using namespace talveros;
using data::Database;
using platform::Answer;
using test::Row;
using test::s;
using test::setAdministrators;

namespace {

class FakeHost final : public signin::MainWindowHost {
public:
    bool showPrinters(const QStringList &printers, int chosen) override
    {
        ++created;
        combo.addItems(printers);
        combo.setCurrentIndex(chosen);
        return true;
    }
    void showMainWindow() override { ++shown; }
    QComboBox combo;
    int created = 0;
    int shown = 0;
};

struct Rig : test::FakeServices {
    signin::WorkstationInfo info;
    FakeHost host;
    signin::frmSplash splash{services, info, host};

    void attempt(const QString &login, const QString &password)
    {
        // Entered as the administrator enters text, so that the boxes take only what
        // typing can put in.
        for (auto [box, text] : {std::pair{splash.loginBox, login}, std::pair{splash.passwordBox, password}}) {
            box->clear();
            box->insert(text);
        }
        QTest::mouseClick(splash.signInButton, Qt::LeftButton);
    }
};

const QString kLeft2 = QStringLiteral("Uw inlog gegevens zijn niet gevonden en mag nog 2 keer proberen.");
const QString kLeft1 = QStringLiteral("Uw inlog gegevens zijn niet gevonden en mag nog 1 keer proberen.");
const QString kEnd = QStringLiteral("Uw heeft 3 pogingen gedaan, het programma wordt beeindigd.");
const QStringList kLogColumns{QStringLiteral("DATUMTIJD"), QStringLiteral("PCnaam"), QStringLiteral("LOGINnaam"),
                              QStringLiteral("NETWERKkaart"), QStringLiteral("NETWERKadres"), QStringLiteral("MBmerk"),
                              QStringLiteral("MBtype"), QStringLiteral("Afdrukapparaat")};

std::vector<Row> logRows() { return test::tableRows(Database::Main, QStringLiteral("LOGINadministrator"), kLogColumns); }

} // namespace

class TestSignIn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        setAdministrators({{s("ADMIN"), s("qorun")}});
        test::resetTable(Database::Main, QStringLiteral("LOGINadministrator"));
    }

    void designTexts()
    {
        Rig rig;
        QCOMPARE(rig.splash.loginBox->text(), QStringLiteral("ADMIN"));
        QCOMPARE(rig.splash.passwordBox->text(), QStringLiteral("qorun"));
        QCOMPARE(platform::typingLimit(rig.splash.loginBox), 10);
        QCOMPARE(platform::typingLimit(rig.splash.passwordBox), 10);
        QCOMPARE(rig.splash.passwordBox->echoMode(), QLineEdit::Password);
        QCOMPARE(rig.splash.signInButton->toolTip(), QStringLiteral("Aanmelden"));
        QCOMPARE(rig.splash.closeButton->toolTip(), QStringLiteral("Afsluiten"));
        QCOMPARE(rig.splash.versionLabel->text(), QStringLiteral("Version"));
        QCOMPARE(rig.splash.companyProductLabel->text(), QStringLiteral("CompanyProduct"));
    }

    // The network's scripts and the checks of the whole program find the sign-in
    // window's controls by these names: each one there once, of its kind, showing what
    // it always showed (a picture its tool tip and size).
    void formNames_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pictureSize");
        const QByteArray label("QLabel"), box("QLineEdit"), picture("talveros::platform::PictureButton");
        QTest::newRow("Label1") << label << "Login naam" << -1;
        QTest::newRow("Text1") << box << "ADMIN" << -1;
        QTest::newRow("Label2") << label << "Paswoord" << -1;
        QTest::newRow("Text2") << box << "qorun" << -1;
        QTest::newRow("Image1") << picture << "Aanmelden" << 40;
        QTest::newRow("Image3") << picture << "Afsluiten" << 40;
        QTest::newRow("Image2") << picture << "" << 48;
        QTest::newRow("imgLogo") << picture << "" << 96;
        QTest::newRow("lblProductName") << label << "Product" << -1;
        QTest::newRow("lblVersion") << label << "Version" << -1;
        QTest::newRow("lblPlatform") << label << "Platform" << -1;
        QTest::newRow("lblCompanyProduct") << label << "CompanyProduct" << -1;
    }
    void formNames()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QString, text);
        QFETCH(int, pictureSize);
        Rig rig;
        QWidget *control = test::named(rig.splash, QTest::currentDataTag());
        QVERIFY2(control->inherits(kind.constData()), control->metaObject()->className());
        if (auto *picture = qobject_cast<platform::PictureButton *>(control)) {
            QCOMPARE(picture->toolTip(), text);
            QCOMPARE(picture->size(), QSize(pictureSize + 4, pictureSize + 4));
        } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
            QCOMPARE(line->text(), text);
        } else {
            QCOMPARE(qobject_cast<QLabel *>(control)->text(), text);
        }
    }

    void attemptsRunOut_data()
    {
        QTest::addColumn<std::vector<Row>>("admins");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("wrong password") << std::vector<Row>{{s("ADMIN"), s("qorun")}} << "ADMIN" << "fout";
        QTest::newRow("login in other letter case") << std::vector<Row>{{s("ADMIN"), s("qorun")}} << "admin" << "qorun";
        QTest::newRow("password in other letter case") << std::vector<Row>{{s("ADMIN"), s("qorun")}} << "ADMIN" << "QORUN";
        QTest::newRow("empty table") << std::vector<Row>{} << "ADMIN" << "qorun";
        QTest::newRow("trailing blank") << std::vector<Row>{{s("ADMIN"), s("qorun")}} << "ADMIN " << "qorun";
        QTest::newRow("stored login too long to type")
            << std::vector<Row>{{s("ADMINISTRATOR"), s("qorun")}} << "ADMINISTRATOR" << "qorun";
    }
    void attemptsRunOut()
    {
        QFETCH(std::vector<Row>, admins);
        QFETCH(QString, login);
        QFETCH(QString, password);
        setAdministrators(admins);
        Rig rig;
        rig.attempt(login, password);
        rig.attempt(login, password);
        QCOMPARE(rig.dialogs.texts(), (QStringList{kLeft2, kLeft1}));
        QVERIFY(!rig.app.quitRequested());
        QCOMPARE(rig.splash.loginBox->text(), login.left(10)); // boxes keep what was typed
        rig.attempt(login, password);
        QCOMPARE(rig.dialogs.texts(), (QStringList{kLeft2, kLeft1, kEnd}));
        QCOMPARE(rig.dialogs.boxes.back().title, QStringLiteral("Talveros"));
        QCOMPARE(rig.dialogs.boxes.back().icon, platform::Icon::None);
        QCOMPARE(rig.app.exitCodes, (std::vector<int>{signin::kExitSignInRefused}));
        QCOMPARE(rig.host.shown, 0);
        QVERIFY(logRows().empty());
    }

    void successfulSignIn_data()
    {
        QTest::addColumn<std::vector<Row>>("admins");
        QTest::addColumn<QStringList>("attempts"); // login/password pairs
        QTest::newRow("first attempt") << std::vector<Row>{{s("ADMIN"), s("qorun")}} << QStringList{"ADMIN", "qorun"};
        QTest::newRow("third attempt")
            << std::vector<Row>{{s("ADMIN"), s("qorun")}}
            << QStringList{"ADMIN", "x", "ADMIN", "y", "ADMIN", "qorun"};
        QTest::newRow("same login, first password")
            << std::vector<Row>{{s("ADMIN"), s("een")}, {s("ADMIN"), s("twee")}} << QStringList{"ADMIN", "een"};
        QTest::newRow("same login, second password")
            << std::vector<Row>{{s("ADMIN"), s("een")}, {s("ADMIN"), s("twee")}} << QStringList{"ADMIN", "twee"};
        QTest::newRow("quote and non-ascii") << std::vector<Row>{{s("Jëroen'"), s("p\\w€")}}
                                             << QStringList{"Jëroen'", "p\\w€"};
        // Only the rows that may match are read: another administrator's NULL is no error.
        QTest::newRow("NULLs in other rows")
            << std::vector<Row>{{s("X"), std::nullopt}, {std::nullopt, s("qorun")}, {s("ADMIN"), s("qorun")}}
            << QStringList{"ADMIN", "qorun"};
    }
    void successfulSignIn()
    {
        QFETCH(std::vector<Row>, admins);
        QFETCH(QStringList, attempts);
        setAdministrators(admins);
        Rig rig;
        rig.splash.show();
        for (qsizetype i = 0; i < attempts.size(); i += 2)
            rig.attempt(attempts[i], attempts[i + 1]);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(attempts.size() / 2 - 1));
        QCOMPARE(rig.host.shown, 1);
        QVERIFY(!rig.splash.isVisible());
        QVERIFY(!rig.app.quitRequested());
        QCOMPARE(logRows().size(), size_t(1));
        QCOMPARE(rig.splash.AttemptCount, double(attempts.size() / 2));
    }

    void logRowRecordsTheWorkstation_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<std::optional<QString>>("account");
        QTest::addColumn<QString>("dateTime");
        QTest::addColumn<QString>("pcName");
        QTest::newRow("slash") << "/" << std::optional<QString>("jansen") << "2008/01/15   14:05:09" << "jansen";
        QTest::newRow("dash") << "-" << std::optional<QString>("jansen") << "2008-01-15   14:05:09" << "jansen";
        QTest::newRow("long account name kept whole")
            << "/" << std::optional<QString>("administrator.kantoor") << "2008/01/15   14:05:09"
            << "administrator.kantoor";
        QTest::newRow("cut at NUL") << "/" << std::optional<QString>(QString::fromUtf16(u"piet\0rest", 9))
                                    << "2008/01/15   14:05:09" << "piet";
        QTest::newRow("no account") << "/" << std::optional<QString>() << "2008/01/15   14:05:09" << "";
    }
    void logRowRecordsTheWorkstation()
    {
        QFETCH(QString, separator);
        QFETCH(std::optional<QString>, account);
        QFETCH(QString, dateTime);
        QFETCH(QString, pcName);
        Rig rig;
        rig.workstation.separator = separator;
        rig.workstation.account = account;
        rig.workstation.boardList = {{QStringLiteral("Oude maker"), QStringLiteral("Oud bord")},
                                     {QStringLiteral("ASUSTeK"), std::nullopt}};
        rig.workstation.adapterList = {
            {QStringLiteral("Intel Corporation"), QStringLiteral("Ethernet I219-V"), QStringLiteral("00:11:22:33:44:55")},
            {QStringLiteral("Realtek"), QStringLiteral("RTL8111"), std::nullopt},
            {QStringLiteral("Microsoft"), QStringLiteral("Loopback"), QStringLiteral("00:00:00:00:00:01")},
            {std::nullopt, QStringLiteral("veth"), QStringLiteral("AA:AA:AA:AA:AA:AA")},
        };
        rig.printers.names = {QStringLiteral("Kantoor"), QStringLiteral("HP LaserJet")};
        rig.printers.defaultName = QStringLiteral("HP LaserJet");
        rig.splash.load();
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        // Last board and last qualifying adapter win, property by property.
        QCOMPARE(logRows(), (std::vector<Row>{{dateTime, pcName, QStringLiteral("Administrator"), QStringLiteral("RTL8111"),
                                              QStringLiteral("00:11:22:33:44:55"), QStringLiteral("ASUSTeK"),
                                              QStringLiteral("Oud bord"), QStringLiteral("HP LaserJet")}}));
    }

    void printerListFill_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("created");
        QTest::newRow("default second") << QStringList{"A", "B", "C"} << "B" << 1 << 1;
        QTest::newRow("same name twice: the later one") << QStringList{"A", "B", "B"} << "B" << 2 << 1;
        QTest::newRow("default not installed") << QStringList{"A", "B"} << "Z" << -1 << 1;
        QTest::newRow("other letter case is another printer") << QStringList{"a"} << "A" << -1 << 1;
        QTest::newRow("no printers: main window not made") << QStringList{} << "" << -1 << 0;
    }
    void printerListFill()
    {
        QFETCH(QStringList, printers);
        QFETCH(QString, defaultPrinter);
        QFETCH(int, selected);
        QFETCH(int, created);
        Rig rig;
        rig.printers.names = printers;
        rig.printers.defaultName = defaultPrinter;
        rig.splash.load();
        QCOMPARE(rig.host.created, created);
        QCOMPARE(rig.host.combo.count(), printers.size());
        QCOMPARE(rig.host.combo.currentIndex(), selected);
        const QString chosen = selected >= 0 ? printers[selected] : QString();
        QCOMPARE(rig.info.printerName, chosen);
        QCOMPARE(rig.printers.used, selected >= 0 ? QStringList{chosen} : QStringList{});
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void closeEndsTheProgram()
    {
        Rig rig;
        rig.splash.show();
        QTest::mouseClick(rig.splash.closeButton, Qt::LeftButton);
        QCOMPARE(rig.app.exitCodes, (std::vector<int>{0}));
        QVERIFY(!rig.splash.isVisible());
    }

    void dataErrorEndsTheAttemptNotTheProgram()
    {
        test::execute(Database::Main, QStringLiteral("RENAME TABLE TALVERO_ADMINISTRATOR TO TALVERO_ADMIN_weg"));
        Rig rig;
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        test::execute(Database::Main, QStringLiteral("RENAME TABLE TALVERO_ADMIN_weg TO TALVERO_ADMINISTRATOR"));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QVERIFY(rig.dialogs.boxes[0].text.contains(QStringLiteral("TALVERO_ADMINISTRATOR")));
        QVERIFY(!rig.app.quitRequested());
        setAdministrators({{s("ADMIN"), s("qorun")}});
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        QCOMPARE(rig.host.shown, 1);
    }

    void unreachableServerThenBack()
    {
        Rig rig;
        test::stopServer();
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        test::startServer();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QVERIFY(!rig.dialogs.boxes[0].text.isEmpty());
        QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::Critical);
        QCOMPARE(rig.host.shown, 0);
        // Counted as an attempt, but the next one signs in.
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        QCOMPARE(rig.host.shown, 1);
    }

    // A server that cannot be reached is named with what was tried and where it came from,
    // followed by what the driver itself said.
    void unreachableServerIsNamed_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("built-in address and port") << false;
        QTest::newRow("address and port from the file") << true;
    }
    void unreachableServerIsNamed()
    {
        QFETCH(bool, fromFile);
        QTcpServer unused;
        QVERIFY(unused.listen(QHostAddress::LocalHost));
        const int closed = unused.serverPort();
        unused.close();
        data::ServerSettings server;
        server.address = QStringLiteral("127.0.0.1");
        server.port = closed;
        if (fromFile) {
            server.addressOrigin = data::SettingOrigin::ServerFile;
            server.portOrigin = data::SettingOrigin::ServerFile;
        }
        data::useServer(server);
        auto restore = qScopeGuard([] {
            data::useServer(data::defaultServer());
            test::useTestServer();
        });
        Rig rig;
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        const QString text = rig.dialogs.boxes[0].text;
        const QString origin = fromFile ? QStringLiteral("(adres en poort uit /etc/talveros/server.conf).")
                                        : QStringLiteral("(ingebouwde standaardinstelling; een ander adres hoort in "
                                                         "/etc/talveros/server.conf).");
        QVERIFY2(text.startsWith(QStringLiteral("De databaseserver is niet te bereiken op adres 127.0.0.1, poort %1 ")
                                     .arg(closed)
                                 + origin + QStringLiteral("\n\nMelding van het stuurprogramma: ")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Can't connect to server on '127.0.0.1'")), qPrintable(text));
        QCOMPARE(rig.dialogs.boxes[0].icon, platform::Icon::Critical);
        QCOMPARE(rig.host.shown, 0);
    }

    // Three attempts are three, whatever a data error did on the third: reading the
    // administrators, or writing the log row after the right password.
    void dataErrorOnTheThirdAttemptEndsTheRun_data()
    {
        QTest::addColumn<QString>("missing"); // the table the third attempt cannot reach
        QTest::newRow("the administrators cannot be read") << "TALVERO_ADMINISTRATOR";
        QTest::newRow("the log row cannot be written") << "LOGINadministrator";
    }
    void dataErrorOnTheThirdAttemptEndsTheRun()
    {
        QFETCH(QString, missing);
        Rig rig;
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        test::execute(Database::Main, QStringLiteral("RENAME TABLE %1 TO %1_weg").arg(missing));
        auto restore = qScopeGuard(
            [&] { test::execute(Database::Main, QStringLiteral("RENAME TABLE %1_weg TO %1").arg(missing)); });
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));

        QCOMPARE(rig.dialogs.boxes.size(), size_t(4));
        QCOMPARE(rig.dialogs.boxes[2].icon, platform::Icon::Critical);
        QCOMPARE(rig.dialogs.texts().back(), kEnd);
        QCOMPARE(rig.app.exitCodes, (std::vector<int>{signin::kExitSignInRefused}));
        QCOMPARE(rig.host.shown, 0);
        // No fourth attempt.
        rig.attempt(QStringLiteral("ADMIN"), QStringLiteral("qorun"));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(4));
        QCOMPARE(rig.host.shown, 0);
    }

    void failuresAfterADataErrorStillEndAtTheThird()
    {
        test::execute(Database::Main, QStringLiteral("RENAME TABLE TALVERO_ADMINISTRATOR TO TALVERO_ADMIN_weg"));
        Rig rig;
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        test::execute(Database::Main, QStringLiteral("RENAME TABLE TALVERO_ADMIN_weg TO TALVERO_ADMINISTRATOR"));
        setAdministrators({{s("ADMIN"), s("qorun")}});
        rig.attempt(QStringLiteral("a"), QStringLiteral("b"));
        QCOMPARE(rig.dialogs.texts().back(), kEnd);
        QCOMPARE(rig.app.exitCodes, (std::vector<int>{signin::kExitSignInRefused}));
    }
};

QTEST_MAIN(TestSignIn)
#include "tst_signin.moc"
