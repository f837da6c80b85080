#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talveros::data {

// One value as it travels to and from the server: UTF-8 text, or NULL.
using SqlValue = std::optional<QByteArray>;

// The program's own copy of a result: column names and rows, each row one packed
// block (a length per column, then the UTF-8 bytes), so years of data stay small.
class RowStore {
public:
    struct Column {
        QString name;
        QString folded; // lower case: columns are found without regard to letter case
        bool autoIncrement = false;
    };

    void setColumns(std::vector<Column> columns);
    const std::vector<Column> &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // -1 when the table has no such column.
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
    // Used by the fetch loop: the packed block built straight from the bound buffers.
    void appendPacked(std::string &&packed) { m_rows.push_back(std::move(packed)); }

    static constexpr std::uint32_t kNullLength = 0xFFFFFFFFu;
    static std::string pack(const std::vector<SqlValue> &values);

private:
    std::vector<Column> m_columns;
    std::vector<std::string> m_rows;
};

} // namespace talveros::data
