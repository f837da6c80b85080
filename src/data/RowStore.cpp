#include "data/RowStore.h"

#include <algorithm>
#include <atomic>

namespace talveros::data {

constinit thread_local RowStore::Decoded RowStore::t_decoded;

namespace {
// Every store's every version gets its own number, so that a row taken apart for a
// store that has since changed, or for another store at the same address, is never
// taken for current.
std::atomic<std::uint64_t> g_generations{0};
} // namespace

// Every store without columns shares this one list, so that making one allocates nothing.
static const std::shared_ptr<const std::vector<RowStore::Column>> &noColumns()
{
    static const auto none = std::make_shared<const std::vector<RowStore::Column>>();
    return none;
}

RowStore::RowStore() : m_columns(noColumns()), m_generation(++g_generations) {}

RowStore::~RowStore() = default;

RowStore::RowStore(RowStore &&other) noexcept
    : m_columns(other.m_columns), m_columnCount(other.m_columnCount), m_rowCount(other.m_rowCount),
      m_places(std::move(other.m_places)), m_everyPlace(other.m_everyPlace), m_expectedRows(other.m_expectedRows),
      m_arena(std::move(other.m_arena)), m_repeats(std::move(other.m_repeats)), m_generation(++g_generations)
{
    other.clearRows();
}

RowStore &RowStore::operator=(RowStore &&other) noexcept
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_columnCount = other.m_columnCount;
        m_rowCount = other.m_rowCount;
        m_places = std::move(other.m_places);
        m_everyPlace = other.m_everyPlace;
        m_expectedRows = other.m_expectedRows;
        m_arena = std::move(other.m_arena);
        m_repeats = std::move(other.m_repeats);
        changed();
        other.clearRows();
    }
    return *this;
}

void RowStore::changed()
{
    m_generation = ++g_generations;
}

void RowStore::setColumns(std::vector<Column> columns)
{
    m_columns = std::make_shared<const std::vector<Column>>(std::move(columns));
    m_columnCount = m_columns->size();
    clearRows();
}

void RowStore::clearRows()
{
    m_rowCount = 0;
    m_places.clear();
    m_everyPlace = false;
    m_expectedRows = 0;
    m_arena.clear();
    m_repeats.clear();
    changed();
}

void RowStore::reserve(size_t rows)
{
    m_expectedRows = rows;
    m_arena.expect(rows);
    m_places.reserve(m_everyPlace ? rows : rows / kGroupRows + 1);
}

