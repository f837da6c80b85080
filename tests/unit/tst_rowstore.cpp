#include "data/RowStore.h"

#include <QtTest>

#include <cstdlib>
#include <future>
#include <new>

using namespace talveros::data;

// Counts what this thread allocates while asked to: a move that is noexcept must not
// allocate, or a failing allocation ends the program.
namespace {
thread_local bool t_counting = false;
thread_local int t_allocations = 0;
} // namespace

void *operator new(std::size_t size)
{
    if (t_counting)
        ++t_allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

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

// Rows laid out as a block fetch binds them: a buffer per column of `widths[c]` bytes a
// row (and the slack the store may read past the last), filled with bytes no value holds.
struct FetchedBlock {
    std::vector<size_t> widths;
    std::vector<std::vector<char>> buffers;
    std::vector<std::vector<std::int64_t>> lengths;
    std::vector<const char *> data;
    std::vector<const std::int64_t *> lengthData;

    FetchedBlock(std::vector<size_t> columnWidths, const std::vector<std::vector<SqlValue>> &rows)
        : widths(std::move(columnWidths))
    {
        for (size_t c = 0; c < widths.size(); ++c) {
            buffers.emplace_back(widths[c] * rows.size() + RowStore::kBlockSlack, '#');
            lengths.emplace_back(rows.size(), -1);
            for (size_t r = 0; r < rows.size(); ++r) {
                if (const SqlValue &v = rows[r][c]) {
                    std::copy(v->begin(), v->end(), buffers[c].begin() + qsizetype(r * widths[c]));
                    lengths[c][r] = v->size();
                }
            }
            data.push_back(buffers[c].data());
            lengthData.push_back(lengths[c].data());
        }
    }
    RowStore::Block block() const
    {
        return RowStore::Block{data.data(), widths.data(), lengthData.data(), lengths.front().size()};
    }
};
} // namespace

Q_DECLARE_METATYPE(std::vector<SqlValue>)

