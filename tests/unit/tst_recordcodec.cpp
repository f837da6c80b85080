#include "data/RecordCodec.h"

#include <QtTest>

#include <optional>
#include <vector>

using namespace talveros::data;

using Row = std::vector<std::optional<QByteArray>>;
Q_DECLARE_METATYPE(Row)

namespace {
// A row's values as the fetch loop hands them over, each in a buffer of its own with the
// slack a copy in whole words may read.
struct Fields {
    std::vector<QByteArray> buffers;
    std::vector<record::Field> fields;

    explicit Fields(const Row &row)
    {
        buffers.reserve(row.size());
        for (const auto &v : row) {
            if (!v) {
                fields.push_back({});
                continue;
            }
            buffers.push_back(*v + QByteArray(record::kSlack, '#'));
            fields.push_back({buffers.back().constData(), v->size()});
        }
    }
};

// The record a store writes for a row without references: short when it can be.
std::vector<char> encoded(const Row &row, bool words)
{
    const Fields f(row);
    const size_t n = row.size();
    const record::Measure m = record::measure(f.fields.data(), n);
    const record::References none{};
    const size_t shortBytes = m.beyondShort == 0 ? record::shortRecordBytes(n, m, none) : 0;
    const size_t bytes = shortBytes ? shortBytes
                                    : record::longHeadBytes(n) + record::longValueBytes(f.fields.data(), n);
    std::vector<char> out(bytes + record::kSlack, '\x7f');
    const auto noneKept = [](size_t, const char *) { QFAIL("nothing was to be kept"); };
    if (shortBytes && words)
        record::encodeShort<true>(out.data(), bytes, f.fields.data(), n, none, noneKept);
    else if (shortBytes)
        record::encodeShort<false>(out.data(), bytes, f.fields.data(), n, none, noneKept);
    else
        record::encodeLong(out.data(), f.fields.data(), n);
    out.resize(bytes);
    return out;
}

Row decoded(const char *record, size_t n, const std::vector<QByteArray> &earlier = {})
{
    std::vector<record::Value> values(n);
    record::decode(record, n, values.data(), [&](std::uint32_t at) { return earlier.at(at).constData(); });
    Row row;
    for (const record::Value &v : values)
        row.push_back(v.length & record::kNullLength ? std::nullopt
                                                     : std::optional(QByteArray(v.data, qsizetype(v.length))));
    return row;
}

QByteArray letters(int length, int from = 0)
{
    QByteArray v(length, ' ');
    for (int i = 0; i < length; ++i)
        v[i] = char('a' + (from + i) % 26);
    return v;
}
} // namespace

