#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace talveros::data {

// One value as it travels to and from the server: UTF-8 text, or NULL.
using SqlValue = std::optional<QByteArray>;

// The program's own copy of a result: column names and rows, the values kept as the
// UTF-8 bytes the server sent and turned into text only when read. Each row is one
// packed record in large shared chunks: a row without NULLs whose text fits in 255
// bytes (nearly every row of this network's tables) carries one byte per column
// saying where its value ends, any other row four; so a table takes little more
// memory than its text and no allocation a row.
class RowStore {
public:
    struct Column {
        QString name;
        bool autoIncrement = false;
    };
    // A value as the fetch loop hands it over: `size` bytes at `data`, or NULL when
    // `size` is negative.
    struct Field {
        const char *data = nullptr;
        std::int64_t size = -1;
    };

    RowStore() = default;
    // The moved-from store keeps its columns and is left without rows, ready to be
    // filled again; nothing of it refers to the memory it gave away.
    RowStore(RowStore &&other) noexcept;
    RowStore &operator=(RowStore &&other) noexcept;
    RowStore(const RowStore &) = delete;
    RowStore &operator=(const RowStore &) = delete;
    ~RowStore() = default;

    void setColumns(std::vector<Column> columns);
    const std::vector<Column> &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Columns are found without regard to letter case; -1 when there is no such column.
    int columnIndex(QStringView name) const;

    size_t rowCount() const { return m_rows.size(); }
    bool isNull(size_t row, int column) const
    {
        std::string_view v;
        return !read(row, column, v);
    }
    // Empty for NULL.
    std::string_view value(size_t row, int column) const
    {
        std::string_view v;
        read(row, column, v);
        return v;
    }
    // The value's bytes in `out`; false, and `out` empty, for NULL. Every field read of
    // a walk comes through here, so it is kept small enough to inline.
    bool read(size_t row, int column, std::string_view &out) const
    {
        const char *r = record(row);
        const size_t n = m_columns.size();
        if (r[0] == kSmallRow) {
            const auto *ends = reinterpret_cast<const unsigned char *>(r + 1);
            const size_t begin = column > 0 ? ends[column - 1] : 0;
            out = std::string_view(r + 1 + n + begin, ends[column] - begin);
            return true;
        }
        return readLarge(r, column, out);
    }
    QString text(size_t row, int column) const;
    std::vector<SqlValue> row(size_t row) const;

    void reserve(size_t rows) { m_rows.reserve(rows); }
    void appendRow(const std::vector<SqlValue> &values);
    // One Field per column, copied at once; the fetch loop's way in.
    void appendRow(const Field *fields);
    void replaceRow(size_t row, const std::vector<SqlValue> &values);
    void removeRow(size_t row);
    // Drops every row and keeps the columns.
    void clearRows();

private:
    // Where a row's record starts: chunk number in the high bits, offset in the low.
    using RowRef = std::uint32_t;
    static constexpr int kOffsetBits = 21;
    static constexpr size_t kChunkBytes = size_t(1) << kOffsetBits;
    // The first byte of a record says how its ends are written: one byte per column for
    // a row without NULLs and at most 255 bytes of text, else four with the high bit
    // marking NULL.
    static constexpr char kSmallRow = 0;
    static constexpr char kLargeRow = 1;

    const char *record(size_t row) const
    {
        const RowRef ref = m_rows[row];
        return m_chunks[ref >> kOffsetBits].get() + (ref & (kChunkBytes - 1));
    }
    bool readLarge(const char *record, int column, std::string_view &out) const;
    RowRef pack(const Field *fields);
    std::vector<Field> fieldsOf(const std::vector<SqlValue> &values) const;

    std::vector<Column> m_columns;
    std::vector<RowRef> m_rows;
    struct FreeChunk { void operator()(char *p) const { std::free(p); } };
    std::vector<std::unique_ptr<char, FreeChunk>> m_chunks;
    size_t m_current = 0; // the chunk being filled
    size_t m_used = kChunkBytes;
};

} // namespace talveros::data
