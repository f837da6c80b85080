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

} // namespace

// Every store without columns shares this one list, so that making one allocates nothing.
static const std::shared_ptr<const std::vector<RowStore::Column>> &noColumns()
{
    static const auto none = std::make_shared<const std::vector<RowStore::Column>>();
    return none;
}

RowStore::RowStore() : m_columns(noColumns()), m_generation(++g_generations) {}

RowStore::RowStore(RowStore &&other) noexcept
    : m_columns(other.m_columns), m_rowCount(other.m_rowCount), m_places(std::move(other.m_places)),
      m_everyPlace(other.m_everyPlace), m_chunks(std::move(other.m_chunks)),
      m_chunkBytes(std::move(other.m_chunkBytes)), m_used(other.m_used), m_recordBytes(other.m_recordBytes),
      m_expectedRows(other.m_expectedRows), m_generation(++g_generations)
{
    other.clearRows();
}

RowStore &RowStore::operator=(RowStore &&other) noexcept
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_rowCount = other.m_rowCount;
        m_places = std::move(other.m_places);
        m_everyPlace = other.m_everyPlace;
        m_chunks = std::move(other.m_chunks);
        m_chunkBytes = std::move(other.m_chunkBytes);
        m_used = other.m_used;
        m_recordBytes = other.m_recordBytes;
        m_expectedRows = other.m_expectedRows;
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

void RowStore::unpack(const char *record, std::uint32_t *ends, const char *&text, std::uint32_t &bytes) const
{
    const size_t n = m_columns->size();
    const auto *p = reinterpret_cast<const unsigned char *>(record);
    ends[0] = 0;
    if ((p[0] & 0xFu) == kLongRow) {
        for (size_t c = 0; c < n; ++c)
            std::memcpy(&ends[c + 1], record + 1 + c * sizeof(std::uint32_t), sizeof(std::uint32_t));
        const size_t head = 1 + n * sizeof(std::uint32_t);
        text = record + head;
        bytes = std::uint32_t(head + (n ? ends[n] & ~kNullFlag : 0));
        return;
    }
    size_t i = 1;
    std::uint32_t end = 0;
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
        end += len;
        ends[c + 1] = end;
    }
    const size_t head = (i + 1) / 2;
    text = record + head;
    bytes = std::uint32_t(head + end);
}

std::uint32_t RowStore::recordBytes(Place p) const
{
    const char *record = m_chunks[p.chunk].get() + p.offset;
    if ((static_cast<unsigned char>(record[0]) & 0xFu) == kJump)
        return 0;
    Decoded scratch;
    const char *text = nullptr;
    std::uint32_t bytes = 0;
    if (m_columns->size() <= kDecodedColumns) {
        unpack(record, scratch.ends, text, bytes);
    } else {
        std::vector<std::uint32_t> ends(m_columns->size() + 1);
        unpack(record, ends.data(), text, bytes);
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
    unpack(m_chunks[p.chunk].get() + p.offset, d.ends, d.text, d.bytes);
    return d;
}

bool RowStore::readWide(size_t row, int column, std::string_view &out) const
{
    const Place p = placeOf(row);
    std::vector<std::uint32_t> ends(m_columns->size() + 1);
    const char *text = nullptr;
    std::uint32_t bytes = 0;
    unpack(m_chunks[p.chunk].get() + p.offset, ends.data(), text, bytes);
    const std::uint32_t end = ends[size_t(column) + 1];
    if (end & kNullFlag) {
        out = {};
        return false;
    }
    const std::uint32_t begin = ends[size_t(column)] & ~kNullFlag;
    out = std::string_view(text + begin, end - begin);
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
    const size_t n = m_columns->size();
    size_t total = 0;
    size_t codes = 1;
    bool isShort = true;
    for (size_t c = 0; c < n; ++c) {
        if (fields[c].size < 0 || fields[c].size > kLongestShort) {
            isShort = false;
        } else {
            codes += lengthCodes(fields[c].size);
        }
        if (fields[c].size > 0)
            total += size_t(fields[c].size);
    }
    if (total >= kNullFlag)
        throw tooLarge();
    const size_t head = isShort ? (codes + 1) / 2 : 1 + n * sizeof(std::uint32_t);
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
        std::uint64_t word = kShortRow;
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
            if (len > 0)
                std::memcpy(out + end, f.data, len);
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
    std::vector<Field> fields(m_columns->size());
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
