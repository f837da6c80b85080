#include "data/ChunkArena.h"

#include <QtTest>

using namespace talveros::data;

class TestChunkArena : public QObject {
    Q_OBJECT
private slots:
    // Records (here of one value each) go one after another while the slack fits after
    // them, then into a new chunk, the rest of the old one marked as a jump. Stepping
    // from the first record by each one's size must meet every record where it was
    // written, and a reference to a value must lead back to its bytes.
    void recordsAreWalkedWhereTheyWereWritten_data()
    {
        QTest::addColumn<QList<int>>("values");
        constexpr int head = 5; // a long record of one value
        constexpr int room = int(ChunkArena::kChunkBytes - record::kSlack);
        QTest::newRow("filling a chunk up to the slack") << QList<int>{100, room - 2 * head - 100, 10, 10};
        QTest::newRow("one byte more") << QList<int>{100, room - 2 * head - 99, 10, 10};
        QTest::newRow("larger than a chunk") << QList<int>{10, 3 * 1024 * 1024, 10, int(ChunkArena::kChunkBytes), 10};
        QTest::newRow("many across chunks") << QList<int>(5000, 997);
    }
    void recordsAreWalkedWhereTheyWereWritten()
    {
        QFETCH(QList<int>, values);
        ChunkArena arena;
        std::vector<ChunkArena::Place> places;
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray value(values[i], char('a' + i % 26));
            const record::Field field{value.constData(), value.size()};
            places.emplace_back();
            record::encodeLong(arena.room(record::longHeadBytes(1) + size_t(value.size()), places.back()), &field, 1);
        }
        ChunkArena::Place p = places.front();
        for (int i = 0; i < values.size(); ++i) {
            QCOMPARE(p.chunk, places[size_t(i)].chunk);
            QCOMPARE(p.offset, places[size_t(i)].offset);
            record::Value v;
            record::decode(arena.at(p), 1, &v, [](std::uint32_t) { return nullptr; });
            QCOMPARE(QByteArray(v.data, qsizetype(v.length)), QByteArray(values[i], char('a' + i % 26)));
            // Bytes past the first chunk's size, in a larger chunk, cannot be referred to.
            const size_t offset = p.offset + record::longHeadBytes(1);
            const auto reference = ChunkArena::reference(p.chunk, offset);
            QCOMPARE(reference.has_value(), offset < ChunkArena::kChunkBytes);
            if (reference)
                QCOMPARE(arena.referred(*reference), v.data);
            if (i + 1 < values.size())
                p = arena.next(p, record::recordBytes(arena.at(p), 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestChunkArena)
#include "tst_chunkarena.moc"