int RowStore::columnIndex(QStringView name) const
{
    // Every field read looks its column up, so the name as the table spells it is
    // found without folding letter case; folding keeps a name's length.
    for (int i = 0; i < columnCount(); ++i) {
        if (QStringView((*m_columns)[size_t(i)].name) == name)
            return i;
    }
    for (int i = 0; i < columnCount(); ++i) {
        const QString &candidate = (*m_columns)[size_t(i)].name;
        if (candidate.size() == name.size() && QStringView(candidate).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}


RowStore::Place RowStore::placeOf(size_t row) const
{
    if (m_everyPlace)
        return m_places[row];
    Place p = m_places[row / kGroupRows];
    for (size_t r = row - row % kGroupRows; r < row; ++r)
        p = m_arena.next(p, record::recordBytes(m_arena.at(p), m_columnCount));
    return p;
}

void RowStore::unpack(const char *encoded, Value *values) const
{
    record::decode(encoded, m_columnCount, values,
                   [this](std::uint32_t reference) { return m_arena.referred(reference); });
}

const RowStore::Decoded &RowStore::decode(size_t row) const
{
    readRow(row, t_decoded.values, t_decoded);
    return t_decoded;
}

bool RowStore::readWide(size_t row, int column, std::string_view &out) const
{
    std::vector<Value> values(m_columnCount);
    unpack(m_arena.at(placeOf(row)), values.data());
    const Value &v = values[size_t(column)];
    if (v.length & kNullLength) {
        out = {};
        return false;
    }
    out = std::string_view(v.data, v.length);
    return true;
}

void RowStore::readRow(size_t row, Value *values, Walk &walk) const &
{
    // A walk reads the row after the one it read last: one step from there.
    const bool following = !m_everyPlace && walk.store == this && walk.generation == m_generation && walk.row + 1 == row;
    const Place p = following ? m_arena.next(walk.place, walk.bytes) : placeOf(row);
    const char *encoded = m_arena.at(p);
    walk.store = this;
    walk.generation = m_generation;
    walk.row = row;
    walk.place = p;
    walk.bytes = record::recordBytes(encoded, m_columnCount);
    unpack(encoded, values);
}

QString RowStore::text(size_t row, int column) const
{
    const std::string_view v = value(row, column);
    return QString::fromUtf8(QByteArrayView(v.data(), qsizetype(v.size())));
}

std::vector<SqlValue> RowStore::row(size_t row) const
{
    std::vector<SqlValue> values;
    values.reserve(size_t(columnCount()));
    for (int c = 0; c < columnCount(); ++c) {
        std::string_view v;
        if (read(row, c, v))
            values.emplace_back(QByteArray(v.data(), qsizetype(v.size())));
        else
            values.emplace_back(std::nullopt);
    }
    return values;
}

// A row is a short record when it can be (RecordCodec.h), referring to the values that
// repeat one stored before; otherwise a long one.
template <bool words>
RowStore::Place RowStore::pack(const Field *fields, record::Measure measured)
{
    if (measured.beyondShort == 0) {
        RepeatedValues::Found repeats;
        if (m_columnCount <= record::kMostSharingColumns)
            m_repeats.find(fields, m_columnCount, m_arena, repeats);
        if (const size_t bytes = record::shortRecordBytes(m_columnCount, measured, repeats))
            return packShort<words>(fields, bytes, repeats);
    }
    return packLong(fields);
}

// The values written whole that later rows may refer to are remembered where they landed.
template <bool words>
RowStore::Place RowStore::packShort(const Field *fields, size_t bytes, const RepeatedValues::Found &repeats)
{
    Place place;
    char *r = m_arena.room(bytes, place);
    record::encodeShort<words>(r, bytes, fields, m_columnCount, repeats, [&](size_t c, const char *at) {
        if (const auto reference = ChunkArena::reference(place.chunk, place.offset + size_t(at - r)))
            m_repeats.keep(repeats, c, fields[c].size, *reference);
    });
    return place;
}

RowStore::Place RowStore::packLong(const Field *fields)
{
    const std::uint64_t valueBytes = record::longValueBytes(fields, m_columnCount);
    if (valueBytes >= record::kNullLength)
        throwResultTooLarge();
    Place place;
    char *r = m_arena.room(record::longHeadBytes(m_columnCount) + valueBytes, place);
    record::encodeLong(r, fields, m_columnCount);
    return place;
}

std::vector<RowStore::Field> RowStore::fieldsOf(const std::vector<SqlValue> &values) const
{
    std::vector<Field> fields(m_columnCount);
    for (size_t c = 0; c < fields.size() && c < values.size(); ++c) {
        if (values[c])
            fields[c] = Field{values[c]->constData(), values[c]->size()};
    }
    return fields;
}

void RowStore::keepEveryPlace()
{
    if (m_everyPlace)
        return;
    std::vector<Place> places;
    places.reserve(std::max(m_rowCount, m_expectedRows));
    if (m_rowCount > 0) {
        Place p = m_places[0];
        for (size_t r = 0; r < m_rowCount; ++r) {
            if (r > 0)
                p = m_arena.next(p, record::recordBytes(m_arena.at(p), m_columnCount));
            places.push_back(p);
        }
    }
    m_places = std::move(places);
    m_everyPlace = true;
}

inline void RowStore::placed(Place p)
{
    if (m_everyPlace || m_rowCount % kGroupRows == 0)
        m_places.push_back(p);
    ++m_rowCount;
}

void RowStore::appendRow(const Field *fields)
{
    placed(pack<false>(fields, record::measure(fields, m_columnCount)));
}

bool RowStore::appendBlock(const Block &block)
{
    // Taken apart and measured column by column, the way the buffers lie, then packed
    // row by row.
    const size_t n = m_columnCount;
    const size_t rows = block.rows;
    const auto fields = std::make_unique_for_overwrite<Field[]>(n * rows);
    std::vector<record::Measure> measured(rows);
    bool fits = true;
    for (size_t c = 0; c < n; ++c) {
        const char *data = block.data[c];
        const size_t width = block.widths[c];
        const std::int64_t *lengths = block.lengths[c];
        Field *field = fields.get() + c;
        for (size_t r = 0; r < rows; ++r, field += n) {
            const std::int64_t size = lengths[r];
            // NULL (-1) passes as 0; any other negative length, and any from the width up, fails.
            fits &= std::uint64_t(size) + 1 <= width;
            field->data = data + r * width;
            field->size = size;
            record::measureValue(measured[r], size);
        }
    }
    if (!fits)
        return false;
    for (size_t r = 0; r < rows; ++r)
        placed(pack<true>(fields.get() + r * n, measured[r]));
    return true;
}

void RowStore::appendRow(const std::vector<SqlValue> &values)
{
    appendRow(fieldsOf(values).data());
}

void RowStore::replaceRow(size_t row, const std::vector<SqlValue> &values)
{
    // The old bytes stay in their chunk until the store is re-read; edits are few.
    keepEveryPlace();
    const std::vector<Field> fields = fieldsOf(values);
    m_places[row] = pack<false>(fields.data(), record::measure(fields.data(), m_columnCount));
    changed();
}

void RowStore::removeRow(size_t row)
{
    keepEveryPlace();
    m_places.erase(m_places.begin() + std::ptrdiff_t(row));
    --m_rowCount;
    changed();
}

} // namespace talveros::data
