#include "platform/TextBox.h"

#include <QClipboard>
#include <QGuiApplication>
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

    // A paste leaves what typing its characters one by one would have left, and the
    // box holds exactly what will be stored.
    void pasteIsTyping_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("from");   // where the cursor stands, or the selection starts
        QTest::addColumn<int>("length"); // how much is selected
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        const QString smiley = QStringLiteral("\U0001F600");
        const QChar nul(0), high(0xD83D), low(0xDE00);
        QTest::newRow("control characters")
            << 0 << "" << 0 << 0 << "a" + QString(nul) + "b" + QChar(0x1B) + "c\td\r\ne" + QChar(0x7F) + QChar(0x85)
            << "abcde";
        QTest::newRow("NULs before a digit") << 0 << "" << 0 << 0 << QString(6, nul) + "1" << "1";
        QTest::newRow("lone high surrogate") << 0 << "" << 0 << 0 << "x" + QString(high) + "y" << "xy";
        QTest::newRow("lone low surrogates") << 0 << "" << 0 << 0 << QString(low) + "x" + low << "x";
        QTest::newRow("whole pair kept") << 0 << "" << 0 << 0 << "a" + smiley << "a" + smiley;
        QTest::newRow("cut at the limit") << 5 << "" << 0 << 0 << "abcdefgh" << "abcde";
        QTest::newRow("cut where it lands") << 5 << "ab" << 1 << 0 << "XYZW" << "aXYZb";
        QTest::newRow("selection replaced, then cut") << 5 << "abcde" << 0 << 5 << "123456" << "12345";
        QTest::newRow("a pair that does not fit, a letter that does") << 5 << "abcd" << 4 << 0 << smiley + "e" + smiley
                                                                     << "abcde";
        QTest::newRow("program text over the limit takes nothing") << 3 << "123456" << 6 << 0 << "7" << "123456";
        QTest::newRow("over the limit a selection gives way to one") << 3 << "123456" << 4 << 2 << "xy" << "1234x";
        QTest::newRow("refused characters take no room") << 4 << "" << 0 << 0
            << QStringLiteral("\x01" "a\x02" "b\x03" "c\x04" "d\x05" "e") << "abcd";
    }
    void pasteIsTyping()
    {
        QFETCH(int, limit);
        QFETCH(QString, before);
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QLineEdit box;
        platform::limitTyping(&box, limit);
        platform::setBoxText(&box, before);
        box.setSelection(from, length);
        QString announced;
        connect(&box, &QLineEdit::textChanged, &box, [&](const QString &text) { announced = text; });
        QGuiApplication::clipboard()->setText(pasted);
        box.paste();
        QCOMPARE(box.text(), after);
        // Whoever follows the box's changes last hears what it holds.
        QCOMPARE(announced, after);
    }

    // The same in a multi-line box, where a new line can be typed and a tab cannot; the
    // program's own text keeps every character, and one undo takes the paste back.
    void multiLinePasteIsTyping_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("control characters and tab")
            << "a" << "x\ty" + QString(QChar(0)) + "z" + QChar(0x1B) << "axyz";
        QTest::newRow("new lines stored as CR LF") << "a" << "b\r\nc\nd" << "ab\r\nc\r\nd";
        QTest::newRow("lone surrogate") << "a" << "b" + QString(QChar(0xDC00)) + "c" << "abc";
        QTest::newRow("the program's tab stays") << "a\tb" << "!" << "a\tb!";
    }
    void multiLinePasteIsTyping()
    {
        QFETCH(QString, stored);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        QPlainTextEdit box;
        platform::limitTyping(&box);
        platform::setBoxText(&box, stored);
        box.moveCursor(QTextCursor::End);
        QGuiApplication::clipboard()->setText(pasted);
        box.paste();
        QCOMPARE(platform::boxText(&box), expected);
        box.undo();
        QCOMPARE(platform::boxText(&box), stored);
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
