#include "platform/PageOutput.h"

#include <QtTest>

using talveros::platform::pagesOf;

class TestInvoicingPages : public QObject {
    Q_OBJECT
private slots:
    // Lines are named by letter; "" is an empty line, "|" in the expected text starts a
    // new page.
    void pages_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits") << "a b" << 5 << "a b";
        QTest::newRow("block moves whole") << "h _ a b c _ d e f _" << 6 << "h _ a b c _|d e f _";
        QTest::newRow("block longer than a page is cut between lines") << "h _ a b c d e f g" << 4
                                                                      << "h _ a b|c d e f|g";
        QTest::newRow("block exactly a page") << "a b c _ d e f" << 3 << "a b c|_|d e f";
        QTest::newRow("no empty lines") << "a b c d e" << 2 << "a b|c d|e";
        QTest::newRow("empty") << "" << 3 << "";
        QTest::newRow("zero lines per page still advances") << "a b" << 0 << "a|b";
    }
    void pages()
    {
        QFETCH(QString, lines);
        QFETCH(int, perPage);
        QFETCH(QString, expected);
        auto split = [](const QString &text) {
            QStringList list = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (QString &line : list)
                if (line == QLatin1String("_"))
                    line.clear();
            return list;
        };
        QStringList got;
        for (const QStringList &page : pagesOf(split(lines), perPage)) {
            QStringList shown = page;
            for (QString &line : shown)
                if (line.isEmpty())
                    line = QStringLiteral("_");
            got << shown.join(QLatin1Char(' '));
        }
        QCOMPARE(got.join(QLatin1Char('|')), expected);
    }
};

QTEST_APPLESS_MAIN(TestInvoicingPages)
#include "tst_invoicingpages.moc"
