#include "invoicing/Outstanding.h"
#include "platform/Failure.h"

#include <QtTest>

#include <string>

using namespace talveros::invoicing;

namespace {

// Declarations written "name|flag|total", in table order; a total "<NULL>" is NULL. The
// invoice number is the row's place, counted from 1.
struct Declarations {
    std::vector<std::string> bytes; // four a declaration
    std::vector<PanelDeclaration> rows;
    explicit Declarations(const QStringList &written)
    {
        for (qsizetype i = 0; i < written.size(); ++i)
            for (const QString &part : QStringList{QString::number(i + 1)} + written[i].split(QLatin1Char('|')))
                bytes.push_back(part.toStdString());
        for (size_t i = 0; i < bytes.size(); i += 4)
            rows.push_back({bytes[i], bytes[i + 1], bytes[i + 2],
                            bytes[i + 3] == "<NULL>" ? std::nullopt : std::optional<std::string_view>(bytes[i + 3])});
    }
};

// A bar as "name=euro text/declarations".
QStringList barTexts(const OutstandingSums &sums)
{
    QStringList bars;
    for (const OutstandingBar &b : sums.bars)
        bars << QStringLiteral("%1=%2/%3").arg(b.name, euroText(b.cents)).arg(b.declarations);
    if (sums.rest)
        bars << QStringLiteral("%1=%2/%3").arg(sums.rest->name, euroText(sums.rest->cents)).arg(sums.rest->declarations);
    return bars;
}

} // namespace

