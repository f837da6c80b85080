#include "data/RecordSet.h"

#include "data/DbError.h"
#include "data/RowWriter.h"

#include <algorithm>

namespace talveros::data {

DbError noCurrentRow()
{
    return DbError(QStringLiteral("HY109"), 0,
                   QStringLiteral("Er is geen huidige rij: het begin of het einde van de gegevens is bereikt."));
}

DbError nullValue(QStringView column)
{
    return DbError(QStringLiteral("22002"), 0,
                   QStringLiteral("De kolom '%1' heeft geen waarde (NULL).").arg(column.toString()));
}

DbError unknownColumn(QStringView column)
{
    return DbError(QStringLiteral("42S22"), 0,
                   QStringLiteral("De kolom '%1' bestaat niet in deze tabel.").arg(column.toString()));
}

namespace {
QByteArray selectFor(const QString &table, const Rows &rows)
{
    QByteArray sql = "select * from " + rowwriter::quotedName(table);
    if (rows.none)
        return sql + " limit 0";
    if (!rows.where.isEmpty())
        sql += " where " + rows.where;
    return sql;
}
} // namespace

RecordSet::RecordSet(Connection &conn, const QString &table, const Rows &rows)
    : m_conn(&conn), m_table(table), m_rows(conn.query(selectFor(table, rows), rows.params))
{
    for (const RowStore::Column &column : m_rows.columns())
        m_names.emplace_back(column.name);
    m_cursor.resize(m_names.size());
}

RecordSet::~RecordSet() = default;

void RecordSet::resetPending()
{
    dropCursor();
    m_adding = false;
    m_pending.clear();
    m_changed.clear();
}

void RecordSet::moveFirst()
{
    update();
    m_pos = 0;
}

void RecordSet::moveNext()
{
    requireCurrent();
    update();
    ++m_pos;
}

int RecordSet::findColumn(QStringView column) const
{
    const int index = m_rows.columnIndex(column);
    if (index < 0)
        throw unknownColumn(column);
    m_lastColumn = index;
    return index;
}

bool RecordSet::isNull(QStringView column) const
{
    requireCurrent();
    const int c = columnIndex(column);
    const SqlValue *pending = pendingValue(c);
    return pending ? !pending->has_value() : m_rows.isNull(m_pos, c);
}

QString RecordSet::fieldOrEmpty(QStringView column) const
{
    requireCurrent();
    const int c = columnIndex(column);
    if (const SqlValue *pending = pendingValue(c))
        return *pending ? QString::fromUtf8(**pending) : QString();
    return m_rows.text(m_pos, c);
}

void RecordSet::takeCursor() const
{
    m_rows.readRow(m_pos, m_cursor.data(), m_walk);
    m_cursorRow = m_pos;
}

QString RecordSet::fieldSlow(QStringView column) const
{
    requireCurrent();
    const int c = columnIndex(column);
    if (m_pending.empty() && !m_adding) {
        if (!hasCursor())
            takeCursor();
        const RowStore::Value &at = m_cursor[size_t(c)];
        if (at.length & RowStore::kNullLength)
            throw nullValue(column);
        return QString::fromUtf8(QByteArrayView(at.data, qsizetype(at.length)));
    }
    const SqlValue *pending = pendingValue(c);
    if (pending ? !pending->has_value() : m_rows.isNull(m_pos, c))
        throw nullValue(column);
    return pending ? QString::fromUtf8(**pending) : m_rows.text(m_pos, c);
}

bool RecordSet::hasPendingChanges() const
{
    return m_adding || std::find(m_changed.begin(), m_changed.end(), true) != m_changed.end();
}

void RecordSet::addNew()
{
    update();
    dropCursor();
    m_adding = true;
    m_pending.assign(size_t(m_rows.columnCount()), std::nullopt);
    m_changed.assign(size_t(m_rows.columnCount()), false);
}

void RecordSet::setField(QStringView column, const QString &value)
{
    requireCurrent();
    const int c = columnIndex(column);
    dropCursor();
    if (m_pending.empty()) {
        m_pending = m_rows.row(m_pos);
        m_changed.assign(size_t(m_rows.columnCount()), false);
    }
    m_pending[size_t(c)] = value.toUtf8();
    m_changed[size_t(c)] = true;
}

void RecordSet::update()
{
    if (m_pending.empty() && !m_adding)
        return;
    if (!hasPendingChanges()) {
        if (!m_adding)
            resetPending();
        return;
    }
    if (m_adding) {
        const auto stored = rowwriter::insert(*m_conn, m_table, m_rows, m_pending, m_changed);
        m_rows.appendRow(stored);
        m_pos = m_rows.rowCount() - 1;
    } else {
        m_rows.replaceRow(m_pos, rowwriter::update(*m_conn, m_table, m_rows, m_rows.row(m_pos), m_pending, m_changed));
    }
    resetPending();
}

void RecordSet::deleteCurrent()
{
    requireCurrent();
    if (m_adding) {
        resetPending();
        return;
    }
    rowwriter::remove(*m_conn, m_table, m_rows, m_rows.row(m_pos));
    m_rows.removeRow(m_pos);
    resetPending();
}

void RecordSet::close()
{
    resetPending();
    m_open = false;
}

} // namespace talveros::data
