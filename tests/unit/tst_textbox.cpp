#include "platform/TextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace talveros;

namespace {

const QString kNbsp = QString(QChar(0x00A0));
const QString k600 = QString(600, u'x');

} // namespace

class TestTextBox : public QObject {
    Q_OBJECT
private slots:
    // What is stored after the administrator changed the shown text: untouched parts keep
    // their stored characters, typed new lines become CR LF.
    void storedAfterEdit_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unchanged CR LF") << "a\r\nb" << "a\nb" << "a\r\nb";
        QTest::newRow("unchanged lone LF") << "a\nb" << "a\nb" << "a\nb";
        QTest::newRow("unchanged lone CR") << "a\rb" << "a\nb" << "a\rb";
        QTest::newRow("unchanged mixed") << "a\r\nb\nc\rd" << "a\nb\nc\nd" << "a\r\nb\nc\rd";
        QTest::newRow("typed at the end") << "a\r\nb\nc" << "a\nb\ncX" << "a\r\nb\ncX";
        QTest::newRow("new line typed at the end") << "a\nb" << "a\nb\nc" << "a\nb\r\nc";
        QTest::newRow("typed before a CR LF") << "a\r\nb" << "aX\nb" << "aX\r\nb";
        QTest::newRow("typed after a CR LF") << "a\r\nb" << "a\nXb" << "a\r\nXb";
        QTest::newRow("line joined") << "a\r\nb\nc" << "ab\nc" << "ab\nc";
        QTest::newRow("new line in the middle") << "ab" << "a\nb" << "a\r\nb";
        QTest::newRow("all removed") << "a\r\nb" << "" << "";
        QTest::newRow("typed into nothing") << "" << "x\ny\n" << "x\r\ny\r\n";
        QTest::newRow("non-breaking space kept") << "a" + kNbsp + "b\r\nc" << "a" + kNbsp + "b\nc!"
                                                  << "a" + kNbsp + "b\r\nc!";
        QTest::newRow("600 characters") << k600 + "\r\n" + k600 << k600 + "\n" + k600 + "." << k600 + "\r\n" + k600 + ".";
        QTest::newRow("repeated letters") << "aa\r\naa" << "aaa\naa" << "aaa\r\naa";
    }
    void storedAfterEdit()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(platform::storedAfterEdit(stored, shown), expected);
        // Showing what was stored and changing nothing gives it back to the byte.
        QCOMPARE(platform::storedAfterEdit(stored, platform::shownText(stored)), stored);
    }

    // A multi-line box gives back exactly what the program put in, and what the
    // administrator typed with CR LF line ends.
    void multiLineBoxKeepsStoredText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("CR LF") << QStringLiteral("Regel 1\r\nRegel 2\r\n");
        QTest::newRow("lone LF") << QStringLiteral("Regel 1\nRegel 2");
        QTest::newRow("non-breaking space") << "a" + kNbsp + "b";
        QTest::newRow("600 characters") << k600;
        QTest::newRow("tab and quote") << QStringLiteral("'\t\\\"");
    }
    void multiLineBoxKeepsStoredText()
    {
        QFETCH(QString, stored);
        QPlainTextEdit box;
        platform::setBoxText(&box, stored);
        QCOMPARE(platform::boxText(&box), stored);
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("ok"));
        QCOMPARE(platform::boxText(&box), stored + "\r\nok");
    }

    void typingLimitLeavesProgramTextWhole()
    {
        QLineEdit box;
        platform::limitTyping(&box, 3);
        QCOMPARE(platform::typingLimit(&box), 3);
        platform::setBoxText(&box, QStringLiteral("123456"));
        QCOMPARE(box.text(), QStringLiteral("123456"));
        box.setCursorPosition(6);
        QTest::keyClicks(&box, QStringLiteral("7"));
        QCOMPARE(box.text(), QStringLiteral("123456"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("12345"));
        box.clear();
        QTest::keyClicks(&box, QStringLiteral("abcdef"));
        QCOMPARE(box.text(), QStringLiteral("abc"));
        // Replacing a selection within the limit is typing like any other.
        box.selectAll();
        QTest::keyClicks(&box, QStringLiteral("xy"));
        QCOMPARE(box.text(), QStringLiteral("xy"));
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