class TestRecordCodec : public QObject {
    Q_OBJECT
private slots:
    // Every row reads back byte for byte, in the kind of record its values allow, and the
    // record's size read from it is what was written: a walk steps by it.
    void rowsReadBackFromTheirRecords_data()
    {
        QTest::addColumn<Row>("row");
        QTest::addColumn<int>("kind");
        const int s = record::kShortRow, l = record::kLongRow;
        QTest::newRow("short") << Row{QByteArray("a"), QByteArray("bc"), QByteArray("def")} << s;
        QTest::newRow("empty values") << Row{QByteArray(""), QByteArray(""), QByteArray("")} << s;
        QTest::newRow("one column") << Row{QByteArray("x")} << s;
        QTest::newRow("non-ascii") << Row{QStringLiteral("Zürich €").toUtf8(), QStringLiteral("👍").toUtf8()} << s;
        QTest::newRow("binary zeros") << Row{QByteArray("\0\0z\0", 4), QByteArray(1, '\0')} << s;
        QByteArray everyByte(256, '\0');
        for (int i = 0; i < 256; ++i)
            everyByte[i] = char(i);
        QTest::newRow("every byte value") << Row{everyByte.left(255), QByteArray("x")} << s;
        QTest::newRow("every byte value, 256 long") << Row{everyByte} << l;
        for (int length : {7, 8, 31, 32, 33, 254, 255})
            QTest::newRow(qPrintable(QStringLiteral("%1 bytes").arg(length))) << Row{letters(length), QByteArray("x")} << s;
        QTest::newRow("256 bytes") << Row{letters(256), QByteArray("x")} << l;
        QTest::newRow("null first") << Row{std::nullopt, QByteArray("x")} << l;
        QTest::newRow("null last") << Row{QByteArray("x"), std::nullopt} << l;
        QTest::newRow("all null") << Row{std::nullopt, std::nullopt, std::nullopt} << l;
        QTest::newRow("null and empty") << Row{QByteArray(""), std::nullopt, QByteArray("")} << l;
        QTest::newRow("three megabytes") << Row{QByteArray("kop"), letters(3 * 1024 * 1024 + 7), std::nullopt} << l;
        // A short record's size takes two bytes: 3 + 258 length bytes + 65,274 value bytes fit.
        Row fits(255, letters(255));
        fits.insert(fits.end(), {letters(249), QByteArray(""), QByteArray("")});
        QTest::newRow("largest short record") << fits << s;
        fits.back() = QByteArray("z");
        QTest::newRow("one byte more") << fits << l;
        Row wide;
        for (int c = 0; c < 200; ++c)
            wide.push_back(c % 9 == 0 ? std::nullopt : std::optional(QByteArray::number(c * 1000003)));
        QTest::newRow("200 columns with nulls") << wide << l;
    }
    void rowsReadBackFromTheirRecords()
    {
        QFETCH(Row, row);
        QFETCH(int, kind);
        const std::vector<char> bytes = encoded(row, false);
        QCOMPARE(int(static_cast<unsigned char>(bytes[0])), kind);
        QCOMPARE(size_t(record::recordBytes(bytes.data(), row.size())), bytes.size());
        QCOMPARE(decoded(bytes.data(), row.size()), row);
        // Values copied in whole words from a fetched block make the same record.
        QCOMPARE(encoded(row, true), bytes);
    }

    // A sharing row's flagged values are references to bytes stored before: each reads
    // back through the reference, the values between as written, and every value kept
    // is reported where its bytes were written.
    void referencesReadBackWhereTheyPoint_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("shared");
        QTest::addColumn<QList<int>>("kept");
        QTest::newRow("first") << 3 << QList<int>{0} << QList<int>{2};
        QTest::newRow("last") << 3 << QList<int>{2} << QList<int>{};
        QTest::newRow("side by side") << 4 << QList<int>{1, 2} << QList<int>{0, 3};
        QTest::newRow("all") << 3 << QList<int>{0, 1, 2} << QList<int>{};
        QTest::newRow("9 columns: flags in two bytes") << 9 << QList<int>{0, 8} << QList<int>{7};
        QTest::newRow("as wide as sharing goes") << int(record::kMostSharingColumns) << QList<int>{0, 31, 59}
                                                 << QList<int>{1, 58};
    }
    void referencesReadBackWhereTheyPoint()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, shared);
        QFETCH(QList<int>, kept);
        Row row;
        for (int c = 0; c < width; ++c)
            row.push_back(letters(8 + c % 5, c));
        std::vector<QByteArray> earlier;
        record::References refs;
        for (int c : shared) {
            refs.shared |= std::uint64_t(1) << c;
            refs.at[c] = std::uint32_t(earlier.size());
            refs.saved += size_t(row[size_t(c)]->size()) - 4;
            earlier.push_back(*row[size_t(c)]);
        }
        for (int c : kept)
            refs.kept |= std::uint64_t(1) << c;
        const Fields f(row);
        const record::Measure m = record::measure(f.fields.data(), row.size());
        const size_t bytes = record::shortRecordBytes(row.size(), m, refs);
        QVERIFY(bytes > 0);
        std::vector<char> out(bytes + record::kSlack);
        QList<int> reported;
        record::encodeShort<false>(out.data(), bytes, f.fields.data(), row.size(), refs, [&](size_t c, const char *at) {
            reported.push_back(int(c));
            QCOMPARE(QByteArray(at, row[c]->size()), *row[c]);
        });
        QCOMPARE(reported, kept);
        QCOMPARE(int(static_cast<unsigned char>(out[0])), int(record::kSharingRow));
        QCOMPARE(size_t(record::recordBytes(out.data(), row.size())), bytes);
        QCOMPARE(decoded(out.data(), row.size(), earlier), row);
    }
};

QTEST_GUILESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
