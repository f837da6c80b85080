#include "platform/ListBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QtTest>

using namespace talveros;

namespace {

const QStringList kEntries{"0001  Jansen & Zn", "0002  Émile Dupré", "0003  emile groot", "0004  Van JANSSEN",
                           "0005  Ölçü BV", "0006  Bakker"};

struct Picker {
    QWidget window;
    QComboBox *combo = platform::captionedList(&window, QStringLiteral("Combo1"), QStringLiteral("Consultants lijst"),
                                               Qt::green);
    Picker()
    {
        platform::findAsYouType(combo);
        platform::setListEntries(combo, kEntries, QStringLiteral("Consultants lijst"));
        window.show();
        combo->setFocus();
    }
    QCompleter *completer() const { return combo->completer(); }
    void type(const QString &text)
    {
        combo->lineEdit()->selectAll();
        // One key a character, accents included.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, combo->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, combo->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    QStringList offered() const
    {
        QStringList list;
        QAbstractItemModel *shown = completer()->completionModel();
        for (int row = 0; row < shown->rowCount(); ++row)
            list << shown->index(row, 0).data().toString();
        return list;
    }
};

} // namespace

class TestFindAsYouType : public QObject {
    Q_OBJECT
private slots:
    void offersEntriesThatContainTheText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("in the middle, any case") << "jans" << QStringList{"0001  Jansen & Zn", "0004  Van JANSSEN"};
        QTest::newRow("number") << "0003" << QStringList{"0003  emile groot"};
        QTest::newRow("accent as typed") << "émile" << QStringList{"0002  Émile Dupré"};
        QTest::newRow("no accent, no accented entry") << "emile" << QStringList{"0003  emile groot"};
        QTest::newRow("capital accent") << "ÖLÇÜ" << QStringList{"0005  Ölçü BV"};
        QTest::newRow("symbols") << "& z" << QStringList{"0001  Jansen & Zn"};
        QTest::newRow("nothing") << "xyz" << QStringList{};
    }
    void offersEntriesThatContainTheText()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, offered);
        Picker p;
        QSignalSpy activated(p.combo, &QComboBox::activated);
        p.type(typed);
        QCOMPARE(p.offered(), offered);
        QCOMPARE(p.completer()->popup()->isVisible(), !offered.isEmpty());
        // Made on the first key, it must still not measure every row of a long list.
        auto *rows = qobject_cast<QListView *>(p.completer()->popup());
        QVERIFY(rows && rows->uniformItemSizes());
        // Typing alone chooses nothing and leaves the text as typed.
        QCOMPARE(activated.count(), 0);
        QCOMPARE(p.combo->currentText(), typed);
    }

    // With the focus on the list (as a click or the Tab key leaves it), the keys go
    // through the list to its field.
    void typingIntoTheListOffersAsTheFieldDoes()
    {
        Picker p;
        p.combo->lineEdit()->selectAll();
        QTest::keyClicks(p.combo, QStringLiteral("jans"));
        QCOMPARE(p.offered(), (QStringList{"0001  Jansen & Zn", "0004  Van JANSSEN"}));
        auto *rows = qobject_cast<QListView *>(p.completer()->popup());
        QVERIFY(rows && rows->isVisible() && rows->uniformItemSizes());
    }

    void choosingAnOfferIsChoosingFromTheList_data()
    {
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("keys") << true;
        QTest::newRow("mouse") << false;
    }
    void choosingAnOfferIsChoosingFromTheList()
    {
        QFETCH(bool, byKeys);
        Picker p;
        QSignalSpy activated(p.combo, &QComboBox::activated);
        p.type(QStringLiteral("jans"));
        QAbstractItemView *popup = p.completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        const QModelIndex second = popup->model()->index(1, 0);
        if (byKeys) {
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        } else {
            QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(second).center());
        }
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 3);
        QCOMPARE(p.combo->currentIndex(), 3);
        QCOMPARE(p.combo->currentText(), QStringLiteral("0004  Van JANSSEN"));
        QVERIFY(!popup->isVisible());
        // Leaving the field afterwards does not choose it a second time.
        p.combo->clearFocus();
        QCOMPARE(activated.count(), 1);
    }

    void followsTheEntriesTheListIsGivenLater()
    {
        Picker p;
        platform::setListEntries(p.combo, {"0010  Nieuw", "0011  Anders"}, QString());
        p.type(QStringLiteral("nieuw"));
        QCOMPARE(p.offered(), QStringList{"0010  Nieuw"});
        QSignalSpy activated(p.combo, &QComboBox::activated);
        QTest::keyClick(p.completer()->popup(), Qt::Key_Down);
        QTest::keyClick(p.completer()->popup(), Qt::Key_Return);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 0);
    }
};

QTEST_MAIN(TestFindAsYouType)
#include "tst_findastype.moc"
