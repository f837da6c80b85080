#include "data/TextForms.h"

#include <QtTest>

using namespace talveros::data;

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void listEntries_data()
    {
        QTest::addColumn<QStringList>("parts"); // number, title, first name, prefix, surname
        QTest::addColumn<QString>("entry");
        QTest::newRow("all parts") << QStringList{"0012", "drs.", "J.P.", "van", "Dijk"} << "0012  drs. J.P. van Dijk";
        QTest::newRow("no title, no prefix") << QStringList{"0003", "", "Anna", "", "Smit"} << "0003   Anna  Smit";
        QTest::newRow("all empty") << QStringList{"", "", "", "", ""} << "     ";
        QTest::newRow("non-ascii kept") << QStringList{"0001", "ir.", "Łukasz", "", "Müller"} << "0001  ir. Łukasz  Müller";
    }
    void listEntries()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, entry);
        QCOMPARE(consultantListEntry(parts[0], parts[1], parts[2], parts[3], parts[4]), entry);
        QCOMPARE(personName(parts[1], parts[2], parts[3], parts[4]), entry.mid(parts[0].size() + 2));
    }

    void clientEntryAndCounter()
    {
        QCOMPARE(clientListEntry("0001", "Gemeente Utrecht  (ICT)"), QStringLiteral("0001  Gemeente Utrecht  (ICT)"));
        QCOMPARE(counterText(0), QStringLiteral(" 0"));
        QCOMPARE(counterText(1), QStringLiteral(" 1"));
        QCOMPARE(counterText(12), QStringLiteral(" 12"));
    }

    void dateTimeIgnoresRegionalSettings_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("nl") << "nl_NL";
        QTest::newRow("us") << "en_US";
        QTest::newRow("de") << "de_DE";
    }
    void dateTimeIgnoresRegionalSettings()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(dateTimeText(QDateTime(QDate(2008, 1, 15), QTime(14, 5, 9))), QStringLiteral("01-15-2008  14:05:09"));
        QCOMPARE(dateTimeText(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 0))), QStringLiteral("12-08-2026  00:00:00"));
        QLocale::setDefault(QLocale::c());
    }

    void textOrder_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("numbers first") << QStringList{"0012  b", "0003  a", "0100  c"} << QStringList{"0003  a", "0012  b", "0100  c"};
        QTest::newRow("case does not separate words") << QStringList{"beta", "Alpha", "alpha2", "Beta"}
                                                      << QStringList{"Alpha", "alpha2", "Beta", "beta"};
        QTest::newRow("equal texts stay together") << QStringList{"audit", "Audit", "b", "audit"}
                                                   << QStringList{"Audit", "audit", "audit", "b"};
        QTest::newRow("blank before letters") << QStringList{"ab", "a b", "a"} << QStringList{"a", "a b", "ab"};
    }
    void textOrder()
    {
        QFETCH(QStringList, input);
        QFETCH(QStringList, sorted);
        QCOMPARE(sortedTexts(input), sorted);
        // The order does not follow the default locale.
        QLocale::setDefault(QLocale(QStringLiteral("sv_SE")));
        QCOMPARE(sortedTexts(input), sorted);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
