// The real message box: what it shows of a text, and what it gives back when copied.
#include "platform/Dialogs.h"

#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace talveros;

namespace {
// "|" marks a word joiner in the expected texts.
QString joined(QString text) { return text.replace(u'|', QChar(0x2060)); }

// The lines the toolkit's word wrap makes of a text at a width.
QStringList wrapped(const QString &text, qreal width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, QApplication::font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i)
            lines << paragraph.mid(layout.lineAt(i).textStart(), layout.lineAt(i).textLength());
    }
    return lines;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void unbrokenPaths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("fits"); // the longest word that fits on a line, in characters
        QTest::newRow("no slash, hyphen kept") << "driver-tekst - of toch?" << "driver-tekst - of toch?" << 1000;
        QTest::newRow("path in brackets, ending a sentence") << "(adres uit /etc/talveros/server.conf)."
                                                             << "(adres uit /|etc/|talveros/|server.conf)." << 1000;
        QTest::newRow("hyphen inside a path") << "ca = /etc/talveros/provider-ca.pem"
                                              << "ca = /|etc/|talveros/|provider-|ca.pem" << 1000;
        QTest::newRow("web address") << "Open http://www.kordam.nl/netwerk/index.html nu"
                                     << "Open http://|www.kordam.nl/|netwerk/|index.html nu" << 1000;
        QTest::newRow("slash between words") << "en/of" << "en/|of" << 1000;
        QTest::newRow("slash standing alone") << "adres / poort" << "adres / poort" << 1000;
        QTest::newRow("line breaks and tabs kept")
            << "Regel 1:\r\n/srv/a b\r\n\r\n\t/x/y\n" << "Regel 1:\r\n/|srv/|a b\r\n\r\n\t/|x/|y\n" << 1000;
        QTest::newRow("non-Latin and surrogates") << "/map/𝄞ü/é" << "/|map/|𝄞ü/|é" << 1000;
        QTest::newRow("a path too long for a line keeps its breaks")
            << "kort /a/b, lang /srv/talveros/provider-ca.pem" << "kort /|a/|b, lang /srv/talveros/provider-ca.pem"
            << 10;
    }
    void unbrokenPaths()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, fits);
        const QString result = platform::withUnbrokenPaths(text, [fits](QStringView word) { return word.size() <= fits; });
        QCOMPARE(result, joined(shown));
        QCOMPARE(QString(result).remove(QChar(0x2060)), text);
    }

    // However narrow the box, word wrap breaks only between words.
    void wrapKeepsPathsWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("server file") << "Talveros start niet: de instellingen van de databaseserver in "
                                        "/etc/talveros/server.conf zijn niet bruikbaar.";
        QTest::newRow("web address") << "De website http://www.example.nl/over-ons/team/index.html?a=1&b=2 wordt "
                                        "niet geopend.";
    }
    void wrapKeepsPathsWhole()
    {
        QFETCH(QString, text);
        const QString shown = platform::withUnbrokenPaths(text, [](QStringView) { return true; });
        const QStringList words = text.split(u' ');
        for (qreal width : {60.0, 120.0, 200.0, 320.0}) {
            for (const QString &line : wrapped(shown, width)) {
                const QString plain = QString(line).remove(QChar(0x2060)).trimmed();
                for (const QString &part : plain.split(u' '))
                    QVERIFY2(words.contains(part), qPrintable(QStringLiteral("%1 px: \"%2\"").arg(width).arg(plain)));
            }
        }
        // Without the joiners the toolkit would have broken at least one of them.
        bool brokenWithout = false;
        for (const QString &line : wrapped(text, 60.0))
            for (const QString &part : line.trimmed().split(u' '))
                brokenWithout = brokenWithout || !words.contains(part);
        QVERIFY(brokenWithout);
    }

    // The real box: paths whole when they fit, the text as given for copying, never markup.
    void realBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("markup and a path") << "<b>Regel 1:</b> /etc/talveros/server.conf"
                                           << "<b>Regel 1:</|b> /|etc/|talveros/|server.conf";
        // Wider than any screen: joined, the box would cut it off.
        QString tooWide = QStringLiteral("http://www.example.nl");
        for (int i = 0; i < 60; ++i)
            tooWide += QStringLiteral("/onderdeel%1").arg(i);
        QTest::newRow("a path too wide for the box") << "De website " + tooWide + " niet." << "De website " + tooWide + " niet.";
    }
    void realBox()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QString shownText;
        Qt::TextFormat format = Qt::AutoText;
        QString copied;
        QTimer::singleShot(0, this, [&] {
            QMessageBox *box = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                box = box ? box : qobject_cast<QMessageBox *>(w);
            if (!box)
                return;
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            if (label) {
                shownText = label->text();
                format = label->textFormat();
                // Selected with the mouse and copied, as the box lets one do.
                label->setSelection(0, int(shownText.size()));
                QTest::keySequence(label, QKeySequence::Copy);
                copied = QGuiApplication::clipboard()->text();
            }
            box->accept();
        });
        platform::WidgetDialogs dialogs;
        QCOMPARE(dialogs.message(text, QString(), platform::Icon::Critical, platform::Buttons::Ok), platform::Answer::Ok);
        QCOMPARE(shownText, joined(shown));
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(copied, text);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
