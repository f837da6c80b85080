#pragma once

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowStore.h"

#include <QString>

#include <vector>

namespace talveros::data {

DbError noCurrentRow();
DbError unknownColumn(QStringView column);
DbError nullValue(QStringView column);

// Which rows of a table a record set holds: all of them, only those that meet a
// parameterised condition, or none (for an action that only adds). The condition is
// the program's own SQL; every value in it is a parameter.
struct Rows {
    QByteArray where;
    std::vector<SqlValue> params;
    bool none = false;

    static Rows all() { return {}; }
    static Rows matching(QByteArray where, std::vector<SqlValue> params) { return {std::move(where), std::move(params)}; }
    static Rows noneYet() { return {{}, {}, true}; }
};

// A record set over a table ("select * from " + table, or the rows of `rows`), walked
// in the order the server returns the rows, with the add / set / update / delete
// operations of the current row that every action is built from.
class RecordSet {
public:
    RecordSet(Connection &conn, const QString &table, const Rows &rows = Rows::all());
    ~RecordSet();
    RecordSet(const RecordSet &) = delete;
    RecordSet &operator=(const RecordSet &) = delete;

    bool eof() const { return m_adding ? false : m_pos >= m_rows.rowCount(); }
    void moveFirst();
    void moveNext();
    size_t rowCount() const { return m_rows.rowCount(); }

    // The current row's value as text; a NULL value is a data error. Every walk over a
    // whole table calls this for every value: the current row is taken apart once, and
    // a caller holding the column's own name (a shared copy) for the column after the
    // one read last needs neither a comparison nor a search.
    QString field(QStringView column) const
    {
        if (hasCursor()) [[likely]] {
            const int next = m_lastColumn + 1 == int(m_names.size()) ? 0 : m_lastColumn + 1;
            const QStringView name = m_names[size_t(next)];
            const RowStore::Value &at = m_cursor[size_t(next)];
            if (name.data() == column.data() && name.size() == column.size() && !(at.length & RowStore::kNullLength))
                [[likely]] {
                m_lastColumn = next;
                return QString::fromUtf8(QByteArrayView(at.data, qsizetype(at.length)));
            }
        }
        return fieldSlow(column);
    }
    // The same, with NULL read as an empty text, for columns whose absence is harmless.
    QString fieldOrEmpty(QStringView column) const;
    bool isNull(QStringView column) const;

    void addNew();
    void setField(QStringView column, const QString &value);
    // Stores the pending changes of the current row; without changes it does nothing.
    void update();
    void deleteCurrent();
    bool hasPendingChanges() const;

    // Drops what was never stored; the connection stays the caller's to close.
    void close();

    const RowStore &rows() const { return m_rows; }
    // Throws DbError for an unknown column. Walks read the same columns row after row,
    // mostly in table order, so the column after the last one found is tried first.
    int columnIndex(QStringView column) const
    {
        if (!m_names.empty()) {
            const int next = m_lastColumn + 1 == int(m_names.size()) ? 0 : m_lastColumn + 1;
            const QStringView name = m_names[size_t(next)];
            // A caller holding the column's own name (a shared copy) needs no comparison.
            if ((name.data() == column.data() && name.size() == column.size()) || name == column)
                return m_lastColumn = next;
        }
        return findColumn(column);
    }

private:
    void requireCurrent() const
    {
        if (!m_open || eof())
            throw noCurrentRow();
    }
    // The value waiting to be stored for this column of the current row, if any.
    const SqlValue *pendingValue(int column) const
    {
        if (m_pending.empty() || !(m_adding || m_changed[size_t(column)]))
            return nullptr;
        return &m_pending[size_t(column)];
    }
    void resetPending();
    QString fieldSlow(QStringView column) const;
    // The current row's values, taken apart once for a walk that reads them one by one.
    // Valid only while m_cursorRow is the position: dropped whenever the rows, the
    // position's row or a pending change could differ from what it shows.
    bool hasCursor() const { return m_cursorRow == m_pos; }
    void dropCursor() { m_cursorRow = kNoRow; }
    void takeCursor() const;
    static constexpr size_t kNoRow = ~size_t(0);

    Connection *m_conn;
    QString m_table;
    RowStore m_rows;
    size_t m_pos = 0;
    bool m_adding = false;
    bool m_open = true;
    std::vector<SqlValue> m_pending;
    std::vector<bool> m_changed;
    int findColumn(QStringView column) const;

    mutable int m_lastColumn = -1;
    // The column names as the store keeps them: it shares its column list and never
    // changes it.
    std::vector<QStringView> m_names;
    mutable size_t m_cursorRow = kNoRow;
    mutable std::vector<RowStore::Value> m_cursor;
    mutable RowStore::Walk m_walk;
};

} // namespace talveros::data