// A view into a store that is about to go would dangle the moment it is handed out.
template <class Store>
concept GivesValueView = requires(Store &&s, size_t r) { static_cast<Store &&>(s).value(r, 0); };
template <class Store>
concept GivesReadView = requires(Store &&s, size_t r, std::string_view &v) { static_cast<Store &&>(s).read(r, 0, v); };
static_assert(!GivesValueView<RowStore> && !GivesReadView<RowStore>);
static_assert(GivesValueView<const RowStore &> && GivesReadView<const RowStore &>);

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

    // A view taken early stays good while rows are added (into new chunks), replaced
    // and removed: finding a row compares views while the store grows no further, but
    // nothing may move the bytes under one.
    void manyRowsFillSeveralChunks()
    {
        RowStore store;
        store.setColumns(columns(2));
        const int rows = 100000; // some 2 MiB of records
        store.appendRow({QByteArray("vroeg"), QByteArray("0")});
        const std::string_view early = store.value(0, 0);
        for (int i = 1; i < rows; ++i)
            store.appendRow({QByteArray::number(i), QByteArray(i % 7, 'x')});
        store.replaceRow(0, {QByteArray("later"), QByteArray("1")});
        QCOMPARE(QByteArray(early.data(), qsizetype(early.size())), QByteArray("vroeg"));
        store.removeRow(0);
        QCOMPARE(store.rowCount(), size_t(rows - 1));
        for (int i = 1; i < rows; i += 997) {
            QCOMPARE(store.text(size_t(i - 1), 0), QString::number(i));
            QCOMPARE(store.value(size_t(i - 1), 1).size(), size_t(i % 7));
        }
    }

    // A short row's lengths take a byte each; values at every length a row's layout has
    // depended on, and a row that no longer fits a byte, must read back byte for byte.
    void valueLengthsAtEveryBoundary_data()
    {
        QTest::addColumn<int>("length");
        for (int length : {0, 1, 14, 15, 16, 29, 30, 31, 45, 254, 255, 256, 285, 286, 1000})
            QTest::newRow(qPrintable(QString::number(length))) << length;
    }
    void valueLengthsAtEveryBoundary()
    {
        QFETCH(int, length);
        QByteArray v(length, 'v');
        for (int i = 0; i < length; ++i)
            v[i] = char('a' + i % 26);
        const std::vector<std::vector<SqlValue>> rows{
            {v, QByteArray("x"), v}, {QByteArray("y"), v, QByteArray("")}, {v, v, v}};
        const RowStore store = storeWith(rows);
        for (size_t r = 0; r < rows.size(); ++r)
            QCOMPARE(store.row(r), rows[r]);
    }

    // Rows are found from every 16th row's place and by stepping from the row read
    // last; reads in any order, across chunks and from two threads at once must agree.
    void rowsReadInAnyOrderAndFromTwoThreads()
    {
        RowStore store;
        store.setColumns(columns(3));
        const int rows = 60000; // records of 20 to 300 bytes: several chunks
        auto expected = [](int i) {
            return std::vector<SqlValue>{QByteArray::number(i),
                                         i % 11 == 0 ? SqlValue() : SqlValue(QByteArray(i % 290, char('a' + i % 26))),
                                         QByteArray(i % 17, 'z')};
        };
        for (int i = 0; i < rows; ++i)
            store.appendRow(expected(i));
        auto check = [&](int step, int start) {
            bool ok = true;
            for (int n = 0, i = start; n < rows; ++n, i = (i + step) % rows)
                ok = ok && store.row(size_t(i)) == expected(i);
            return ok;
        };
        auto other = std::async(std::launch::async, check, 7919, 3);
        QVERIFY(check(1, 0));
        QVERIFY(check(rows - 1, rows - 1)); // backwards
        QVERIFY(other.get());

        // Once a row is replaced or removed, every row is still where it was said to be.
        store.replaceRow(17, expected(4));
        store.removeRow(5);
        store.appendRow(expected(rows));
        QCOMPARE(store.rowCount(), size_t(rows));
        for (int i = 0; i < rows; i += 13) {
            const int source = i < 5 ? i : i == 16 ? 4 : i + 1;
            QCOMPARE(store.row(size_t(i)), expected(source));
        }
        QCOMPARE(store.row(size_t(rows - 1)), expected(rows));
        QCOMPARE(store.row(16), expected(4));
    }

    // A value that repeats one stored before is kept once; every row pointing at it
    // reads it back, also after the row that first stored it was replaced or removed,
    // and for tables as wide as the flags allow and one column wider.
    void repeatedValuesKeptOnce_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("3 columns") << 3;
        QTest::newRow("60 columns") << 60;
        QTest::newRow("61 columns") << 61;
    }
    void repeatedValuesKeptOnce()
    {
        QFETCH(int, width);
        auto rowOf = [width](int i) {
            std::vector<SqlValue> row;
            for (int c = 0; c < width; ++c) {
                if (c == 0)
                    row.emplace_back(QByteArray::number(qint64(i) * 1000003)); // never repeats
                else if (c % 3 == 1)
                    row.emplace_back(QByteArray("Stichting Zorggroep Oost ") + QByteArray::number((i + c) % 7));
                else
                    row.emplace_back(QByteArray(8 + (i + c) % 9, char('a' + c % 26)));
            }
            return row;
        };
        RowStore store;
        store.setColumns(columns(width));
        const int rows = 3000;
        for (int i = 0; i < rows; ++i)
            store.appendRow(rowOf(i));
        store.replaceRow(0, rowOf(rows));
        store.removeRow(1);
        QCOMPARE(store.rowCount(), size_t(rows - 1));
        QCOMPARE(store.row(0), rowOf(rows));
        for (int r = 1; r < rows - 1; ++r)
            QCOMPARE(store.row(size_t(r)), rowOf(r + 1));
    }

    // Wider rows are read without being kept taken apart; a row of short values too long
    // in all for a short row's two-byte size is kept as a long one.
    void wideRowsReadBack()
    {
        std::vector<SqlValue> row;
        for (int c = 0; c < 200; ++c)
            row.push_back(c % 9 == 0 ? SqlValue() : SqlValue(QByteArray::number(c * 1000003)));
        const RowStore store = storeWith({row, row, row});
        QCOMPARE(store.row(2), row);
        QCOMPARE(store.text(1, 199), QString::number(199 * 1000003));

        std::vector<SqlValue> full;
        for (int c = 0; c < 300; ++c)
            full.push_back(QByteArray(255, char('a' + c % 26)));
        const RowStore large = storeWith({full, full, full});
        QCOMPARE(large.row(1), full);
        QCOMPARE(large.text(2, 299), QString(255, QChar(u'a' + 299 % 26)));
    }

    // Fetched blocks go into the store as the buffers hold them: NULLs, empty values,
    // values on both sides of a length byte, a value filling its buffer in the block's
    // last row, and names repeated across blocks (kept once) read back exactly, beside
    // rows added one at a time.
    void blocksReadBackAsFetched()
    {
        const std::vector<size_t> widths{64, 300, 64};
        auto rowOf = [](int i) {
            return std::vector<SqlValue>{
                i % 13 == 0 ? SqlValue() : SqlValue(QByteArray(i % 64, char('a' + i % 26))),
                i % 5 == 0 ? SqlValue(QByteArray(250 + i % 12, 'L')) : SqlValue(QByteArray::number(i)),
                QByteArray("Stichting Zorggroep Oost ") + QByteArray::number(i % 7)};
        };
        RowStore store;
        store.setColumns(columns(3));
        std::vector<std::vector<SqlValue>> expected;
        for (int first = 0; first < 3000; first += 30) {
            std::vector<std::vector<SqlValue>> rows;
            for (int i = first; i < first + 30; ++i)
                rows.push_back(rowOf(i));
            QVERIFY(store.appendBlock(FetchedBlock(widths, rows).block()));
            expected.insert(expected.end(), rows.begin(), rows.end());
            if (first % 300 == 0) {
                store.appendRow(rowOf(first + 1));
                expected.push_back(rowOf(first + 1));
            }
        }
        QCOMPARE(store.rowCount(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r)
            QCOMPARE(store.row(r), expected[r]);
    }

    // A length that says the value did not fit its buffer (or is not known) refuses the
    // whole block, which leaves the store as it was.
    void blockWithValueBeyondItsBufferIsRefused_data()
    {
        QTest::addColumn<std::int64_t>("length");
        QTest::newRow("the buffer's width") << std::int64_t(64);
        QTest::newRow("longer") << std::int64_t(1000);
        QTest::newRow("not known") << std::int64_t(-4);
    }
    void blockWithValueBeyondItsBufferIsRefused()
    {
        QFETCH(std::int64_t, length);
        RowStore store = storeWith({{QByteArray("vooraf"), std::nullopt}});
        const std::vector<std::vector<SqlValue>> rows{{QByteArray("a"), QByteArray("b")},
                                                      {QByteArray("c"), std::nullopt}};
        FetchedBlock fetched({64, 64}, rows);
        fetched.lengths[0][1] = length;
        QVERIFY(!store.appendBlock(fetched.block()));
        QCOMPARE(store.rowCount(), size_t(1));
        QVERIFY(store.appendBlock(FetchedBlock({64, 64}, rows).block()));
        QCOMPARE(store.row(0), (std::vector<SqlValue>{QByteArray("vooraf"), std::nullopt}));
        QCOMPARE(store.row(2), rows[1]);
    }

    // A large result whose size is known has its next chunk faulted in ahead on another
    // thread: a store moved, assigned over or cleared meanwhile keeps every row, and none
    // writes into memory another owns.
    void storeFilledAheadSurvivesMovesAndClearing()
    {
        auto rowOf = [](int i) {
            return std::vector<SqlValue>{QByteArray::number(i), QByteArray(40 + i % 50, char('a' + i % 26))};
        };
        auto filled = [&](int rows) {
            RowStore store;
            store.setColumns(columns(2));
            store.reserve(size_t(rows));
            for (int i = 0; i < rows; ++i)
                store.appendRow(rowOf(i));
            return store;
        };
        const int rows = 200000; // some 15 MiB: several chunks faulted in ahead
        RowStore half = filled(rows / 2);
        RowStore moved(std::move(half));
        half = filled(rows / 4);
        moved = std::move(half);
        QCOMPARE(moved.rowCount(), size_t(rows / 4));
        RowStore whole;
        whole.setColumns(columns(2));
        whole.reserve(size_t(rows));
        for (int i = 0; i < rows; ++i) {
            whole.appendRow(rowOf(i));
            if (i == rows / 3)
                moved = std::move(whole); // taken while the next chunk may still be faulted in
        }
        QCOMPARE(whole.rowCount(), size_t(rows - rows / 3 - 1));
        QCOMPARE(moved.rowCount(), size_t(rows / 3 + 1));
        for (int i = 0; i <= rows / 3; i += 997)
            QCOMPARE(moved.row(size_t(i)), rowOf(i));
        for (int i = rows / 3 + 1; i < rows; i += 997)
            QCOMPARE(whole.row(size_t(i - rows / 3 - 1)), rowOf(i));
        whole.clearRows();
        QCOMPARE(whole.rowCount(), size_t(0));
        QCOMPARE(moved.row(size_t(rows / 3)), rowOf(rows / 3));
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
        if (assign)
            moved.emplace(storeWith({{QByteArray("oud"), QByteArray("0")}}));
        t_allocations = 0;
        t_counting = true;
        if (assign)
            *moved = std::move(source);
        else
            moved.emplace(std::move(source));
        t_counting = false;
        QCOMPARE(t_allocations, 0);
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
