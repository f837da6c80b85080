#include "messages/PresenceLines.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace talveros;
using messages::PresenceRow;

namespace {

// Character by character on the code of each character, a shorter text before a longer
// one that starts with it: the comparison the lists are specified with, written out
// rather than borrowed from QString.
bool lessByCodes(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a.at(i).unicode() != b.at(i).unicode())
            return a.at(i).unicode() < b.at(i).unicode();
    }
    return a.size() < b.size();
}

// The literal sort: exchange neighbours that stand in ascending order until a pass
// exchanges nothing.
QStringList bubbleSorted(QStringList lines)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (lessByCodes(lines[i], lines[i + 1])) {
                lines.swapItemsAt(i, i + 1);
                swapped = true;
            }
        }
    }
    return lines;
}

QString dateTime(QRandomGenerator &random, bool oddLengths)
{
    if (random.bounded(5) == 0)
        return QStringLiteral("00-00-0000  00:00:00");
    if (oddLengths && random.bounded(6) == 0)
        return QStringLiteral("1-%1-2008 9:0%2").arg(random.bounded(1, 3)).arg(random.bounded(3));
    // Few distinct values, so that equal sign-in texts and whole equal lines occur.
    return QStringLiteral("%1-%2-%3  %4:00:00")
        .arg(random.bounded(1, 4), 2, 10, QLatin1Char('0'))
        .arg(random.bounded(1, 3), 2, 10, QLatin1Char('0'))
        .arg(2007 + random.bounded(3))
        .arg(random.bounded(8, 10), 2, 10, QLatin1Char('0'));
}

QStringList generatedLines(quint32 seed, int count, bool oddLengths)
{
    QRandomGenerator random(seed);
    static const QStringList states{"ONLINE", "OFFLINE", "", "online", "ONLINE!"};
    static const QStringList titles{"", "ir.", "drs.", "Prof.dr.ir."};
    static const QStringList names{"Jansen", "de Vries", "Öztürk", "jansen", "Émile", "Zee"};
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        PresenceRow row;
        row.number = QStringLiteral("%1").arg(random.bounded(4), 4, 10, QLatin1Char('0'));
        row.title = titles.at(random.bounded(titles.size()));
        row.firstName = names.at(random.bounded(names.size()));
        row.surname = names.at(random.bounded(names.size()));
        row.signedIn = dateTime(random, oddLengths);
        row.signedOff = dateTime(random, oddLengths);
        row.online = states.at(random.bounded(oddLengths ? states.size() : 2));
        lines << messages::presenceLine(row);
    }
    return lines;
}

} // namespace

class TestPresenceLines : public QObject {
    Q_OBJECT
private slots:
    void headers()
    {
        QCOMPARE(messages::clientPresenceHeader(),
                 QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  OPDR  TITEL   NAAM"));
        QCOMPARE(messages::consultantPresenceHeader(),
                 QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  CONS  TITEL   NAAM"));
    }

    void line_data()
    {
        QTest::addColumn<QStringList>("fields"); // number, title, first, prefix, surname, in, off, online
        QTest::addColumn<QString>("expected");

        const QString in = QStringLiteral("01-15-2008  09:30:00"), off = QStringLiteral("01-15-2008  17:05:59");
        const QString never = QStringLiteral("00-00-0000  00:00:00");
        QTest::newRow("online")
            << QStringList{"0001", "ir.", "Jan", "van", "Dijk", in, off, "ONLINE"}
            << "ONLINE  01-15-2008  09:30:00   01-15-2008  17:05:59    0001  ir.     Jan      van      Dijk                   ";
        QTest::newRow("offline, empty title and prefix")
            << QStringList{"0002", "", "Anna", "", "Smit", in, off, "OFFLINE"}
            << "OFFLINE 01-15-2008  09:30:00   01-15-2008  17:05:59    0002          Anna              Smit                   ";
        QTest::newRow("long title cut to 7")
            << QStringList{"0003", "Prof.dr.ir.", "P.", "de", "Vries", in, off, "OFFLINE"}
            << "OFFLINE 01-15-2008  09:30:00   01-15-2008  17:05:59    0003  Prof.dr P.       de       Vries                  ";
        QTest::newRow("first name and prefix cut to 8")
            << QStringList{"0004", "mr.", "Alexandra", "van der Ve", "Berg", in, off, "OFFLINE"}
            << "OFFLINE 01-15-2008  09:30:00   01-15-2008  17:05:59    0004  mr.     Alexandr van der  Berg                   ";
        QTest::newRow("name part cut at 55")
            << QStringList{"0005", "dr.", "Wim", "ten", "Oppenheimer-Vanderbilt-Cornelissen", in, off, "ONLINE"}
            << "ONLINE  01-15-2008  09:30:00   01-15-2008  17:05:59    0005  dr.     Wim      ten      Oppenheimer-Vanderbilt-";
        // Six blanks appended, seven kept: an empty state stays six blanks wide.
        QTest::newRow("empty online state")
            << QStringList{"0006", "", "", "", "", in, off, ""}
            << "       01-15-2008  09:30:00   01-15-2008  17:05:59    0006                                                   ";
        QTest::newRow("longer online state cut to 7")
            << QStringList{"0007", "", "", "", "Bos", in, off, "ONLINE-WEB"}
            << "ONLINE- 01-15-2008  09:30:00   01-15-2008  17:05:59    0007                            Bos                    ";
        QTest::newRow("never signed in")
            << QStringList{"0008", "ing.", "K.", "", "Kok", never, never, "OFFLINE"}
            << "OFFLINE 00-00-0000  00:00:00   00-00-0000  00:00:00    0008  ing.    K.                Kok                    ";
        QTest::newRow("stored date-time of another length shifts the line")
            << QStringList{"0009", "", "J.", "", "Bakker", "1-5-2008 9:30", "", "ONLINE"}
            << "ONLINE  1-5-2008 9:30       0009          J.                Bakker                 ";
        QTest::newRow("cut through a character outside the basic plane keeps the width")
            << QStringList{"0010", QString::fromUtf8("abcdef\xF0\x9F\x98\x80"), "", "", "Vos", in, off, "OFFLINE"}
            << "OFFLINE 01-15-2008  09:30:00   01-15-2008  17:05:59    0010  abcdef                    Vos                    ";
        QTest::newRow("quotes, backslashes and other scripts as they are")
            << QStringList{"0011", "", "O'Neil", "", QString::fromUtf8("Zo\\ë \"Ø\""), in, off, "OFFLINE"}
            << QString::fromUtf8("OFFLINE 01-15-2008  09:30:00   01-15-2008  17:05:59    0011          O'Neil            Zo\\ë \"Ø\"               ");
    }

    void line()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        const QString line = messages::presenceLine(
            {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]});
        QCOMPARE(line, expected);
        if (fields[5].size() == 20 && fields[6].size() == 20)
            QCOMPARE(line.size(), fields[7].isEmpty() ? 109 : 110);
    }

