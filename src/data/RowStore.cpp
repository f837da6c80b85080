#include "data/RowStore.h"

#include "data/DbError.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>

#include <sys/mman.h>

namespace talveros::data {

constinit thread_local RowStore::Decoded RowStore::t_decoded;

namespace {
constexpr size_t kChunkBytes = size_t(1) << 21;
constexpr size_t kMaxChunks = size_t(1) << 11;
constexpr size_t kMaxBytes = kChunkBytes * kMaxChunks;

// The first half-byte of a record says what follows.
constexpr unsigned kShortRow = 0; // a half-byte length code per value, then the text
constexpr unsigned kLongRow = 1;  // four bytes per value: where it ends, high bit NULL
constexpr unsigned kJump = 2;     // the next record starts at the next chunk
// As a short row, with a half-byte of flags per four values after the first: a flagged
// value is a place (four bytes) where the same bytes were stored before.
constexpr unsigned kSharingRow = 3;

// A value shorter than this is stored again: a place takes four bytes.
constexpr std::int64_t kShortestShared = 8;
// Rows of wider tables store every value; their flags would not fit one word.
constexpr size_t kMostSharingColumns = 60;
constexpr unsigned kStoredBits = 14;
// A column is looked at this many times before its share of repeats decides.
constexpr std::uint32_t kTrialValues = 512;

// Short lengths take one half-byte, 15 to 29 two, 30 to 285 four.
constexpr std::int64_t kLongestShort = 285;

// Every store's every version gets its own number, so that a row taken apart for a
// store that has since changed, or for another store at the same address, is never
// taken for current.
std::atomic<std::uint64_t> g_generations{0};

DbError tooLarge()
{
    return DbError(QStringLiteral("HY001"), 0,
                   QStringLiteral("Het resultaat is te groot om in het geheugen te houden."));
}

size_t lengthCodes(std::int64_t size)
{
    return size < 15 ? 1 : size < 30 ? 2 : 4;
}

unsigned halfByte(const unsigned char *p, size_t i)
{
    return (p[i >> 1] >> ((i & 1) * 4)) & 0xFu;
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

RowStore::RowStore(RowStore &&other) noexcept
    : m_columns(other.m_columns), m_columnCount(other.m_columnCount), m_rowCount(other.m_rowCount),
      m_places(std::move(other.m_places)), m_everyPlace(other.m_everyPlace), m_chunks(std::move(other.m_chunks)),
      m_chunkBytes(std::move(other.m_chunkBytes)), m_used(other.m_used), m_recordBytes(other.m_recordBytes),
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
        m_used = other.m_used;
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
    m_chunks.clear();
    m_chunkBytes.clear();
    m_used = 0;
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

void RowStore::unpack(const char *record, std::uintptr_t *offsets, std::uint32_t *lengths, std::uintptr_t &text,
                      std::uint32_t &bytes) const
{
    const size_t n = m_columnCount;
    const auto *p = reinterpret_cast<const unsigned char *>(record);
    const unsigned kind = p[0] & 0xFu;
    if (kind == kLongRow) {
        const size_t head = 1 + n * sizeof(std::uint32_t);
        std::uint32_t begin = 0;
        for (size_t c = 0; c < n; ++c) {
            std::uint32_t end = 0;
            std::memcpy(&end, record + 1 + c * sizeof end, sizeof end);
            offsets[c] = begin;
            lengths[c] = (end & kNullFlag) ? kNullFlag : (end & ~kNullFlag) - begin;
            begin = end & ~kNullFlag;
        }
        text = reinterpret_cast<std::uintptr_t>(record + head);
        bytes = std::uint32_t(head + begin);
        return;
    }
    // A value kept with an earlier row takes the four bytes of its place. Its flag is
    // bit 4 + c of the record, the half-bytes of flags following the kind.
    std::uint64_t shared = 0;
    size_t flags = 0;
    if (kind == kSharingRow) {
        flags = (n + 3) / 4;
        for (size_t b = 0; b < (4 + n + 7) / 8; ++b)
            shared |= std::uint64_t(p[b]) << (8 * b);
        shared = (shared >> 4) & ((std::uint64_t(1) << n) - 1);
    }
    size_t i = 1 + flags;
    std::uint32_t at = 0;
    for (size_t c = 0; c < n; ++c) {
        std::uint32_t len = halfByte(p, i++);
        if (len == 15) {
            const std::uint32_t more = halfByte(p, i++);
            if (more == 15) {
                len = 30 + (halfByte(p, i) | (halfByte(p, i + 1) << 4));
                i += 2;
            } else {
                len = 15 + more;
            }
        }
        lengths[c] = len;
        offsets[c] = at;
        at += (shared >> c) & 1u ? std::uint32_t(sizeof(std::uint32_t)) : len;
    }
    const size_t head = (i + 1) / 2;
    text = reinterpret_cast<std::uintptr_t>(record + head);
    bytes = std::uint32_t(head + at);
    for (; shared != 0; shared &= shared - 1) {
        const auto c = size_t(std::countr_zero(shared));
        std::uint32_t place = 0;
        std::memcpy(&place, record + head + offsets[c], sizeof place);
        offsets[c] = reinterpret_cast<std::uintptr_t>(sharedValue(place)) - text;
    }
}

std::uint32_t RowStore::recordBytes(Place p) const
{
    const char *record = m_chunks[p.chunk].get() + p.offset;
    if ((static_cast<unsigned char>(record[0]) & 0xFu) == kJump)
        return 0;
    std::uint32_t bytes = 0;
    std::uintptr_t text = 0;
    if (m_columnCount <= kDecodedColumns) {
        Decoded scratch;
        unpack(record, scratch.offsets, scratch.lengths, text, bytes);
    } else {
        std::vector<std::uintptr_t> offsets(m_columnCount);
        std::vector<std::uint32_t> lengths(m_columnCount);
        unpack(record, offsets.data(), lengths.data(), text, bytes);
    }
    return bytes;
}

RowStore::Place RowStore::next(Place p, std::uint32_t bytes) const
{
    p.offset += bytes;
    if (p.offset >= m_chunkBytes[p.chunk]
        || (static_cast<unsigned char>(m_chunks[p.chunk].get()[p.offset]) & 0xFu) == kJump)
        return Place{p.chunk + 1, 0};
    return p;
}

RowStore::Place RowStore::placeOf(size_t row) const
{
    if (m_everyPlace)
        return m_places[row];
    Place p = m_places[row / kGroupRows];
    for (size_t r = row - row % kGroupRows; r < row; ++r)
        p = next(p, recordBytes(p));
    return p;
}

const RowStore::Decoded &RowStore::decode(size_t row) const
{
    Decoded &d = t_decoded;
    // A walk reads the row after the one it read last: one step from there.
    const bool following = !m_everyPlace && d.store == this && d.generation == m_generation && d.row + 1 == row;
    const Place p = following ? next(d.place, d.bytes) : placeOf(row);
    d.store = this;
    d.generation = m_generation;
    d.row = row;
    d.place = p;
    unpack(m_chunks[p.chunk].get() + p.offset, d.offsets, d.lengths, d.text, d.bytes);
    return d;
}

bool RowStore::readWide(size_t row, int column, std::string_view &out) const
{
    const Place p = placeOf(row);
    std::vector<std::uintptr_t> offsets(m_columnCount);
    std::vector<std::uint32_t> lengths(m_columnCount);
    std::uint32_t bytes = 0;
    std::uintptr_t text = 0;
    unpack(m_chunks[p.chunk].get() + p.offset, offsets.data(), lengths.data(), text, bytes);
    if (lengths[size_t(column)] & kNullFlag) {
        out = {};
        return false;
    }
    out = std::string_view(reinterpret_cast<const char *>(text + offsets[size_t(column)]), lengths[size_t(column)]);
    return true;
}

QString RowStore::text(size_t row, int column) const
{
    const std::string_view v = value(row, column);
    return QString::fromUtf8(v.data(), qsizetype(v.size()));
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

RowStore::Place RowStore::pack(const Field *fields)
{
    const size_t n = m_columnCount;
    size_t total = 0;
    size_t codes = 1;
    bool isShort = true;

    // The values stored already somewhere before, found by their bytes; only a short
    // row points at them, so a row found long afterwards stores its own.
    std::uint64_t sharedMask = 0, lookedMask = 0;
    size_t sharedBytes = 0;
    std::uint32_t sharedAt[kMostSharingColumns];
    std::uint16_t storedSlots[kMostSharingColumns];
    static_assert(kStoredBits <= 16);
    const bool sharingTable = n <= kMostSharingColumns;
    if (sharingTable && m_stored.empty()) {
        m_stored.assign(size_t(1) << kStoredBits, 0);
        m_looked.assign(n, 0);
        m_found.assign(n, 0);
        m_lookedFor = (std::uint64_t(1) << n) - 1;
    }
    for (size_t c = 0; c < n; ++c) {
        const Field &f = fields[c];
        if (f.size < 0 || f.size > kLongestShort) {
            isShort = false;
        } else {
            codes += lengthCodes(f.size);
        }
        if (f.size > 0)
            total += size_t(f.size);
        if (!sharingTable || f.size < kShortestShared || !((m_lookedFor >> c) & 1u))
            continue;
        if (++m_looked[c] == kTrialValues && m_found[c] * 4 < kTrialValues)
            m_lookedFor &= ~(std::uint64_t(1) << c);
        lookedMask |= std::uint64_t(1) << c;
        storedSlots[c] = std::uint16_t(storedSlot(f.data, f.size));
        const std::uint64_t entry = m_stored[storedSlots[c]];
        if (std::int64_t(entry & 0xFFFFFFFFu) != f.size)
            continue;
        const auto at = std::uint32_t(entry >> 32);
        if (!sameBytes(sharedValue(at), f.data, size_t(f.size)))
            continue;
        ++m_found[c];
        sharedMask |= std::uint64_t(1) << c;
        sharedAt[c] = at;
        sharedBytes += size_t(f.size) - sizeof at;
    }
    const bool mayShare = isShort && sharingTable;
    if (mayShare)
        total -= sharedBytes;
    else
        sharedMask = 0;
    const bool sharing = sharedMask != 0;
    if (total >= kNullFlag)
        throw tooLarge();
    const size_t flags = sharing ? (n + 3) / 4 : 0;
    const size_t head = isShort ? (codes + flags + 1) / 2 : 1 + n * sizeof(std::uint32_t);
    const size_t bytes = head + total;

    // A record goes where the last one ended, or at the start of a new chunk, the rest
    // of the old one marked as skipped; one larger than a chunk gets one its size.
    if (m_chunks.empty() || bytes > m_chunkBytes.back() - m_used) {
        if (m_chunks.size() >= kMaxChunks || bytes >= kMaxBytes)
            throw tooLarge();
        if (!m_chunks.empty() && m_used < m_chunkBytes.back())
            m_chunks.back().get()[m_used] = char(kJump);
        // Not value-initialised: every byte of a record is written before it is read.
        const size_t size = (std::max(bytes, kChunkBytes) + kChunkBytes - 1) & ~(kChunkBytes - 1);
        char *p = static_cast<char *>(std::aligned_alloc(kChunkBytes, size));
        if (!p)
            throw tooLarge();
        // A large result is faulted in two megabytes at a time instead of four kilobytes;
        // a small one, or the last chunk of one whose size is known, would only pay for
        // the unused rest of a huge page.
        bool wholePages = !m_chunks.empty();
        if (wholePages && m_expectedRows > m_rowCount) {
            const double perRow = double(m_recordBytes) / double(std::max<size_t>(m_rowCount, 1));
            wholePages = perRow * double(m_expectedRows - m_rowCount) >= double(size);
        }
        if (wholePages)
            madvise(p, size, MADV_HUGEPAGE);
        m_chunks.emplace_back(p);
        m_chunkBytes.push_back(size);
        m_used = 0;
    }
    const Place place{std::uint32_t(m_chunks.size() - 1), std::uint32_t(m_used)};
    m_used += bytes;
    m_recordBytes += bytes;

    auto *r = reinterpret_cast<unsigned char *>(m_chunks.back().get() + place.offset);
    char *out = reinterpret_cast<char *>(r) + head;
    std::uint32_t end = 0;
    if (isShort) {
        // Half-bytes gather in a word written out eight bytes at a time, low half first.
        static_assert(std::endian::native == std::endian::little);
        std::uint64_t word = sharing ? kSharingRow : kShortRow;
        unsigned filled = 1;
        unsigned char *h = r;
        auto put = [&](unsigned v) {
            word |= std::uint64_t(v) << (4 * filled);
            if (++filled == 16) {
                std::memcpy(h, &word, sizeof word);
                h += sizeof word;
                word = 0;
                filled = 0;
            }
        };
        for (size_t g = 0; g < flags; ++g)
            put(unsigned(sharedMask >> (4 * g)) & 0xFu);
        for (size_t c = 0; c < n; ++c) {
            const Field &f = fields[c];
            const auto len = unsigned(f.size);
            if (len < 15) {
                put(len);
            } else if (len < 30) {
                put(15);
                put(len - 15);
            } else {
                put(15);
                put(15);
                put((len - 30) & 0xFu);
                put((len - 30) >> 4);
            }
            if ((sharedMask >> c) & 1u) {
                std::memcpy(out + end, &sharedAt[c], sizeof sharedAt[c]);
                end += sizeof sharedAt[c];
                continue;
            }
            copyBytes(out + end, f.data, len);
            // Kept as the one copy later rows point at, where a place can say where it is.
            const size_t offset = place.offset + head + end;
            if (mayShare && ((lookedMask >> c) & 1u) && offset <= kOffsetMask)
                m_stored[storedSlots[c]] = (std::uint64_t((place.chunk << kOffsetBits) | std::uint32_t(offset)) << 32) | len;
            end += len;
        }
        if (filled > 0)
            std::memcpy(h, &word, (filled + 1) / 2);
        return place;
    }
    r[0] = static_cast<unsigned char>(kLongRow);
    for (size_t c = 0; c < n; ++c) {
        const Field &f = fields[c];
        if (f.size > 0) {
            std::memcpy(out + end, f.data, size_t(f.size));
            end += std::uint32_t(f.size);
        }
        const std::uint32_t e = f.size < 0 ? (end | kNullFlag) : end;
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
                p = next(p, recordBytes(p));
            places.push_back(p);
        }
    }
    m_places = std::move(places);
    m_everyPlace = true;
}

void RowStore::appendRow(const Field *fields)
{
    const Place p = pack(fields);
    if (m_everyPlace || m_rowCount % kGroupRows == 0)
        m_places.push_back(p);
    ++m_rowCount;
}

void RowStore::appendRow(const std::vector<SqlValue> &values)
{
    appendRow(fieldsOf(values).data());
}

void RowStore::replaceRow(size_t row, const std::vector<SqlValue> &values)
{
    // The old bytes stay in their chunk until the store is re-read; edits are few.
    keepEveryPlace();
    m_places[row] = pack(fieldsOf(values).data());
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
