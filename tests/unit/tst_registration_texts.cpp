#include "registration/RegistrationTexts.h"

#include <QtTest>

using namespace talveros::registration;

class TestRegistrationTexts : public QObject {
    Q_OBJECT
private slots:
    void credentials_data()
    {
        QTest::addColumn<QStringList>("fields"); // surname, address, postcode, business phone
        QTest::addColumn<QString>("login");
        QTest::newRow("full fields") << QStringList{"Jansen", "Kerkstraat 1", "3511 AB", "0301234567"} << "JaKB671";
        QTest::newRow("one-character surname") << QStringList{"O", "Dorpsweg", "1234", "06"} << "OD4061";
        QTest::newRow("short phone") << QStringList{"de Wit", "a", "x", "7"} << "deax71";
        QTest::newRow("all empty") << QStringList{"", "", "", ""} << "1";
        QTest::newRow("blanks and case kept") << QStringList{" v", " ", "9 ", "1 "} << " v  1 1";
        QTest::newRow("non-ascii") << QStringList{"Ølund", "Ébène", "é", "ü"} << "ØlÉéü1";
        QTest::newRow("character outside the basic plane kept whole")
            << QStringList{QString::fromUtf8("\xF0\x9F\x98\x80x"), "a", "b", "c"}
            << QString::fromUtf8("\xF0\x9F\x98\x80xabc1");
    }
    void credentials()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, login);
        const Credentials c = deriveCredentials(fields[0], fields[1], fields[2], fields[3]);
        QCOMPARE(c.login, login);
        QCOMPARE(c.password, login.chopped(1) + u'2');
    }

    void masterNumbers_data()
    {
        QTest::addColumn<qint64>("last"); // -1: empty table
        QTest::addColumn<QString>("number");
        QTest::newRow("empty table") << qint64(-1) << "0001";
        QTest::newRow("0") << qint64(0) << "0001";
        QTest::newRow("41") << qint64(41) << "0042";
        QTest::newRow("9998") << qint64(9998) << "9999";
        QTest::newRow("9999 wraps") << qint64(9999) << "0000";
        QTest::newRow("10000") << qint64(10000) << "0001";
        QTest::newRow("123456") << qint64(123456) << "3457";
    }
    void masterNumbers()
    {
        QFETCH(qint64, last);
        QFETCH(QString, number);
        QCOMPARE(nextMasterNumber(last < 0 ? std::nullopt : std::optional<qint64>(last)), number);
    }

    void summariesAndResults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("consultant summary")
            << consultantSummary({"drs.", "J.P.", "van", "Dijk", "Kerkstraat 1", "3511 AB", "Utrecht"})
            << "Weet U zeker dat U deze consultant wilt aanmaken?\r\n\r\nConsultant    : drs. J.P. van Dijk\r\n\r\n"
               "Adres             : Kerkstraat 1 3511 AB te Utrecht\r\n\r\n";
        QTest::newRow("consultant summary, all empty")
            << consultantSummary({})
            << "Weet U zeker dat U deze consultant wilt aanmaken?\r\n\r\nConsultant    :    \r\n\r\n"
               "Adres             :   te \r\n\r\n";
        QTest::newRow("consultant result")
            << consultantResult("0042", "Dijk", {"DiK571", "DiK572"})
            << "De consultant 0042 is aangemaakt\r\n\r\nConsultant        : Dijk\r\n\r\n"
               "LOGIN           wordt : DiK571\r\nPASWOORD wordt : DiK572\r\n";
        QTest::newRow("client summary")
            << clientSummary({"Gemeente", "ICT", "mr.", "A.", "de", "Boer", "Plein 2", "1000 AA", "Zeist"})
            << "Weet U zeker dat U deze opdrachtgever wilt aanmaken?\r\n\r\nOpdrachtgever  : Gemeente\r\n"
               "Afdeling             : ICT\r\n\r\nPersoon              : mr. A. de Boer\r\n\r\n"
               "Adres                  : Plein 2 1000 AA te Zeist\r\n\r\n";
        QTest::newRow("client result")
            << clientResult("0001", "", {"1", "2"})
            << "De opdrachtgever 0001 is aangemaakt\r\n\r\nOpdrachtgever        : \r\n\r\n"
               "LOGIN           wordt : 1\r\nPASWOORD wordt : 2\r\n";
        QTest::newRow("company") << clientCompany("Waterschap", "Inkoop") << "Waterschap  (Inkoop)";
        QTest::newRow("company, no department") << clientCompany("Waterschap", "") << "Waterschap  ()";
        QTest::newRow("company, both empty") << clientCompany("", "") << "  ()";
        QTest::newRow("project summary")
            << projectSummary("0007  Gemeente  (ICT)", "0012  drs. P. de Vries", "Audit", "Regel 1\r\nRegel 2")
            << "Weet U zeker dat U dit project wilt aanmaken?\r\n\r\nOpdrachtgever  : 0007  Gemeente  (ICT)\r\n"
               "Consultant         : 0012  drs. P. de Vries\r\n\r\nProjectnaam      : Audit\r\n\r\n"
               "Regel 1\r\nRegel 2\r\n";
        QTest::newRow("project exists") << projectExists("0012Audit0007")
                                        << "Een project met de naam '0012Audit0007' bestaat reeds";
        QTest::newRow("deletion question")
            << deletionQuestion("17", "Audit", "Regel 1\r\nRegel 2")
            << "Weet U zeker dat U dit project voorgoed wilt verwijderen?\r\n\r\n"
               "Wilt U opslaan en archieveren kies dan NEE!\r\n\r\nProjectnummer : 17\r\n"
               "Projectnaam      : Audit\r\n\r\nRegel 1\r\nRegel 2\r\n";
        QTest::newRow("deletion question, empty description")
            << deletionQuestion("3", "", "")
            << "Weet U zeker dat U dit project voorgoed wilt verwijderen?\r\n\r\n"
               "Wilt U opslaan en archieveren kies dan NEE!\r\n\r\nProjectnummer : 3\r\nProjectnaam      : \r\n\r\n\r\n";
        QTest::newRow("start refused") << planningDateRefusal(true)
                                       << "Startdatum kan niet later zijn dan Einddatum\r\n\r\n"
                                          "Bij herhaalde foutmelding, probeer eerst de Einddatum aan te passen.";
        QTest::newRow("end refused") << planningDateRefusal(false)
                                     << "Startdatum kan niet later zijn dan Einddatum\r\n\r\n"
                                        "Bij herhaalde foutmelding, probeer eerst de Startdatum aan te passen.";
    }
    void summariesAndResults()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    void planningDates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded month and day") << QDate(2008, 3, 5) << "2008/03/05";
        QTest::newRow("two-digit month and day") << QDate(2026, 12, 31) << "2026/12/31";
        QTest::newRow("short year unpadded") << QDate(812, 1, 9) << "812/01/09";
    }
    void planningDates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(planningDateText(date), text);
    }

    void planningDateCheck_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("start, no end yet") << true << "" << "2008/03/05" << true;
        QTest::newRow("start before end") << true << "2008/03/31" << "2008/03/05" << true;
        QTest::newRow("start equal to end") << true << "2008/03/05" << "2008/03/05" << true;
        QTest::newRow("start a day after end") << true << "2008/03/05" << "2008/03/06" << false;
        QTest::newRow("end, no start yet") << false << "" << "2008/03/05" << true;
        QTest::newRow("end after start") << false << "2008/03/01" << "2008/03/05" << true;
        QTest::newRow("end equal to start") << false << "2008/03/05" << "2008/03/05" << true;
        QTest::newRow("end a day before start") << false << "2008/03/05" << "2008/03/04" << false;
    }
    void planningDateCheck()
    {
        QFETCH(bool, start);
        QFETCH(QString, other);
        QFETCH(QString, picked);
        QFETCH(bool, accepted);
        QCOMPARE(planningDateAccepted(start, other, picked), accepted);
    }

    void numericKeys()
    {
        QString let;
        for (char16_t c = 0; c < 128; ++c) {
            if (numericKeyAllowed(QChar(c)))
                let += QChar(c);
        }
        QCOMPARE(let, QStringLiteral("\b\t\f%'.0123456789"));
        QVERIFY(!numericKeyAllowed(QChar(u'é')));
        QVERIFY(!numericKeyAllowed(QChar(u'٣'))); // a digit, but not one of "0" to "9"
    }

};

QTEST_GUILESS_MAIN(TestRegistrationTexts)
#include "tst_registration_texts.moc"