    void sortEqualsBubbleSort_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QStringList{};
        QTest::newRow("one line") << QStringList{"OFFLINE x"};
        QTest::newRow("all equal") << QStringList(7, QStringLiteral("OFFLINE 00-00-0000  00:00:00"));
        QTest::newRow("already descending") << QStringList{"c", "b", "a"};
        QTest::newRow("ascending") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("prefixes of one another") << QStringList{"ab", "a", "abc", "", "a"};
        QTest::newRow("case is a character code") << QStringList{"a", "B", "b", "A", "_"};
        QTest::newRow("accents, private use and planes above")
            << QStringList{QString::fromUtf8("\xC3\xA9"), QString::fromUtf8("\xEE\x80\x80"),
                           QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("\xEF\xBF\xBD"), "z"};
        QTest::newRow("embedded NUL") << QStringList{QString(QChar(0)) + "b", "a", QString("a") + QChar(0)};
        for (quint32 seed : {1u, 2u, 3u, 42u})
            QTest::addRow("online and offline, seed %u", seed) << generatedLines(seed, 300, false);
        for (quint32 seed : {7u, 8u})
            QTest::addRow("odd states and date lengths, seed %u", seed) << generatedLines(seed, 300, true);
        QStringList sameSignIn;
        for (const QString &line : generatedLines(99, 200, false))
            sameSignIn << line.left(8) + "03-01-2008  09:00:00" + line.mid(28);
        QTest::newRow("same sign-in text") << sameSignIn;
    }

    void sortEqualsBubbleSort()
    {
        QFETCH(QStringList, lines);
        QStringList sorted = lines;
        messages::sortPresenceLines(sorted);
        QCOMPARE(sorted, bubbleSorted(lines));
    }

    void onlineAboveOfflineWhateverTheDates()
    {
        QStringList lines;
        lines << messages::presenceLine({"0001", "", "", "", "A", "12-31-2008  23:59:59", "", "OFFLINE"})
              << messages::presenceLine({"0002", "", "", "", "B", "00-00-0000  00:00:00", "", "ONLINE"});
        messages::sortPresenceLines(lines);
        QVERIFY(lines.first().startsWith(QLatin1String("ONLINE ")));
    }

    void missingValueNamesThePerson()
    {
        QCOMPARE(messages::missingPresenceValueText("isONLINE", false, "0042"),
                 QStringLiteral("De kolom 'isONLINE' van consultant 0042 heeft geen waarde (NULL)."));
        QCOMPARE(messages::missingPresenceValueText("isAFGEMELD", true, "0007"),
                 QStringLiteral("De kolom 'isAFGEMELD' van opdrachtgever 0007 heeft geen waarde (NULL)."));
    }
};

QTEST_APPLESS_MAIN(TestPresenceLines)
#include "tst_presencelines.moc"
