#include "data/RowStore.h"

#include "data/DbError.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <memory>
#include <system_error>

#include <sys/mman.h>

namespace talveros::data {

constinit thread_local RowStore::Decoded RowStore::t_decoded;

namespace {
constexpr size_t kChunkBytes = size_t(1) << 21;
constexpr size_t kMaxChunks = size_t(1) << 11;
constexpr size_t kMaxBytes = kChunkBytes * kMaxChunks;

// The first byte of a record says what follows.
constexpr unsigned char kShortRow = 0; // the record's size in two bytes, a length byte per value, the text
constexpr unsigned char kLongRow = 1;  // four bytes per value: where it ends, high bit NULL
constexpr unsigned char kJump = 2;     // the next record starts at the next chunk
// As a short row, with a bit per value after the lengths: a flagged value is a place
// (four bytes) where the same bytes were stored before.
constexpr unsigned char kSharingRow = 3;
constexpr size_t kShortHead = 3;
constexpr size_t kLongestShortRow = 0xFFFF;

// A value shorter than this is stored again: a place takes four bytes.
constexpr std::int64_t kShortestShared = 8;
// Rows of wider tables store every value; their flags would not fit one word.
constexpr size_t kMostSharingColumns = 60;
constexpr unsigned kStoredBits = 14;
// A column is looked at this many times before its share of repeats decides.
constexpr std::uint32_t kTrialValues = 512;

constexpr std::int64_t kLongestShort = 255;

// Every store's every version gets its own number, so that a row taken apart for a
// store that has since changed, or for another store at the same address, is never
// taken for current.
std::atomic<std::uint64_t> g_generations{0};

DbError tooLarge()
{
    return DbError(QStringLiteral("HY001"), 0,
                   QStringLiteral("Het resultaat is te groot om in het geheugen te houden."));
}

// Whether two values of `size` bytes, at least eight, are the same.
bool sameBytes(const char *a, const char *b, size_t size)
{
    std::uint64_t x = 0, y = 0;
    for (size_t i = 0; i + 8 < size; i += 8) {
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            return false;
    }
    std::memcpy(&x, a + size - 8, 8);
    std::memcpy(&y, b + size - 8, 8);
    return x == y;
}

// Most values are a few bytes long: copied inline, with loads and stores that stay
// inside both, instead of a call for each.
inline void copyBytes(char *to, const char *from, size_t size)
{
    if (size >= 8) {
        std::uint64_t w = 0;
        for (size_t i = 0; i + 8 < size; i += 8) {
            std::memcpy(&w, from + i, 8);
            std::memcpy(to + i, &w, 8);
        }
        std::memcpy(&w, from + size - 8, 8);
        std::memcpy(to + size - 8, &w, 8);
    } else if (size >= 4) {
        std::uint32_t head = 0, tail = 0;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// A value of a fetched block, copied 32 bytes at a time: the bytes after it in the
// fetch buffer and in the chunk are read and overwritten (RowStore::Block, room()).
inline void copyWords(char *to, const char *from, size_t size)
{
    size_t i = 0;
    do {
        std::memcpy(to + i, from + i, 32);
        i += 32;
    } while (i < size);
}

size_t storedSlot(const char *data, std::int64_t size)
{
    std::uint64_t head = 0, tail = 0;
    std::memcpy(&head, data, sizeof head);
    std::memcpy(&tail, data + size - std::int64_t(sizeof tail), sizeof tail);
    const std::uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ std::uint64_t(size);
    return size_t((h * 0xD6E8FEB86659FD93ull) >> (64 - kStoredBits));
}

} // namespace

// Every store without columns shares this one list, so that making one allocates nothing.
static const std::shared_ptr<const std::vector<RowStore::Column>> &noColumns()
{
    static const auto none = std::make_shared<const std::vector<RowStore::Column>>();
    return none;
}

RowStore::RowStore() : m_columns(noColumns()), m_generation(++g_generations) {}

RowStore::~RowStore()
{
    dropAhead();
}

RowStore::RowStore(RowStore &&other) noexcept
    : m_columns(other.m_columns), m_columnCount(other.m_columnCount), m_rowCount(other.m_rowCount),
      m_places(std::move(other.m_places)), m_everyPlace(other.m_everyPlace), m_chunks(std::move(other.m_chunks)),
      m_chunkBytes(std::move(other.m_chunkBytes)), m_ahead(std::move(other.m_ahead)),
      m_faulting(std::move(other.m_faulting)), m_used(other.m_used), m_capacity(other.m_capacity),
      m_recordBytes(other.m_recordBytes),
      m_expectedRows(other.m_expectedRows), m_stored(std::move(other.m_stored)), m_looked(std::move(other.m_looked)),
      m_found(std::move(other.m_found)), m_lookedFor(other.m_lookedFor), m_generation(++g_generations)
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
        m_chunks = std::move(other.m_chunks);
        m_chunkBytes = std::move(other.m_chunkBytes);
        dropAhead();
        m_ahead = std::move(other.m_ahead);
        m_faulting = std::move(other.m_faulting);
        m_used = other.m_used;
        m_capacity = other.m_capacity;
        m_recordBytes = other.m_recordBytes;
        m_expectedRows = other.m_expectedRows;
        m_stored = std::move(other.m_stored);
        m_looked = std::move(other.m_looked);
        m_found = std::move(other.m_found);
        m_lookedFor = other.m_lookedFor;
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
    dropAhead();
    m_chunks.clear();
    m_chunkBytes.clear();
    m_used = 0;
    m_capacity = 0;
    m_recordBytes = 0;
    m_expectedRows = 0;
    m_stored.clear();
    m_looked.clear();
    m_found.clear();
    m_lookedFor = 0;
    changed();
}

void RowStore::reserve(size_t rows)
{
    m_expectedRows = rows;
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

void RowStore::unpack(const char *record, Value *values) const
{
    const size_t n = m_columnCount;
    const auto kind = static_cast<unsigned char>(record[0]);
    if (kind == kLongRow) {
        const char *text = record + 1 + n * sizeof(std::uint32_t);
        std::uint32_t begin = 0;
        for (size_t c = 0; c < n; ++c) {
            std::uint32_t end = 0;
            std::memcpy(&end, record + 1 + c * sizeof end, sizeof end);
            values[c].data = text + begin;
            values[c].length = (end & kNullFlag) ? kNullFlag : (end & ~kNullFlag) - begin;
            begin = end & ~kNullFlag;
        }
        return;
    }
    const auto *length = reinterpret_cast<const unsigned char *>(record + kShortHead);
    if (kind == kShortRow) {
        const char *text = record + kShortHead + n;
        for (size_t c = 0; c < n; ++c) {
            const std::uint32_t bytes = length[c];
            values[c] = Value{text, bytes};
            text += bytes;
        }
        return;
    }
    // A value kept with an earlier row takes the four bytes of its place; a sharing row
    // has at most 64 columns, its flags in one word.
    // The word read with the flags lies inside the chunk: the text follows them, and
    // the chunk's slack the last record.
    std::uint64_t shared = 0;
    std::memcpy(&shared, record + kShortHead + n, sizeof shared);
    shared &= (std::uint64_t(1) << n) - 1;
    const char *text = record + kShortHead + n + (n + 7) / 8;
    size_t c = 0;
    for (;; shared &= shared - 1) {
        const size_t stop = shared != 0 ? size_t(std::countr_zero(shared)) : n;
        for (; c < stop; ++c) {
            const std::uint32_t bytes = length[c];
            values[c] = Value{text, bytes};
            text += bytes;
        }
        if (c == n)
            return;
        std::uint32_t place = 0;
        std::memcpy(&place, text, sizeof place);
        values[c] = Value{sharedValue(place), length[c]};
        text += sizeof place;
        ++c;
    }
}

std::uint32_t RowStore::recordBytes(const char *record) const
{
    const auto kind = static_cast<unsigned char>(record[0]);
    if (kind == kJump)
        return 0;
    if (kind != kLongRow) {
        std::uint16_t bytes = 0;
        std::memcpy(&bytes, record + 1, sizeof bytes);
        return bytes;
    }
    const size_t head = 1 + m_columnCount * sizeof(std::uint32_t);
    if (m_columnCount == 0)
        return std::uint32_t(head);
    std::uint32_t end = 0;
    std::memcpy(&end, record + head - sizeof end, sizeof end);
    return std::uint32_t(head + (end & ~kNullFlag));
}

RowStore::Place RowStore::next(Place p, std::uint32_t bytes) const
{
    p.offset += bytes;
    if (p.offset >= m_chunkBytes[p.chunk] || static_cast<unsigned char>(recordAt(p)[0]) == kJump)
        return Place{p.chunk + 1, 0};
    return p;
}

RowStore::Place RowStore::placeOf(size_t row) const
{
    if (m_everyPlace)
        return m_places[row];
    Place p = m_places[row / kGroupRows];
    for (size_t r = row - row % kGroupRows; r < row; ++r)
        p = next(p, recordBytes(recordAt(p)));
    return p;
}

const RowStore::Decoded &RowStore::decode(size_t row) const
{
    readRow(row, t_decoded.values, t_decoded);
    return t_decoded;
}

bool RowStore::readWide(size_t row, int column, std::string_view &out) const
{
    std::vector<Value> values(m_columnCount);
    unpack(recordAt(placeOf(row)), values.data());
    const Value &v = values[size_t(column)];
    if (v.length & kNullFlag) {
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
    const Place p = following ? next(walk.place, walk.bytes) : placeOf(row);
    const char *record = recordAt(p);
    walk.store = this;
    walk.generation = m_generation;
    walk.row = row;
    walk.place = p;
    walk.bytes = recordBytes(record);
    unpack(record, values);
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

char *RowStore::newChunk(size_t bytes)
{
    if (m_chunks.size() >= kMaxChunks || bytes >= kMaxBytes)
        throw tooLarge();
    // Room in the lists first, so that a chunk once allocated is never lost.
    if (m_chunks.size() == m_chunks.capacity())
        m_chunks.reserve(std::max<size_t>(16, 2 * m_chunks.size()));
    if (m_chunkBytes.size() == m_chunkBytes.capacity())
        m_chunkBytes.reserve(std::max<size_t>(16, 2 * m_chunkBytes.size()));
    const size_t size = (std::max(bytes + kBlockSlack, kChunkBytes) + kChunkBytes - 1) & ~(kChunkBytes - 1);
    // What the rest of a result whose size is known will take, as far as its rows so far tell.
    std::uint64_t toCome = 0;
    if (m_expectedRows > m_rowCount && m_rowCount > 0)
        toCome = std::uint64_t(double(m_recordBytes) / double(m_rowCount) * double(m_expectedRows - m_rowCount));
    char *p = nullptr;
    if (m_ahead && size == kChunkBytes) {
        if (m_faulting.valid())
            m_faulting.wait();
        m_faulting = {};
        p = m_ahead.release();
    } else {
        // Not value-initialised: every byte of a record is written before it is read.
        p = static_cast<char *>(std::aligned_alloc(kChunkBytes, size));
        if (!p)
            throw tooLarge();
        // A large result is faulted in two megabytes at a time instead of four kilobytes;
        // a small one, or the last chunk of one whose size is known, would only pay for
        // the unused rest of a huge page.
        if (!m_chunks.empty() && (m_expectedRows <= m_rowCount || toCome >= size))
            madvise(p, size, MADV_HUGEPAGE);
    }
    if (!m_chunks.empty() && m_used < m_capacity)
        m_chunks.back().get()[m_used] = char(kJump);
    m_chunks.emplace_back(p);
    m_chunkBytes.push_back(size);
    m_used = 0;
    m_capacity = size;
    if (!m_ahead && toCome > size)
        faultInAhead(toCome - size);
    return p;
}

void RowStore::faultInAhead(std::uint64_t bytesToCome)
{
    auto *p = static_cast<char *>(std::aligned_alloc(kChunkBytes, kChunkBytes));
    if (!p)
        return;
    m_ahead.reset(p);
    // The last chunk of a result is no huge page and is only faulted in as far as it will
    // be filled (and a little more, the estimate being one).
    const bool whole = bytesToCome >= kChunkBytes;
    if (whole)
        madvise(p, kChunkBytes, MADV_HUGEPAGE);
    const size_t reach = whole ? kChunkBytes : std::min<size_t>(kChunkBytes, size_t(bytesToCome) + kChunkBytes / 8);
    try {
        m_faulting = std::async(std::launch::async, [p, reach] {
            for (size_t at = 0; at < reach; at += 4096)
                static_cast<volatile char *>(p)[at] = 0;
        });
    } catch (const std::system_error &) {
        // No thread to spare: the chunk is faulted in as it is filled.
    }
}

void RowStore::dropAhead() noexcept
{
    if (m_faulting.valid())
        m_faulting.wait();
    m_faulting = {};
    m_ahead.reset();
}

// A record goes where the last one ended, or at the start of a new chunk, the rest of
// the old one marked as skipped; one larger than a chunk gets one its size. A record
// always leaves kBlockSlack bytes after it, which copyWords may overwrite.
inline char *RowStore::room(size_t bytes, Place &place)
{
    char *chunk = m_chunks.empty() || bytes + kBlockSlack > m_capacity - m_used ? newChunk(bytes)
                                                                                 : m_chunks.back().get();
    place = Place{std::uint32_t(m_chunks.size() - 1), std::uint32_t(m_used)};
    m_used += bytes;
    m_recordBytes += bytes;
    return chunk + place.offset;
}

template <bool words>
RowStore::Place RowStore::pack(const Field *fields, Measure measured)
{
    const size_t n = m_columnCount;
    std::uint64_t total = measured.total;
    // A NULL's negative size is far beyond any short one.
    static_assert(kLongestShort == 255);
    bool isShort = measured.beyondShort == 0;

    // The values stored already somewhere before, found by their bytes; only a short
    // row points at them, so a row found long afterwards stores its own.
    std::uint64_t sharedMask = 0, lookedMask = 0;
    size_t sharedBytes = 0;
    std::uint32_t sharedAt[kMostSharingColumns];
    std::uint16_t storedSlots[kMostSharingColumns];
    static_assert(kStoredBits <= 16);
    if (isShort && n <= kMostSharingColumns) {
        if (m_stored.empty()) {
            m_stored.assign(size_t(1) << kStoredBits, 0);
            m_looked.assign(n, 0);
            m_found.assign(n, 0);
            m_lookedFor = (std::uint64_t(1) << n) - 1;
        }
        // A column whose values are mostly too short to share is no longer looked at either.
        for (std::uint64_t look = m_lookedFor; look != 0; look &= look - 1) {
            const auto c = size_t(std::countr_zero(look));
            const std::uint64_t bit = std::uint64_t(1) << c;
            if (++m_looked[c] == kTrialValues && m_found[c] * 4 < kTrialValues)
                m_lookedFor &= ~bit;
            const std::int64_t size = fields[c].size;
            if (size < kShortestShared)
                continue;
            lookedMask |= bit;
            const char *data = fields[c].data;
            storedSlots[c] = std::uint16_t(storedSlot(data, size));
            const std::uint64_t entry = m_stored[storedSlots[c]];
            if (std::int64_t(entry & 0xFFFFFFFFu) != size)
                continue;
            const auto at = std::uint32_t(entry >> 32);
            if (!sameBytes(sharedValue(at), data, size_t(size)))
                continue;
            ++m_found[c];
            sharedMask |= bit;
            sharedAt[c] = at;
            sharedBytes += size_t(size) - sizeof at;
        }
    }
    const size_t flags = sharedMask != 0 ? (n + 7) / 8 : 0;
    if (isShort && kShortHead + n + flags + total - sharedBytes > kLongestShortRow)
        isShort = false;

    Place place;
    if (isShort) {
        const size_t head = kShortHead + n + flags;
        const size_t bytes = head + total - sharedBytes;
        char *r = room(bytes, place);
        r[0] = char(sharedMask != 0 ? kSharingRow : kShortRow);
        const auto size16 = std::uint16_t(bytes);
        std::memcpy(r + 1, &size16, sizeof size16);
        static_assert(std::endian::native == std::endian::little);
        // The flags in one word: what lies past them is written over by the values, or
        // is the slack every record leaves.
        std::memcpy(r + kShortHead + n, &sharedMask, sizeof sharedMask);
        auto *length = reinterpret_cast<unsigned char *>(r + kShortHead);
        char *out = r + head;
        const char *chunk = r - place.offset;
        // Only a value looked for (lookedMask is empty beyond kMostSharingColumns) is a
        // place or kept to be pointed at; the runs of values between are plain copies.
        size_t c = 0;
        for (std::uint64_t special = lookedMask;; special &= special - 1) {
            const size_t stop = special != 0 ? size_t(std::countr_zero(special)) : n;
            for (; c < stop; ++c) {
                const auto size = size_t(fields[c].size);
                length[c] = static_cast<unsigned char>(size);
                if constexpr (words)
                    copyWords(out, fields[c].data, size);
                else
                    copyBytes(out, fields[c].data, size);
                out += size;
            }
            if (c == n)
                return place;
            const auto size = size_t(fields[c].size);
            length[c] = static_cast<unsigned char>(size);
            if ((sharedMask >> c) & 1u) {
                std::memcpy(out, &sharedAt[c], sizeof sharedAt[c]);
                out += sizeof sharedAt[c];
            } else {
                if constexpr (words)
                    copyWords(out, fields[c].data, size);
                else
                    copyBytes(out, fields[c].data, size);
                const auto offset = size_t(out - chunk);
                if (offset <= kOffsetMask)
                    m_stored[storedSlots[c]] =
                        (std::uint64_t((place.chunk << kOffsetBits) | std::uint32_t(offset)) << 32) | size;
                out += size;
            }
            ++c;
        }
    }

    total = 0;
    for (size_t c = 0; c < n; ++c)
        total += std::uint64_t(std::max<std::int64_t>(fields[c].size, 0));
    if (total >= kNullFlag)
        throw tooLarge();
    const size_t head = 1 + n * sizeof(std::uint32_t);
    char *r = room(head + total, place);
    r[0] = char(kLongRow);
    char *out = r + head;
    std::uint32_t end = 0;
    for (size_t c = 0; c < n; ++c) {
        const std::int64_t size = fields[c].size;
        if (size > 0) {
            std::memcpy(out + end, fields[c].data, size_t(size));
            end += std::uint32_t(size);
        }
        const std::uint32_t e = size < 0 ? (end | kNullFlag) : end;
        std::memcpy(r + 1 + c * sizeof e, &e, sizeof e);
    }
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
                p = next(p, recordBytes(recordAt(p)));
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
    placed(pack<false>(fields, measure(fields, m_columnCount)));
}

bool RowStore::appendBlock(const Block &block)
{
    // Taken apart and measured column by column, the way the buffers lie, then packed
    // row by row.
    const size_t n = m_columnCount;
    const size_t rows = block.rows;
    const auto fields = std::make_unique_for_overwrite<Field[]>(n * rows);
    std::vector<Measure> measured(rows);
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
            measured[r].beyondShort |= std::uint64_t(size) >> 8;
            measured[r].total += std::uint64_t(size);
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
    m_places[row] = pack<false>(fields.data(), measure(fields.data(), m_columnCount));
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
