#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace talveros::data {

// One value as it travels to and from the server: UTF-8 text, or NULL.
using SqlValue = std::optional<QByteArray>;

// The program's own copy of a result: column names and rows. Each row is one packed
// block in large shared chunks (an end offset per column, then the UTF-8 bytes), so
// years of data take little more memory than their text and no allocation a row.
class RowStore {
public:
    struct Column {
        QString name;
        bool autoIncrement = false;
    };

    RowStore() = default;
    RowStore(RowStore &&) noexcept = default;
    RowStore &operator=(RowStore &&) noexcept = default;

    void setColumns(std::vector<Column> columns);
    const std::vector<Column> &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Columns are found without regard to letter case; -1 when there is no such column.
    int columnIndex(QStringView name) const;

    size_t rowCount() const { return m_rows.size(); }
    bool isNull(size_t row, int column) const;
    std::string_view value(size_t row, int column) const;
    QString text(size_t row, int column) const;
    std::vector<SqlValue> row(size_t row) const;

    void reserve(size_t rows) { m_rows.reserve(rows); }
    void appendRow(const std::vector<SqlValue> &values);
    void replaceRow(size_t row, const std::vector<SqlValue> &values);
    void removeRow(size_t row);

    // For the fetch loop, which packs rows straight from its bound buffers: room for a
    // packed row of `bytes` bytes (header included) at the end of the store.
    char *appendPacked(size_t bytes);
    static size_t headerBytes(int columns) { return size_t(columns) * sizeof(std::uint32_t); }
    // Header entry of a column: where its bytes end, or kNullFlag for NULL.
    static constexpr std::uint32_t kNullFlag = 0x80000000u;

private:
    char *allocate(size_t bytes);
    char *pack(const std::vector<SqlValue> &values);

    std::vector<Column> m_columns;
    std::vector<const char *> m_rows;
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_chunkFree = 0;
    char *m_chunkNext = nullptr;
};

} // namespace talveros::data
