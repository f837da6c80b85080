#pragma once

#include "data/ChunkArena.h"
#include "data/RecordCodec.h"
#include "data/RepeatedValues.h"

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

// The program's own copy of a result: column names and rows, the values kept as the
// UTF-8 bytes the server sent and turned into text only when read. Each row is one
// record (RecordCodec.h: nearly every row says each value's length in a byte, and a
// value repeating one stored before is kept once, RepeatedValues.h), laid after the one
// before in large shared chunks (ChunkArena.h), so a table takes little more memory than
// its text and no allocation a row. Only every 16th row's place is kept; the rows
// between are found by stepping from it, and a walk steps once a row.
class RowStore {
public:
    struct Column {
        QString name;
        bool autoIncrement = false;
    };
    // A value as the fetch loop hands it over: `size` bytes at `data`, or NULL when
    // `size` is negative.
    using Field = record::Field;
    // A stored value as a row taken apart shows it: `length` bytes at `data`, or NULL
    // when `length` has kNullLength set.
    static constexpr std::uint32_t kNullLength = record::kNullLength;
    using Value = record::Value;

    RowStore();
    // The moved-from store keeps its columns (shared, never copied: a move allocates
    // nothing) and is left without rows, ready to be filled again; nothing of it refers
    // to the memory it gave away.
    RowStore(RowStore &&other) noexcept;
    RowStore &operator=(RowStore &&other) noexcept;
    RowStore(const RowStore &) = delete;
    RowStore &operator=(const RowStore &) = delete;
    ~RowStore();

    void setColumns(std::vector<Column> columns);
    const std::vector<Column> &columns() const { return *m_columns; }
    int columnCount() const { return int(m_columnCount); }
    // Columns are found without regard to letter case; -1 when there is no such column.
    int columnIndex(QStringView name) const;

    size_t rowCount() const { return m_rowCount; }
    bool isNull(size_t row, int column) const
    {
        std::string_view v;
        return !read(row, column, v);
    }
    // Whether the value is exactly these bytes; a NULL equals nothing.
    bool equals(size_t row, int column, std::string_view bytes) const
    {
        std::string_view v;
        return read(row, column, v) && v == bytes;
    }
    // value() and read() hand out views into the store's memory. They stay valid while
    // the store lives and is neither cleared, given new columns nor assigned to: adding,
    // replacing and removing rows never moves a row already stored. A store that is a
    // temporary hands out none, since nothing could keep it alive for the view; its
    // owners hand out owning values (text(), row()), and a refresh replaces the store.
    // Empty for NULL.
    std::string_view value(size_t row, int column) const &
    {
        std::string_view v;
        read(row, column, v);
        return v;
    }
    std::string_view value(size_t row, int column) const && = delete;
    // The value's bytes in `out`; false, and `out` empty, for NULL. Every field read of
    // a walk comes through here: a row is decoded once, and the fields read after it
    // from the same thread cost a comparison and two loads.
    bool read(size_t row, int column, std::string_view &out) const &
    {
        if (m_columnCount > kDecodedColumns)
            return readWide(row, column, out);
        const Value &v = decoded(row).values[size_t(column)];
        if (v.length & kNullLength) {
            out = {};
            return false;
        }
        out = std::string_view(v.data, v.length);
        return true;
    }
    bool read(size_t row, int column, std::string_view &out) const && = delete;
    // Every value of a row at once, for a reader that takes many of them: views as
    // value() hands out. `walk` is where the reader read last (from this store or any
    // other, or nowhere), so that the row after it is one step away.
    class Walk;
    void readRow(size_t row, Value *values, Walk &walk) const &;
    void readRow(size_t row, Value *values, Walk &walk) const && = delete;
    QString text(size_t row, int column) const;
    std::vector<SqlValue> row(size_t row) const;

    void reserve(size_t rows);
    void appendRow(const std::vector<SqlValue> &values);
    // One Field per column, copied at once.
    void appendRow(const Field *fields);

    // Rows as a block fetch leaves them, column by column: the value of row r in column c
    // is lengths[c][r] bytes at data[c] + r * widths[c], NULL when the length is negative.
    // Every column's buffer reaches kBlockSlack bytes past its last row: values are
    // copied in whole words, which may read, never use, a few bytes beyond them.
    struct Block {
        const char *const *data = nullptr;
        const size_t *widths = nullptr;
        const std::int64_t *const *lengths = nullptr;
        size_t rows = 0;
    };
    static constexpr size_t kBlockSlack = record::kSlack;
    // Every row of a block, copied straight from the fetch buffers; the fetch loop's way
    // in. False, and nothing stored, when a length says that a value did not fit its
    // buffer (or is not known).
    [[nodiscard]] bool appendBlock(const Block &block);
    void replaceRow(size_t row, const std::vector<SqlValue> &values);
    void removeRow(size_t row);
    // Drops every row and keeps the columns.
    void clearRows();

private:
    static constexpr size_t kGroupRows = 16;
    // Wider rows are read value by value without being kept taken apart.
    static constexpr size_t kDecodedColumns = 127;
    using Place = ChunkArena::Place;

public:
    class Walk {
        friend class RowStore;
        const RowStore *store = nullptr;
        std::uint64_t generation = 0;
        size_t row = 0;
        Place place;
        std::uint32_t bytes = 0;
    };

private:
    // One row taken apart: where each value's bytes are (a value stored with an earlier
    // row lies elsewhere) and how long it is, NULL marked by the high bit.
    // A walk of the calling thread's own, with the values of the row it read last.
    struct Decoded : Walk {
        Value values[kDecodedColumns] = {};
    };

    const Decoded &decoded(size_t row) const
    {
        const Decoded &d = t_decoded;
        if (d.store == this && d.row == row && d.generation == m_generation)
            return d;
        return decode(row);
    }
    const Decoded &decode(size_t row) const;
    bool readWide(size_t row, int column, std::string_view &out) const;
    void unpack(const char *encoded, Value *values) const;

    // Where each row's record is.
    Place placeOf(size_t row) const;
    void keepEveryPlace();
    void placed(Place p);

    // A row's values made a record in the arena, as short a one as the row allows.
    // `words`: every value may be read in whole 32-byte words (Block).
    template <bool words>
    Place pack(const Field *fields, record::Measure measured);
    template <bool words>
    Place packShort(const Field *fields, size_t bytes, const RepeatedValues::Found &repeats);
    Place packLong(const Field *fields);

    std::vector<Field> fieldsOf(const std::vector<SqlValue> &values) const;
    void changed();

    // Rows are read from several threads at once (each side of an overview reads the
    // same rows), so the row taken apart last is kept per thread, for the store and
    // the version of it that it was taken from.
    static constinit thread_local Decoded t_decoded;

    std::shared_ptr<const std::vector<Column>> m_columns;
    size_t m_columnCount = 0;
    size_t m_rowCount = 0;
    // Every 16th row's place while rows have only been appended; every row's place once
    // one was replaced or removed, since the records no longer follow the row order.
    std::vector<Place> m_places;
    bool m_everyPlace = false;
    size_t m_expectedRows = 0;
    ChunkArena m_arena;
    RepeatedValues m_repeats;

    std::uint64_t m_generation = 0;
};

} // namespace talveros::data
