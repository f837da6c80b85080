#include "data/RowStore.h"

#include <QtTest>

using namespace talveros::data;

namespace {
std::vector<RowStore::Column> columns(int n)
{
    std::vector<RowStore::Column> cols;
    for (int i = 0; i < n; ++i)
        cols.push_back({QStringLiteral("k%1").arg(i), false});
    return cols;
}

RowStore storeWith(const std::vector<std::vector<SqlValue>> &rows)
{
    RowStore store;
    store.setColumns(columns(int(rows.front().size())));
    for (const auto &row : rows)
        store.appendRow(row);
    return store;
}
} // namespace

Q_DECLARE_METATYPE(std::vector<SqlValue>)

class TestRowStore : public QObject {
    Q_OBJECT
private slots:
    // Rows are packed two ways (short rows without NULLs, and the rest); every shape
    // must read back exactly, also beside each other in one chunk.
    void rowsReadBackAsStored_data()
    {
        QTest::addColumn<std::vector<SqlValue>>("row");
        const QByteArray b255(255, 'b');
        QTest::newRow("short") << std::vector<SqlValue>{QByteArray("a"), QByteArray("bc"), QByteArray("")};
        QTest::newRow("empty values") << std::vector<SqlValue>{QByteArray(""), QByteArray(""), QByteArray("")};
        QTest::newRow("exactly 255 bytes") << std::vector<SqlValue>{b255, QByteArray(""), QByteArray("")};
        QTest::newRow("256 bytes") << std::vector<SqlValue>{b255, QByteArray("c"), QByteArray("")};
        QTest::newRow("null first") << std::vector<SqlValue>{std::nullopt, QByteArray("x"), QByteArray("y")};
        QTest::newRow("null last") << std::vector<SqlValue>{QByteArray("x"), QByteArray("y"), std::nullopt};
        QTest::newRow("all null") << std::vector<SqlValue>{std::nullopt, std::nullopt, std::nullopt};
        QTest::newRow("non-ascii") << std::vector<SqlValue>{QStringLiteral("Zürich €").toUtf8(), QByteArray("\0z", 2),
                                                              QStringLiteral("👍").toUtf8()};
        QTest::newRow("larger than a chunk")
            << std::vector<SqlValue>{QByteArray("kop"), QByteArray(3 * 1024 * 1024 + 7, 'L'), std::nullopt};
    }
    void rowsReadBackAsStored()
    {
        QFETCH(std::vector<SqlValue>, row);
        const std::vector<SqlValue> neighbour{QByteArray("n1"), std::nullopt, QByteArray("n3")};
        RowStore store = storeWith({neighbour, row, neighbour});
        QCOMPARE(store.rowCount(), size_t(3));
        for (size_t r = 0; r < 3; ++r) {
            const auto &expected = r == 1 ? row : neighbour;
            QCOMPARE(store.row(r), expected);
            for (int c = 0; c < 3; ++c) {
                QCOMPARE(store.isNull(r, c), !expected[size_t(c)].has_value());
                const std::string_view v = store.value(r, c);
                QCOMPARE(QByteArray(v.data(), qsizetype(v.size())), expected[size_t(c)].value_or(QByteArray()));
            }
        }
        // A replaced row reads as its new values, its neighbours as before.
        store.replaceRow(1, neighbour);
        store.replaceRow(0, row);
        QCOMPARE(store.row(0), row);
        QCOMPARE(store.row(1), neighbour);
        QCOMPARE(store.row(2), neighbour);
    }

    void manyRowsFillSeveralChunks()
    {
        RowStore store;
        store.setColumns(columns(2));
        const int rows = 100000; // some 2 MiB of records
        for (int i = 0; i < rows; ++i)
            store.appendRow({QByteArray::number(i), QByteArray(i % 7, 'x')});
        store.removeRow(0);
        QCOMPARE(store.rowCount(), size_t(rows - 1));
        for (int i = 1; i < rows; i += 997) {
            QCOMPARE(store.text(size_t(i - 1), 0), QString::number(i));
            QCOMPARE(store.value(size_t(i - 1), 1).size(), size_t(i % 7));
        }
    }

    void movedFromStoreIsEmptyAndUsable_data()
    {
        QTest::addColumn<bool>("assign");
        QTest::newRow("move-constructed") << false;
        QTest::newRow("move-assigned") << true;
    }
    void movedFromStoreIsEmptyAndUsable()
    {
        QFETCH(bool, assign);
        RowStore source = storeWith({{QByteArray("eerste"), QByteArray("1")}});
        std::optional<RowStore> moved;
        if (assign) {
            moved.emplace(storeWith({{QByteArray("oud"), QByteArray("0")}}));
            *moved = std::move(source);
        } else {
            moved.emplace(std::move(source));
        }
        RowStore &target = *moved;
        QCOMPARE(source.rowCount(), size_t(0));
        QCOMPARE(source.columnCount(), 2);

        // Filling both afterwards must not let either write into the other's memory.
        source.appendRow({QByteArray("bron"), QByteArray("A")});
        target.appendRow({QByteArray("doel"), QByteArray("B")});
        source.appendRow({QByteArray("bron2"), std::nullopt});
        QCOMPARE(source.row(0), (std::vector<SqlValue>{QByteArray("bron"), QByteArray("A")}));
        QCOMPARE(source.row(1), (std::vector<SqlValue>{QByteArray("bron2"), std::nullopt}));
        QCOMPARE(target.rowCount(), size_t(2));
        QCOMPARE(target.row(0), (std::vector<SqlValue>{QByteArray("eerste"), QByteArray("1")}));
        QCOMPARE(target.row(1), (std::vector<SqlValue>{QByteArray("doel"), QByteArray("B")}));
    }

    void columnsFoundInAnyLetterCase()
    {
        RowStore store;
        store.setColumns({{QStringLiteral("nummer"), true}, {QStringLiteral("Projectnaam"), false}});
        QCOMPARE(store.columnIndex(u"Projectnaam"), 1);
        QCOMPARE(store.columnIndex(u"PROJECTNAAM"), 1);
        QCOMPARE(store.columnIndex(u"Projectnaa"), -1);
    }
};

QTEST_GUILESS_MAIN(TestRowStore)
#include "tst_rowstore.moc"
