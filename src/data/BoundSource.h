#pragma once

#include "data/DbError.h"
#include "data/RowStore.h"

#include <functional>

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace talveros::data {

class StartedReads;

// A data source of the main window: all rows of one table of the main database held
// in memory with a current row that bound boxes show. It is re-read through a fresh
// connection on refresh; edits of bound boxes wait as pending edits of the current row
// (any number of its columns) and are written together, with the optimistic check,
// before the source leaves the row.
class BoundSource : public QObject {
    Q_OBJECT
public:
    BoundSource(const QString &objectName, const QString &table, bool writable, QObject *parent = nullptr);

    const QString &table() const { return m_table; }
    bool isWritable() const { return m_writable; }

    // Re-reads the table and positions on the first row.
    void refresh();
    // Re-reads several sources at once, each over a connection of its own, so that the
    // server and the driver work on them side by side.
    static void refreshTogether(const std::vector<BoundSource *> &sources);
    // The same, running `meanwhile` on the calling thread while the reads are under way.
    // A failure of `meanwhile` wins, and then no source changes, as if it had run first.
    static void refreshTogether(const std::vector<BoundSource *> &sources, const std::function<void()> &meanwhile);

    // Whole tables read side by side from now on, ahead of the sources that will take
    // them: a window starts its tables' reads before it builds itself.
    static std::shared_ptr<StartedReads> startReading(std::vector<QString> tables);
    // refreshTogether with the reads already started, for the sources' own tables in the
    // same order. The sources are not to have pending edits the reads would pass by.
    static void refreshTogether(const std::vector<BoundSource *> &sources, std::shared_ptr<StartedReads> started,
                                const std::function<void()> &meanwhile);
    bool eof() const { return m_pos >= m_rows.rowCount(); }
    void moveFirst();
    void moveNext();
    // Moves to the first row whose value is byte for byte `value`, past the last row
    // (and false) when none is.
    bool findWhere(QStringView column, const QString &value);
    // The first row whose value is byte for byte `value`, rowCount() when none is,
    // without moving, writing a pending edit or repainting a box: for looking a value up
    // in another table while the panes stay where they are.
    size_t rowWhere(QStringView column, const QString &value) const;
    size_t rowCount() const { return m_rows.rowCount(); }
    size_t position() const { return m_pos; }

    // The current row's value; empty past the last row or for NULL.
    QString field(QStringView column) const;
    // Any row's value without moving there, for filling lists from all rows at once;
    // the column is looked up once with columnIndex, which throws for an unknown one.
    int columnIndex(QStringView column) const;
    QString fieldAt(size_t row, int column) const;
    // These columns (by columnIndex) of every row, as fieldAt gives them, in a store of
    // their own: for a list that must still give what it showed after the source is read
    // again, at the cost of the bytes, not of a text per value.
    RowStore copyOfColumns(const std::vector<int> &columns) const;
    // Whether a row's value was NULL when the source was last read.
    bool isNullAt(size_t row, int column) const { return row < m_rows.rowCount() && m_rows.isNull(row, column); }
    bool hasColumn(QStringView column) const { return m_rows.columnIndex(column) >= 0; }

    // Edits a column of the current row; edits of other columns stay pending beside it.
    void setPendingEdit(QStringView column, const QString &value);
    // An edit of the current row made by the program rather than typed: it waits like a
    // typed one, and the boxes bound to the column show it.
    void editCurrent(QStringView column, const QString &value);
    bool hasPendingEdit() const { return !m_pending.empty(); }
    bool hasPendingEdit(QStringView column) const;
    // The current row's value as the server last gave it, pending edits left out: what
    // a box shows once the administrator is told that an edit was refused.
    QString storedField(QStringView column) const;
    // Writes the pending edits to the current row in one update and takes in the row as
    // the server then holds it. A failure throws DbError and leaves the edits as the
    // kind of failure allows:
    // - changed elsewhere: the row is re-read and shown as stored, and the edits are
    //   dropped (the error quotes them), so another workstation's value is never written
    //   over unseen; a row that now holds the edits' values counts as stored;
    // - server unreachable: the edits stay; when the reply of the write was lost, the row
    //   is re-read to learn whether the write took;
    // - refused data: the edits stay and the error names the column.
    void flushPendingEdit();
    // Forgets the pending edits, for when the administrator chose to let them go.
    void discardPendingEdit() { m_pending.clear(); }
    void close();

signals:
    void currentChanged();
    // A column of the current row (by its index) was given a new value by editCurrent.
    void edited(int column);

private:
    void setPosition(size_t pos);
    size_t firstRowHolding(int column, const QString &value) const;
    QString pendingEditsText() const;
    QString notStoredKept(const DbError &e) const;
    void settleFailedWrite(const DbError &e, const std::vector<SqlValue> &original,
                           const std::vector<SqlValue> &values, const std::vector<bool> &changed);

    QString m_table;
    bool m_writable;
    // The session of a write of the pending edits whose reply never came and which could
    // not be ended on the server: it may still store them, so it is ended before they are
    // written again or anything is concluded from the row.
    std::optional<SessionRef> m_stillRunning;
    RowStore m_rows;
    size_t m_pos = 0;
    // Column and value of each pending edit of the current row, in the order made.
    std::vector<std::pair<int, QString>> m_pending;
};

} // namespace talveros::data
