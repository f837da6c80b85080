#include "platform/RowList.h"

#include <QListView>
#include <QtTest>

#include <memory>

using namespace talveros::platform;

namespace {

// Numbered rows that count the texts asked of them.
class CountedRows final : public ListRows {
public:
    explicit CountedRows(int count) : m_count(count) {}
    int count() const override { return m_count; }
    QString text(int row) const override
    {
        ++asked;
        return QStringLiteral("rij %1").arg(row, 6, 10, QLatin1Char('0'));
    }
    mutable int asked = 0;

private:
    int m_count;
};

} // namespace

class TestRowList : public QObject {
    Q_OBJECT
private slots:
    void viewOverRows_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("a screen") << 50;
        QTest::newRow("a whole overview") << 200000;
    }
    // A long list makes text only of the rows it paints, wherever it is scrolled, reads
    // back row by row and in list order whatever order rows were selected in, and a
    // refill leaves no row selected or current.
    void viewOverRows()
    {
        QFETCH(int, count);
        std::unique_ptr<QListView> list(
            rowList(nullptr, QStringLiteral("List4"), QFont(QStringLiteral("Courier New")), Qt::yellow, Qt::red, true));
        auto rows = std::make_shared<CountedRows>(count);
        setListRows(list.get(), rows);
        list->resize(400, 200);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->scrollToBottom();
        QCoreApplication::processEvents();
        list->viewport()->repaint();
        QVERIFY2(rows->asked <= 200, qPrintable(QString::number(rows->asked)));

        QCOMPARE(listRowCount(list.get()), count);
        if (count == 0) {
            QVERIFY(listRowTexts(list.get()).isEmpty());
            return;
        }
        QCOMPARE(listRowText(list.get(), count - 1), rows->text(count - 1));
        QList<int> picked{count - 1, 0, count / 2};
        for (int row : picked)
            setListRowSelected(list.get(), row, true);
        std::sort(picked.begin(), picked.end());
        picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
        QCOMPARE(selectedListRows(list.get()), picked);
        setListRowSelected(list.get(), count - 1, false);
        QCOMPARE(selectedListRows(list.get()).size(), picked.size() - 1);

        list->setCurrentIndex(list->model()->index(count - 1, 0));
        setListRows(list.get(), std::make_shared<CountedRows>(count));
        QVERIFY(selectedListRows(list.get()).isEmpty());
        QVERIFY(!list->currentIndex().isValid());
    }
};

QTEST_MAIN(TestRowList)
#include "tst_rowlist.moc"
