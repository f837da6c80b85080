#include "invoicing/DeclarationText.h"
#include "invoicing/Declarations.h"
#include "data/TextForms.h"

#include <QtTest>

using namespace talveros::invoicing;

// Declared before any test names it as a column type, whatever the build's optimisation.
Q_DECLARE_METATYPE(talveros::invoicing::InvoiceDeclaration)

namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

InvoiceDeclaration plain()
{
    InvoiceDeclaration d;
    d.projectnaam = QStringLiteral("Audit");
    d.consultantnaam = QStringLiteral("Jan de Vries");
    d.uren = QStringLiteral("8");
    d.peruurUIT = QStringLiteral("75,00");
    d.urentotaaluit = QStringLiteral("600,00");
    d.kilometers = QStringLiteral("120");
    d.perKM = QStringLiteral("0,19");
    d.totaalkostenKM = QStringLiteral("22,80");
    d.onkosten = QStringLiteral("12.50");
    d.kostenomschrijving = QStringLiteral("Parkeren");
    d.subtotaaluit = QStringLiteral("635,30");
    d.BTWuit = QStringLiteral("133,41");
    d.totaaluit = QStringLiteral("768,71");
    return d;
}

const QString kNumber = QStringLiteral("2008-01-00000001");

} // namespace

class TestInvoicingText : public QObject {
    Q_OBJECT
private slots:
    void listRows_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("client, short consultant")
            << clientRow(kNumber, QStringLiteral("Bob"), QStringLiteral("Audit"))
            << kNumber + QStringLiteral("  Bob") + blanks(43) + QStringLiteral("  Audit");
        const QString fifty = QStringLiteral("Consultant met een naam van precies vijftig tekens");
        QCOMPARE(fifty.size(), 50);
        QTest::newRow("client, long consultant cut at 46")
            << clientRow(kNumber, fifty, QStringLiteral("Audit"))
            << kNumber + QStringLiteral("  ") + fifty.left(46) + QStringLiteral("  Audit");
        QTest::newRow("client, long project kept whole")
            << clientRow(kNumber, QStringLiteral("Bob"), QString(60, QLatin1Char('p')))
            << kNumber + QStringLiteral("  Bob") + blanks(43) + QStringLiteral("  ") + QString(60, QLatin1Char('p'));
        QTest::newRow("project, short")
            << projectRow(kNumber, QStringLiteral("Audit"), QStringLiteral("Bob"))
            << kNumber + QStringLiteral(" Audit") + blanks(20) + QStringLiteral("  Bob");
        QTest::newRow("project, long project cut at 25")
            << projectRow(kNumber, QStringLiteral("Herinrichting magazijn Zuid-Oost"), QStringLiteral("Bob"))
            << kNumber + QStringLiteral(" Herinrichting magazijn Zu  Bob");
        QTest::newRow("project, consultant kept whole")
            << projectRow(kNumber, QStringLiteral("A"), QString(70, QLatin1Char('c')))
            << kNumber + QStringLiteral(" A") + blanks(24) + QStringLiteral("  ") + QString(70, QLatin1Char('c'));
        QTest::newRow("15-character number shifts, nothing more")
            << clientRow(kNumber.left(15), QStringLiteral("Bob"), QStringLiteral("X"))
            << kNumber.left(15) + QStringLiteral("  Bob") + blanks(43) + QStringLiteral("  X");
        QTest::newRow("300 characters")
            << clientRow(kNumber, QString(300, QLatin1Char('c')), QStringLiteral("Audit"))
            << kNumber + QStringLiteral("  ") + QString(46, QLatin1Char('c')) + QStringLiteral("  Audit");
        QTest::newRow("line breaks and tabs become blanks")
            << clientRow(kNumber, QStringLiteral("Jan\r\nPiet"), QStringLiteral("A\tB"))
            << kNumber + QStringLiteral("  Jan  Piet") + blanks(37) + QStringLiteral("  A B");
        QTest::newRow("quotes and non-ASCII")
            << projectRow(kNumber, QStringLiteral("Caf\u00e9 \u2018t Hoekje"), QStringLiteral("O'Brien \"J\""))
            << kNumber + QStringLiteral(" Caf\u00e9 \u2018t Hoekje") + blanks(11) + QStringLiteral("  O'Brien \"J\"");
        // A character outside the BMP counts as one column and is never split.
        const QString smile = QStringLiteral("\U0001F600");
        QTest::newRow("astral characters")
            << projectRow(kNumber, QString(30, QLatin1Char('x')).left(24) + smile + smile, QStringLiteral("B"))
            << kNumber + QLatin1Char(' ') + QString(24, QLatin1Char('x')) + smile + QStringLiteral("  B");
        QTest::newRow("overview, nee")
            << overviewRow(kNumber, QStringLiteral("nee"), QStringLiteral("Audit"))
            << QStringLiteral("2008-01-00000001nee  Audit");
        QTest::newRow("overview, ja")
            << overviewRow(kNumber, QStringLiteral("ja"), QStringLiteral("Audit 2"))
            << QStringLiteral("2008-01-00000001ja  Audit 2");
    }
    void listRows()
    {
        QFETCH(QString, row);
        QFETCH(QString, expected);
        QCOMPARE(row, expected);
    }

    void invoiceBlocks_data()
    {
        QTest::addColumn<InvoiceDeclaration>("declaration");
        QTest::addColumn<QStringList>("expected");

        const QString rule = blanks(71) + QString(20, QLatin1Char('-'));
        auto sums = [&](const QString &sub, const QString &vat, const QString &total) {
            return QStringList{rule, blanks(71) + QStringLiteral("SUBTOTAAL: ") + sub, rule,
                               blanks(71) + QStringLiteral("BTW:       ") + vat,
                               blanks(71) + QString(20, QLatin1Char('=')),
                               blanks(71) + QStringLiteral("TOTAAL:    ") + total, QString()};
        };
        const QString head = QStringLiteral("Factuurnummer: 2008-01-00000001         Projectnaam: Audit");
        const QString consultant = QStringLiteral("Consultant:    Jan de Vries") + blanks(34);

        QTest::newRow("every line") << plain()
                                    << QStringList{head, consultant,
                                                   blanks(40) + QStringLiteral("Uren:        008 \u00e1  75,00      Totaal:       600,00"),
                                                   blanks(40) + QStringLiteral("Kilometers:  120 \u00e1   0,19      Totaal:        22,80"),
                                                   QStringLiteral("Onkosten:      Parkeren") + blanks(48) + QStringLiteral("Totaal:        12.50")}
                + sums(QStringLiteral("   635,30"), QStringLiteral("   133,41"), QStringLiteral("   768,71"));

        InvoiceDeclaration d = plain();
        d.uren = QStringLiteral("12");
        d.kilometers = QStringLiteral("0");
        d.onkosten = QStringLiteral("0,75"); // decimal comma below one: no expense
        QTest::newRow("12 hours, no km, comma below one")
            << d << QStringList{head, consultant, blanks(40) + QStringLiteral("Uren:        012 \u00e1  75,00      Totaal:       600,00")}
                        + sums(QStringLiteral("   635,30"), QStringLiteral("   133,41"), QStringLiteral("   768,71"));

        d = plain();
        d.uren = QStringLiteral("7.25");
        d.kilometers = QStringLiteral("-3");
        d.onkosten = QStringLiteral("  12,50"); // decimal comma above one counts by its whole part
        d.kostenomschrijving = QString(60, QLatin1Char('o'));
        QTest::newRow("7.25 hours, negative km, comma above one, long description")
            << d << QStringList{head, consultant, blanks(40) + QStringLiteral("Uren:        .25 \u00e1  75,00      Totaal:       600,00"),
                                QStringLiteral("Onkosten:      ") + QString(56, QLatin1Char('o')) + QStringLiteral("Totaal:        12,50")}
                        + sums(QStringLiteral("   635,30"), QStringLiteral("   133,41"), QStringLiteral("   768,71"));

        d = plain();
        d.uren = QStringLiteral("0");
        d.kilometers = QStringLiteral("1234");
        d.perKM = QStringLiteral("12345678");
        d.totaalkostenKM = QStringLiteral("123456789012");
        d.onkosten = QStringLiteral("abc");
        d.subtotaaluit = QStringLiteral("1234567890");
        d.BTWuit = QString();
        d.totaaluit = QStringLiteral("x");
        QTest::newRow("over-wide values lose their leading characters")
            << d << QStringList{head, consultant, blanks(40) + QStringLiteral("Kilometers:  234 \u00e1 345678      Totaal:   3456789012")}
                        + sums(QStringLiteral("234567890"), blanks(9), QStringLiteral("        x"));

        d = plain();
        d.uren = QStringLiteral(" 0,0 ");
        d.kilometers = QStringLiteral("0.000");
        d.onkosten = QStringLiteral("-5");
        d.consultantnaam = QString(50, QLatin1Char('c'));
        d.projectnaam = QStringLiteral("O'Brien \"X\"\r\nvervolg");
        QTest::newRow("zeros written otherwise, long consultant, line break in project")
            << d << QStringList{QStringLiteral("Factuurnummer: 2008-01-00000001         Projectnaam: O'Brien \"X\"  vervolg"),
                                QStringLiteral("Consultant:    ") + QString(46, QLatin1Char('c'))}
                        + sums(QStringLiteral("   635,30"), QStringLiteral("   133,41"), QStringLiteral("   768,71"));

        d = plain();
        d.onkosten = QStringLiteral("1.5e3 euro");
        d.kostenomschrijving = QStringLiteral("Hotel\tAmsterdam");
        d.uren = QStringLiteral("0");
        d.kilometers = QStringLiteral("0");
        QTest::newRow("lenient expense, tab in description")
            << d << QStringList{head, consultant, QStringLiteral("Onkosten:      Hotel Amsterdam") + blanks(41) + QStringLiteral("Totaal:   1.5e3 euro")}
                        + sums(QStringLiteral("   635,30"), QStringLiteral("   133,41"), QStringLiteral("   768,71"));
    }
    void invoiceBlocks()
    {
        QFETCH(InvoiceDeclaration, declaration);
        QFETCH(QStringList, expected);
        const QStringList lines = invoiceBlock(kNumber, declaration);
        QCOMPARE(lines, expected);
        // From the hours line on every line but the closing empty one reaches column 91.
        for (qsizetype i = 2; i < lines.size() - 1; ++i)
            QCOMPARE(lines[i].size(), 91);
    }

    void countsThatAreNoNumber_data()
    {
        QTest::addColumn<QString>("uren");
        QTest::addColumn<QString>("kilometers");
        QTest::newRow("empty hours") << QString() << QStringLiteral("0");
        QTest::newRow("word for km") << QStringLiteral("8") << QStringLiteral("veel");
        QTest::newRow("two separators") << QStringLiteral("1.2.3") << QStringLiteral("0");
    }
    void countsThatAreNoNumber()
    {
        QFETCH(QString, uren);
        QFETCH(QString, kilometers);
        InvoiceDeclaration d = plain();
        d.uren = uren;
        d.kilometers = kilometers;
        QVERIFY_THROWS_EXCEPTION(InvoiceDataError, invoiceBlock(kNumber, d));
    }

    void leadingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << QStringLiteral("12.50") << 12.5;
        QTest::newRow("leading blanks") << QStringLiteral("   3") << 3.0;
        QTest::newRow("comma ends") << QStringLiteral("0,99") << 0.0;
        QTest::newRow("comma above one") << QStringLiteral("15,75") << 15.0;
        QTest::newRow("negative") << QStringLiteral("-2.5") << -2.5;
        QTest::newRow("no number") << QStringLiteral("EUR 5") << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("point first") << QStringLiteral(".5x") << 0.5;
    }
    void leadingNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(leadingNumber(text), expected);
    }

    // Blocks follow the selected rows, a number selected twice gives its blocks twice,
    // and the declarations of one number keep their table order.
    void invoiceOrder()
    {
        InvoiceDeclaration first = plain(), second = plain(), other = plain();
        first.projectnaam = QStringLiteral("Eerste");
        second.projectnaam = QStringLiteral("Tweede");
        other.projectnaam = QStringLiteral("Ander");
        const QString a = QStringLiteral("A000000000000001"), b = QStringLiteral("B000000000000002");
        const std::vector<KeyedDeclaration> found{{a, first}, {b, other}, {a, second}};
        const QStringList lines = invoiceLines(QStringLiteral("Klant"), {b, a, a, QStringLiteral("C")}, found);
        QStringList heads;
        for (const QString &line : lines)
            if (line.startsWith(QLatin1String("Factuurnummer: ")))
                heads << line.mid(15, 16) + line.mid(53);
        QCOMPARE(heads, (QStringList{b + "Ander", a + "Eerste", a + "Tweede", a + "Eerste", a + "Tweede"}));
        QCOMPARE(lines.mid(0, 2), (QStringList{QStringLiteral("Factuur voor Klant"), QString()}));
        QCOMPARE(invoiceText({QStringLiteral("a"), QString()}), QStringLiteral("a\r\n\r\n"));
        QCOMPARE(invoiceLines(QString(), {}, {}), (QStringList{QStringLiteral("Factuur voor "), QString()}));
    }

    // The overview's lists sort the rows they keep as bytes; their order must be the
    // one every other list has (data::sortedTexts) and every row its overview text.
    void overviewListOrder_data()
    {
        QTest::addColumn<QStringList>("declarations"); // number|project
        QTest::addColumn<QString>("flag");
        const QString n = QStringLiteral("2008-01-0000000");
        QTest::newRow("case first ignored") << QStringList{n + "b|P", n + "A|P", n + "a|P", n + "B|P"} << "nee";
        QTest::newRow("ties beyond the number")
            << QStringList{n + "1|audit", n + "1|AUDIT", n + "1|Audit", n + "1|Audi", n + "1|audit"} << "ja";
        QTest::newRow("short numbers reach the project")
            << QStringList{"1|b", "1|A", "10|a", "1 |a", "|x", "1|a"} << "nee";
        QTest::newRow("control characters are blanks")
            << QStringList{"12\t4|A", "12 4|B", "12\n4|a", "12!4|a", "1\x7f|a"} << "nee";
        QTest::newRow("non-ASCII among ASCII")
            << QStringList{n + QStringLiteral("1|\u00c9clair"), n + "1|eclair", n + "1|fabriek",
                           QStringLiteral("\u00c9") + n + "|A", "e" + n + "|A", "E" + n + "|B",
                           QStringLiteral("\u00df|x"), "ss|x", "SS|x", QStringLiteral("\u0130|x"), "i|x",
                           QStringLiteral("a\u2028b|x"), "a b|y"}
            << "ja";
        QTest::newRow("outside the BMP against high BMP")
            << QStringList{QStringLiteral("\U0001F600|a"), QStringLiteral("\uFF21|a"), QStringLiteral("\uFF41|a"),
                           "z|a", n + QStringLiteral("1|\U0001F600"), n + QStringLiteral("1|\uFFFD")}
            << "nee";
        // Many near-equal rows: the sort meets every kind of tie.
        QStringList many;
        const QString projects[] = {"Audit", "audit", QStringLiteral("Caf\u00e9"), QStringLiteral("CAF\u00c9"), "Zorg"};
        for (int i = 0; i < 600; ++i)
            many << QStringLiteral("%1%2|%3").arg(i % 7 ? "a" : "A").arg(i % 13).arg(projects[i % 5]);
        QTest::newRow("600 near-equal rows") << many << "nee";
    }
    void overviewListOrder()
    {
        QFETCH(QStringList, declarations);
        QFETCH(QString, flag);
        auto store = std::make_shared<OverviewDeclarations>();
        store->add("unlisted", "Z"); // the store holds more than one list shows
        std::vector<std::uint32_t> listed;
        QStringList expected;
        for (const QString &d : declarations) {
            const QString number = d.section('|', 0, 0), project = d.section('|', 1);
            const QByteArray nb = number.toUtf8(), pb = project.toUtf8();
            listed.push_back(store->add(std::string_view(nb.constData(), size_t(nb.size())),
                                        std::string_view(pb.constData(), size_t(pb.size()))));
            expected << overviewRow(number, flag, project);
        }
        const auto list = overviewList(store, flag, listed);
        QStringList shown;
        for (int r = 0; r < list->count(); ++r)
            shown << list->text(r);
        QCOMPARE(shown, talveros::data::sortedTexts(expected));
    }
};


QTEST_APPLESS_MAIN(TestInvoicingText)
#include "tst_invoicingtext.moc"
