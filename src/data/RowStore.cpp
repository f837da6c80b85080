#include "data/RowStore.h"

#include "data/DbError.h"

#include <algorithm>
#include <cstring>

namespace talveros::data {

namespace {
constexpr size_t kChunkBytes = 1024 * 1024;

std::uint32_t entry(const char *packed, int column)
{
    std::uint32_t e;
    std::memcpy(&e, packed + size_t(column) * sizeof e, sizeof e);
    return e;
}
std::uint32_t endOf(const char *packed, int column)
{
    return column < 0 ? 0 : entry(packed, column) & ~RowStore::kNullFlag;
}
} // namespace

void RowStore::setColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    m_rows.clear();
    m_chunks.clear();
    m_chunkFree = 0;
    m_chunkNext = nullptr;
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

bool RowStore::isNull(size_t row, int column) const
{
    return (entry(m_rows[row], column) & kNullFlag) != 0;
}

std::string_view RowStore::value(size_t row, int column) const
{
    const char *packed = m_rows[row];
    if (isNull(row, column))
        return {};
    const std::uint32_t begin = endOf(packed, column - 1);
    const std::uint32_t end = endOf(packed, column);
    return std::string_view(packed + headerBytes(columnCount()) + begin, end - begin);
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

char *RowStore::allocate(size_t bytes)
{
    if (bytes > m_chunkFree) {
        // A row larger than a chunk gets a chunk of its own.
        const size_t size = std::max(bytes, kChunkBytes);
        m_chunks.push_back(std::make_unique<char[]>(size));
        m_chunkNext = m_chunks.back().get();
        m_chunkFree = size;
    }
    char *p = m_chunkNext;
    m_chunkNext += bytes;
    m_chunkFree -= bytes;
    return p;
}

char *RowStore::pack(const std::vector<SqlValue> &values)
{
    size_t total = 0;
    for (const auto &v : values)
        total += v ? size_t(v->size()) : 0;
    if (total >= kNullFlag)
        throw DbError(QStringLiteral("HY001"), 0, QStringLiteral("Een rij is te groot om in het geheugen te houden."));
    const size_t header = headerBytes(int(values.size()));
    char *packed = allocate(header + total);
    std::uint32_t end = 0;
    char *bytes = packed + header;
    for (size_t c = 0; c < values.size(); ++c) {
        std::uint32_t e = end | kNullFlag;
        if (const SqlValue &v = values[c]) {
            std::memcpy(bytes + end, v->constData(), size_t(v->size()));
            end += std::uint32_t(v->size());
            e = end;
        }
        std::memcpy(packed + c * sizeof e, &e, sizeof e);
    }
    return packed;
}

char *RowStore::appendPacked(size_t bytes)
{
    char *packed = allocate(bytes);
    m_rows.push_back(packed);
    return packed;
}

void RowStore::appendRow(const std::vector<SqlValue> &values)
{
    m_rows.push_back(pack(values));
}

void RowStore::replaceRow(size_t row, const std::vector<SqlValue> &values)
{
    // The old bytes stay in their chunk until the store is re-read; edits are few.
    m_rows[row] = pack(values);
}

void RowStore::removeRow(size_t row)
{
    m_rows.erase(m_rows.begin() + std::ptrdiff_t(row));
}

} // namespace talveros::data
