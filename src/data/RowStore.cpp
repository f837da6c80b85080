#include "data/RowStore.h"

#include "data/DbError.h"

#include <algorithm>
#include <cstring>

#include <sys/mman.h>

namespace talveros::data {

namespace {
constexpr std::uint32_t kNullFlag = 0x80000000u;
constexpr size_t kMaxChunks = size_t(1) << 11;
constexpr size_t kSmallStoreChunks = 1; // what the chunk bits of a row reference allow

std::uint32_t largeEntry(const char *record, int column)
{
    std::uint32_t e;
    std::memcpy(&e, record + 1 + size_t(column) * sizeof e, sizeof e);
    return e;
}

DbError tooLarge()
{
    return DbError(QStringLiteral("HY001"), 0,
                   QStringLiteral("Het resultaat is te groot om in het geheugen te houden."));
}
} // namespace

RowStore::RowStore(RowStore &&other) noexcept
    : m_columns(other.m_columns), m_rows(std::move(other.m_rows)), m_chunks(std::move(other.m_chunks)),
      m_current(other.m_current), m_used(other.m_used)
{
    other.clearRows();
}

RowStore &RowStore::operator=(RowStore &&other) noexcept
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_rows = std::move(other.m_rows);
        m_chunks = std::move(other.m_chunks);
        m_current = other.m_current;
        m_used = other.m_used;
        other.clearRows();
    }
    return *this;
}

void RowStore::setColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    clearRows();
}

void RowStore::clearRows()
{
    m_rows.clear();
    m_chunks.clear();
    m_current = 0;
    m_used = kChunkBytes;
}

int RowStore::columnIndex(QStringView name) const
{
    // Every field read looks its column up, so the name as the table spells it is
    // found without folding letter case; folding keeps a name's length.
    for (int i = 0; i < columnCount(); ++i) {
        if (QStringView(m_columns[size_t(i)].name) == name)
            return i;
    }
    for (int i = 0; i < columnCount(); ++i) {
        const QString &candidate = m_columns[size_t(i)].name;
        if (candidate.size() == name.size() && QStringView(candidate).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RowStore::readLarge(const char *r, int column, std::string_view &out) const
{
    const std::uint32_t e = largeEntry(r, column);
    if (e & kNullFlag) {
        out = {};
        return false;
    }
    const std::uint32_t begin = column > 0 ? largeEntry(r, column - 1) & ~kNullFlag : 0;
    out = std::string_view(r + 1 + m_columns.size() * sizeof e + begin, e - begin);
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
        if (isNull(row, c)) {
            values.emplace_back(std::nullopt);
        } else {
            const std::string_view v = value(row, c);
            values.emplace_back(QByteArray(v.data(), qsizetype(v.size())));
        }
    }
    return values;
}

RowStore::RowRef RowStore::pack(const Field *fields)
{
    const size_t n = m_columns.size();
    size_t total = 0;
    bool small = n <= 255;
    for (size_t c = 0; c < n; ++c) {
        if (fields[c].size < 0)
            small = false;
        else
            total += size_t(fields[c].size);
    }
    if (total > 255)
        small = false;
    if (total >= kNullFlag)
        throw tooLarge();
    const size_t bytes = 1 + n * (small ? 1 : sizeof(std::uint32_t)) + total;

    size_t chunk = m_current;
    size_t offset = m_used;
    if (bytes > kChunkBytes - m_used) {
        if (m_chunks.size() >= kMaxChunks)
            throw tooLarge();
        // Not value-initialised: every byte of a record is written before it is read.
        const size_t size = (std::max(bytes, kChunkBytes) + kChunkBytes - 1) & ~(kChunkBytes - 1);
        char *p = static_cast<char *>(std::aligned_alloc(kChunkBytes, size));
        if (!p)
            throw tooLarge();
        // A large result is faulted in two megabytes at a time instead of four kilobytes;
        // a small one would only pay for zeroing the unused rest of a huge page.
        if (m_chunks.size() >= kSmallStoreChunks)
            madvise(p, size, MADV_HUGEPAGE);
        m_chunks.emplace_back(p);
        chunk = m_chunks.size() - 1;
        offset = 0;
        // A record larger than a chunk has one of its own; the chunk being filled
        // goes on being filled.
        if (bytes <= kChunkBytes) {
            m_current = chunk;
            m_used = bytes;
        }
    } else {
        m_used += bytes;
    }
    char *r = m_chunks[chunk].get() + offset;

    char *out = r + 1 + n * (small ? 1 : sizeof(std::uint32_t));
    std::uint32_t end = 0;
    r[0] = small ? kSmallRow : kLargeRow;
    for (size_t c = 0; c < n; ++c) {
        const Field &f = fields[c];
        if (f.size > 0) {
            std::memcpy(out + end, f.data, size_t(f.size));
            end += std::uint32_t(f.size);
        }
        if (small) {
            r[1 + c] = char(static_cast<unsigned char>(end));
        } else {
            const std::uint32_t e = f.size < 0 ? (end | kNullFlag) : end;
            std::memcpy(r + 1 + c * sizeof e, &e, sizeof e);
        }
    }
    return RowRef((chunk << kOffsetBits) | offset);
}

std::vector<RowStore::Field> RowStore::fieldsOf(const std::vector<SqlValue> &values) const
{
    std::vector<Field> fields(m_columns.size());
    for (size_t c = 0; c < fields.size() && c < values.size(); ++c) {
        if (values[c])
            fields[c] = Field{values[c]->constData(), values[c]->size()};
    }
    return fields;
}

void RowStore::appendRow(const Field *fields)
{
    m_rows.push_back(pack(fields));
}

void RowStore::appendRow(const std::vector<SqlValue> &values)
{
    m_rows.push_back(pack(fieldsOf(values).data()));
}

void RowStore::replaceRow(size_t row, const std::vector<SqlValue> &values)
{
    // The old bytes stay in their chunk until the store is re-read; edits are few.
    m_rows[row] = pack(fieldsOf(values).data());
}

void RowStore::removeRow(size_t row)
{
    m_rows.erase(m_rows.begin() + std::ptrdiff_t(row));
}

} // namespace talveros::data