class TestOutstanding : public QObject {
    Q_OBJECT
private slots:
    void amounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("cents"); // -1: not a number
        const qint64 none = -1;
        QTest::newRow("point, as the network writes") << "11336.27" << qint64(1133627);
        QTest::newRow("comma") << "726,00" << qint64(72600);
        QTest::newRow("Dutch grouping") << "1.234,56" << qint64(123456);
        QTest::newRow("two groups") << "12.345.678,9" << qint64(1234567890);
        QTest::newRow("whole euros") << "1234" << qint64(123400);
        QTest::newRow("one decimal") << "12,5" << qint64(1250);
        QTest::newRow("blanks around") << "  99.95 " << qint64(9995);
        QTest::newRow("credit") << "-40,00" << qint64(-4000);
        QTest::newRow("1.23 is a fraction") << "1.23" << qint64(123);
        QTest::newRow("point then three digits") << "1.234" << none;
        QTest::newRow("comma then three digits") << "1,234" << none;
        QTest::newRow("grouping without decimal comma") << "1.234.567" << none;
        QTest::newRow("English grouping") << "1,234.56" << none;
        QTest::newRow("grouping then point") << "1.234.56" << none;
        QTest::newRow("group of two") << "12.34,00" << none;
        QTest::newRow("three decimals") << "12,345" << none;
        QTest::newRow("no whole part") << ",50" << none;
        QTest::newRow("no decimals after separator") << "12." << none;
        QTest::newRow("currency sign") << "\u20ac 12,00" << none;
        QTest::newRow("currency word") << "12,00 EUR" << none;
        QTest::newRow("plus") << "+12" << none;
        QTest::newRow("blank inside") << "1 234,00" << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("Arabic-Indic digits") << "\u0661\u0662" << none;
        QTest::newRow("13 whole digits") << "1234567890123" << qint64(123456789012300);
        QTest::newRow("14 whole digits") << "12345678901234" << none;
    }
    void amounts()
    {
        QFETCH(QString, text);
        QFETCH(qint64, cents);
        const std::string bytes = text.toStdString();
        const std::optional<std::int64_t> read = amountInCents(bytes);
        QCOMPARE(read.has_value(), cents != -1);
        if (read)
            QCOMPARE(qint64(*read), cents);
    }

    void euros_data()
    {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        QTest::newRow("cents") << qint64(5) << "\u20ac 0,05";
        QTest::newRow("hundreds") << qint64(72600) << "\u20ac 726,00";
        QTest::newRow("thousands") << qint64(123456) << "\u20ac 1.234,56";
        QTest::newRow("millions") << qint64(123456789012) << "\u20ac 1.234.567.890,12";
        QTest::newRow("credit") << qint64(-123456) << "\u20ac -1.234,56";
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "\u20ac -92.233.720.368.547.758,08";
    }
    void euros()
    {
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(euroText(cents), text);
    }

    void sums_data()
    {
        QTest::addColumn<QStringList>("declarations");
        QTest::addColumn<int>("named");
        QTest::addColumn<QStringList>("bars");
        QTest::addColumn<QStringList>("unread"); // invoice numbers
        QTest::addColumn<int>("declarationCount");

        QTest::newRow("largest first, one name summed")
            << QStringList{"Bert|nee|100", "Anna|nee|50,5", "Anna|nee|60.25", "Cees|nee|1.000,00"} << 20
            << QStringList{"Cees=\u20ac 1.000,00/1", "Anna=\u20ac 110,75/2", "Bert=\u20ac 100,00/1"} << QStringList{}
            << 4;
        QTest::newRow("only exact nee; names byte for byte")
            << QStringList{"Anna|Nee|1", "Anna|nee |1", "Anna|ja|1", "Anna||1", "anna|nee|2", "Anna |nee|3",
                           "Anna|nee|4"}
            << 20 << QStringList{"Anna=\u20ac 4,00/1", "Anna =\u20ac 3,00/1", "anna=\u20ac 2,00/1"} << QStringList{}
            << 3;
        QTest::newRow("beyond the named bars: overige")
            << QStringList{"A|nee|1", "B|nee|4", "C|nee|3", "D|nee|2", "E|nee|2", "C|nee|3"} << 2
            << QStringList{"C=\u20ac 6,00/2", "B=\u20ac 4,00/1", "overige=\u20ac 5,00/3"} << QStringList{} << 6;
        QTest::newRow("exactly the named bars: no overige")
            << QStringList{"A|nee|1", "B|nee|2"} << 2 << QStringList{"B=\u20ac 2,00/1", "A=\u20ac 1,00/1"}
            << QStringList{} << 2;
        QTest::newRow("non-numbers counted apart, never guessed")
            << QStringList{"A|nee|12,5 euro", "A|nee|10", "B|nee|<NULL>", "B|nee|", "C|ja|kapot", "A|nee|1.234"}
            << 20 << QStringList{"A=\u20ac 10,00/1"} << QStringList{"1", "3", "4", "6"} << 5;
        QTest::newRow("credits") << QStringList{"A|nee|-50", "B|nee|20", "A|nee|30"} << 20
                                 << QStringList{"B=\u20ac 20,00/1", "A=\u20ac -20,00/2"} << QStringList{} << 3;
        QTest::newRow("nothing unpaid") << QStringList{"A|ja|1"} << 20 << QStringList{} << QStringList{} << 0;
    }
    void sums()
    {
        QFETCH(QStringList, declarations);
        QFETCH(int, named);
        QFETCH(QStringList, bars);
        QFETCH(QStringList, unread);
        QFETCH(int, declarationCount);
        const Declarations d(declarations);
        const OutstandingSums sums = outstandingSums(d.rows, size_t(named));
        QCOMPARE(barTexts(sums), bars);
        QStringList numbers;
        for (const UnreadTotal &u : sums.unread)
            numbers << u.invoiceNumber;
        QCOMPARE(numbers, unread);
        QCOMPARE(sums.declarations, declarationCount);
        std::int64_t total = 0;
        for (const OutstandingBar &b : sums.bars)
            total += b.cents;
        QCOMPARE(qint64(sums.total), qint64(total + (sums.rest ? sums.rest->cents : 0)));
    }

    void sumTooLarge()
    {
        const Declarations d({"A|nee|9999999999999", "A|nee|-1"});
        std::vector<PanelDeclaration> many(100000, d.rows[0]);
        QVERIFY_THROWS_EXCEPTION(talveros::platform::Failure, outstandingSums(many));
        // A credit in between does not make a wrong sum out of an overflow.
        QCOMPARE(qint64(outstandingSums(d.rows).total), qint64(999999999999900 - 100));
    }

    void labelsAndNotes()
    {
        const QString longName(60, QLatin1Char('x'));
        const Declarations d({"overige|nee|9", "|nee|8", "Jan\r\nPiet|nee|7", "Jan  Piet|nee|6",
                              (longName + "|nee|5"), "Z|nee|1", "Y|nee|1", "Y|nee|geen",
                              "Y|nee|<NULL>", "Y|nee|", "Y|nee|1,234", "Y|nee|x\ny", "Y|nee|?"});
        const OutstandingSums sums = outstandingSums(d.rows, 5);
        QCOMPARE(barLabels(sums), (QStringList{"overige (2)", "(geen naam)", "Jan  Piet", "Jan  Piet (2)",
                                               QString(44, QLatin1Char('x')) + "\u2026", "overige"}));
        QCOMPARE(restNote(sums), QStringLiteral("\"overige\" telt de 2 namen na de eerste 5 samen."));
        QCOMPARE(unreadNote(sums.unread),
                 QStringLiteral("Niet meegeteld: 6 declaraties waarvan het totaalbedrag geen getal is: 8 ('geen'), "
                                "9 (geen waarde), 10 (leeg), 11 ('1,234'), 12 ('x y') en nog 1."));
        QCOMPARE(unreadNote({{"2008-01-00000001", QString("abc")}}),
                 QStringLiteral("Niet meegeteld: 1 declaratie waarvan het totaalbedrag geen getal is: "
                                "2008-01-00000001 ('abc')."));
        QCOMPARE(unreadNote({}), QString());
        QCOMPARE(restNote(outstandingSums(d.rows)), QString());
    }
};

QTEST_MAIN(TestOutstanding)
#include "tst_outstanding.moc"
