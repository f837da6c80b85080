#include "data/RowStore.h"

#include <cstring>

namespace talveros::data {

namespace {
std::uint32_t lengthAt(const std::string &packed, int column)
{
    std::uint32_t len;
    std::memcpy(&len, packed.data() + column * sizeof(std::uint32_t), sizeof len);
    return len;
}
} // namespace

void RowStore::setColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    for (auto &c : m_columns)
        c.folded = c.name.toLower();
    m_rows.clear();
}

int RowStore::columnIndex(QStringView name) const
{
    for (int i = 0; i < columnCount(); ++i) {
        if (QStringView(m_columns[size_t(i)].name).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RowStore::isNull(size_t row, int column) const
{
    return lengthAt(m_rows[row], column) == kNullLength;
}

std::string_view RowStore::value(size_t row, int column) const
{
    const std::string &packed = m_rows[row];
    size_t offset = size_t(columnCount()) * sizeof(std::uint32_t);
    for (int c = 0; c < column; ++c) {
        const std::uint32_t len = lengthAt(packed, c);
        if (len != kNullLength)
            offset += len;
    }
    const std::uint32_t len = lengthAt(packed, column);
    if (len == kNullLength)
        return {};
    return std::string_view(packed.data() + offset, len);
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

std::string RowStore::pack(const std::vector<SqlValue> &values)
{
    size_t total = values.size() * sizeof(std::uint32_t);
    for (const auto &v : values)
        total += v ? size_t(v->size()) : 0;
    std::string packed;
    packed.reserve(total);
    for (const auto &v : values) {
        const std::uint32_t len = v ? std::uint32_t(v->size()) : kNullLength;
        packed.append(reinterpret_cast<const char *>(&len), sizeof len);
    }
    for (const auto &v : values) {
        if (v)
            packed.append(v->constData(), size_t(v->size()));
    }
    return packed;
}

void RowStore::appendRow(const std::vector<SqlValue> &values)
{
    m_rows.push_back(pack(values));
}

void RowStore::replaceRow(size_t row, const std::vector<SqlValue> &values)
{
    m_rows[row] = pack(values);
}

void RowStore::removeRow(size_t row)
{
    m_rows.erase(m_rows.begin() + std::ptrdiff_t(row));
}

} // namespace talveros::data
