#include "data/TextForms.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

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

    // Every sorted list comes out of one sort, with short cuts for ASCII, for texts alike
    // in their first letters and for long lists sorted in parts side by side. Each row
    // gives what a plain stable sort by textLess gives, in whatever order the texts came
    // and whatever the default locale, and where a row names its order, that order.
    void textOrder_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("sorted"); // empty: only as textLess sorts
        QTest::newRow("numbers first") << QStringList{"0012  b", "0003  a", "0100  c"} << QStringList{"0003  a", "0012  b", "0100  c"};
        QTest::newRow("case does not separate words") << QStringList{"beta", "Alpha", "alpha2", "Beta"}
                                                      << QStringList{"Alpha", "alpha2", "Beta", "beta"};
        QTest::newRow("equal texts stay together") << QStringList{"audit", "Audit", "b", "audit"}
                                                   << QStringList{"Audit", "audit", "audit", "b"};
        QTest::newRow("blank before letters") << QStringList{"ab", "a b", "a"} << QStringList{"a", "a b", "ab"};
        QTest::newRow("alike in the first eight letters")
            << QStringList{"Projectcode9", "projectcode10", "PROJECTCODE1", "projectcode", "Projectc"}
            << QStringList{"Projectc", "projectcode", "PROJECTCODE1", "projectcode10", "Projectcode9"};
        QTest::newRow("accents beside plain letters")
            << QStringList{"Zürich", "zurich", "ZÜRICH", "Zurich B", "Éclair", "eclair", "ÉCLAIR"}
            << QStringList{"eclair", "zurich", "Zurich B", "ZÜRICH", "Zürich", "ÉCLAIR", "Éclair"};
        QTest::newRow("character zero and past the last letter")
            << QStringList{QString(QChar(0)) + u'a', "a", QStringLiteral("\u00ff"), "{", "~"}
            << QStringList{QString(QChar(0)) + u'a', "a", "{", "~", QStringLiteral("\u00ff")};
        QTest::newRow("case") << QStringList{"b", "B", "a", "A", "ab", "Ab", "aB"} << QStringList{};
        QTest::newRow("equal first 16") << QStringList{"2008-01-00000001nee  Zorg", "2008-01-00000001nee  audit",
                                                       "2008-01-00000001nee  Audit", "2008-01-00000001ja  Bouw"}
                                        << QStringList{};
        QTest::newRow("prefixes and control characters")
            << QStringList{"abc", "ab", QStringLiteral("ab") + QChar(0), "ab ", "", "a\tb", "ABC"} << QStringList{};
        QTest::newRow("non-ASCII inside and after 16")
            << QStringList{"\u00c9cole", "ecole", "Ecole", "\u00e9cole", "2008-01-00000001\u00e9", "2008-01-00000001z",
                           "2008-01-00000001E", "Stra\u00dfe", "STRASSE", "stra\u00dfe", "\U0001F600", "z"}
            << QStringList{};
        QTest::newRow("all of them") << QStringList{"Z", "z", "1", "10", "9", "_", "~", "[", "a"} << QStringList{};
        const QStringList words = {"Audit", "audit", "audit ", "Zaak", "zaak", "\u00c4rger", "\u00c9clair", "beta",
                                   "Beta", "", "\U00010400", "\U00010428", "\u03a3", "\u03c2", "\u212a", "k"};
        QRandomGenerator random(7);
        for (int count : {50, 20001}) {
            QStringList texts;
            for (int i = 0; i < count; ++i)
                texts << words[int(random.bounded(qsizetype(words.size())))] + QString::number(random.bounded(30))
                        + words[int(random.bounded(qsizetype(words.size())))];
            QTest::newRow(count > 4096 ? "long, in two halves" : "short, mixed") << texts << QStringList{};
        }
        // A long list of letter case, accents and repeats, against the order spelled out
        // independently: case-folded texts first, then character codes.
        const QStringList mixed{"Audit", "audit", "Ärger", "ärger", "Analyse 1", "analyse 10", "Zee", "zeeë", "", "A"};
        QStringList texts;
        for (int i = 0; i < 20000; ++i)
            texts << QString::number((i * 7919) % 3000) + mixed[i % mixed.size()] + QString::number(i % 7);
        QStringList byFolding = texts;
        std::stable_sort(byFolding.begin(), byFolding.end(), [](const QString &a, const QString &b) {
            const int folded = QString::compare(a.toCaseFolded(), b.toCaseFolded(), Qt::CaseSensitive);
            return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
        });
        QTest::newRow("long, case-folded first") << texts << byFolding;
    }
    void textOrder()
    {
        QFETCH(QStringList, input);
        QFETCH(QStringList, sorted);
        QStringList expected = input;
        std::stable_sort(expected.begin(), expected.end(), textLess);
        if (!sorted.isEmpty())
            QCOMPARE(expected, sorted);
        QCOMPARE(sortedTexts(input), expected);
        QCOMPARE(sortedTexts(QStringList(input.crbegin(), input.crend())), expected);
        QLocale::setDefault(QLocale(QStringLiteral("sv_SE")));
        const QStringList inSwedish = sortedTexts(input);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(inSwedish, expected);
    }

    // Sorted again after rows were added, changed or removed, a list is what a whole
    // sort makes of it, whichever way it got there.
    void sortedAgain_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        const QStringList words{"Audit", "audit", "audit ", "\u00c4rger", "\u00e4rger", "b", "", "\U0001F600", "Zee", "audit"};
        QStringList changed = words;
        changed[3] = QStringLiteral("x");
        QStringList many;
        for (int i = 0; i < 100; ++i)
            many << QString::number(i % 13) + words[i % words.size()];
        QStringList long_;
        QRandomGenerator random(11);
        for (int i = 0; i < 20000; ++i)
            long_ << words[int(random.bounded(qsizetype(words.size())))] + QString::number(random.bounded(500));
        QTest::newRow("one added, equal to some") << words << words + QStringList{"audit"};
        QTest::newRow("added everywhere") << words << words + QStringList{"AUDIT", "0", "zz", "\u00e4rger", "\u00c4rger", ""};
        QTest::newRow("none added") << words << words;
        QTest::newRow("nothing before") << QStringList{} << words;
        QTest::newRow("one changed, one added") << words << changed + QStringList{"y"};
        QTest::newRow("first removed") << words << words.mid(1);
        QTest::newRow("all removed") << words << QStringList{};
        QTest::newRow("many added") << words << words + many;
        QTest::newRow("long, one added") << long_ << long_ + QStringList{"audit250"};
    }
    void sortedAgain()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        const SortedTexts first = SortedTexts().with(before);
        const SortedTexts again = first.with(after);
        QCOMPARE(again.sorted(), sortedTexts(after));
        QCOMPARE(again.asGiven(), after);
        QCOMPARE(first.sorted(), sortedTexts(before));
        QCOMPARE(again.with(after).sorted(), again.sorted());
    }

    void neighbourRepeats_data()
    {
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("out");
        QTest::newRow("empty") << QStringList{} << QStringList{};
        QTest::newRow("one") << QStringList{"a"} << QStringList{"a"};
        QTest::newRow("run of three") << QStringList{"a", "a", "a", "b"} << QStringList{"a", "b"};
        QTest::newRow("run at the end") << QStringList{"a", "x", "x", "x"} << QStringList{"a", "x"};
        QTest::newRow("only neighbours") << QStringList{"a", "b", "a"} << QStringList{"a", "b", "a"};
        QTest::newRow("case and trailing blank differ") << QStringList{"Audit", "audit", "audit ", "audit "}
                                                        << QStringList{"Audit", "audit", "audit "};
    }
    void neighbourRepeats()
    {
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        QCOMPARE(withoutNeighbourRepeats(in), out);
    }
};

QTEST_GUILESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
