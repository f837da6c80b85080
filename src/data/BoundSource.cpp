#include "data/BoundSource.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RecordSet.h"
#include "data/RowWriter.h"
#include "data/SideBySide.h"

namespace talveros::data {

namespace {
RowStore readTable(const QString &table)
{
    Connection conn(Database::Main);
    RowStore rows = conn.query("select * from " + rowwriter::quotedName(table));
    conn.close();
    return rows;
}
} // namespace


BoundSource::BoundSource(const QString &objectName, const QString &table, bool writable, QObject *parent)
    : QObject(parent), m_table(table), m_writable(writable)
{
    setObjectName(objectName);
}

void BoundSource::refresh()
{
    flushPendingEdit();
    m_rows = readTable(m_table);
    setPosition(0);
}

void BoundSource::refreshTogether(const std::vector<BoundSource *> &sources)
{
    refreshTogether(sources, {});
}

void BoundSource::refreshTogether(const std::vector<BoundSource *> &sources, const std::function<void()> &meanwhile)
{
    for (BoundSource *source : sources)
        source->flushPendingEdit();
    std::vector<Read<QString, RowStore>> reads;
    for (BoundSource *source : sources)
        reads.push_back({readTable, &source->m_table});
    std::vector<ReadOutcome<RowStore>> outcomes = readSideBySide(reads, meanwhile);
    // No source changes unless every read succeeded.
    std::vector<RowStore> results;
    results.reserve(outcomes.size());
    for (auto &outcome : outcomes)
        results.push_back(outcome.take());
    for (size_t i = 0; i < sources.size(); ++i) {
        sources[i]->m_rows = std::move(results[i]);
        sources[i]->setPosition(0);
    }
}

void BoundSource::setPosition(size_t pos)
{
    m_pos = pos;
    emit currentChanged();
}

void BoundSource::moveFirst()
{
    flushPendingEdit();
    setPosition(0);
}

void BoundSource::moveNext()
{
    if (eof())
        throw noCurrentRow();
    flushPendingEdit();
    setPosition(m_pos + 1);
}

bool BoundSource::find(const QString &criterion)
{
    const qsizetype eq = criterion.indexOf(QLatin1Char('='));
    const qsizetype open = criterion.indexOf(QLatin1Char('\''), eq + 1);
    if (eq < 0 || open < 0 || !criterion.endsWith(QLatin1Char('\'')) || criterion.size() - 1 <= open)
        throw DbError(QStringLiteral("42000"), 0, QStringLiteral("Ongeldige zoekopdracht: %1").arg(criterion));
    const QString column = criterion.left(eq).trimmed();
    const QByteArray value = criterion.mid(open + 1, criterion.size() - open - 2).toUtf8();
    const int c = columnIndex(column);

    flushPendingEdit();
    const std::string_view wanted(value.constData(), size_t(value.size()));
    size_t row = 0;
    while (row < m_rows.rowCount() && !m_rows.equals(row, c, wanted))
        ++row;
    setPosition(row);
    return !eof();
}

QString BoundSource::field(QStringView column) const
{
    return fieldAt(m_pos, columnIndex(column));
}

int BoundSource::columnIndex(QStringView column) const
{
    const int c = m_rows.columnIndex(column);
    if (c < 0)
        throw unknownColumn(column);
    return c;
}

QString BoundSource::fieldAt(size_t row, int column) const
{
    if (row >= m_rows.rowCount())
        return {};
    if (row == m_pos) {
        for (const auto &[c, value] : m_pending) {
            if (c == column)
                return value;
        }
    }
    return m_rows.text(row, column);
}

QString BoundSource::storedField(QStringView column) const
{
    const int c = columnIndex(column);
    return eof() ? QString() : m_rows.text(m_pos, c);
}

bool BoundSource::hasPendingEdit(QStringView column) const
{
    const int c = m_rows.columnIndex(column);
    for (const auto &pending : m_pending) {
        if (pending.first == c)
            return true;
    }
    return false;
}

void BoundSource::setPendingEdit(QStringView column, const QString &value)
{
    if (!m_writable)
        throw DbError(QStringLiteral("HY000"), 0,
                      QStringLiteral("De gegevensbron %1 is alleen-lezen.").arg(objectName()));
    if (eof())
        throw noCurrentRow();
    const int c = columnIndex(column);
    for (auto &pending : m_pending) {
        if (pending.first == c) {
            pending.second = value;
            return;
        }
    }
    m_pending.emplace_back(c, value);
}

void BoundSource::flushPendingEdit()
{
    if (m_pending.empty())
        return;
    if (eof()) {
        m_pending.clear();
        return;
    }
    const std::vector<SqlValue> original = m_rows.row(m_pos);
    std::vector<SqlValue> values = original;
    std::vector<bool> changed(values.size(), false);
    for (const auto &[c, value] : m_pending) {
        values[size_t(c)] = value.toUtf8();
        changed[size_t(c)] = true;
    }

    Connection conn(Database::Main);
    std::vector<SqlValue> stored;
    try {
        stored = rowwriter::update(conn, m_table, m_rows, original, values, changed);
    } catch (const DbError &) {
        // Take in what the other workstation stored, so that the administrator, once
        // told, sees it and can still store the edits; a row that is gone can take no
        // edit at all.
        if (auto current = rowwriter::reread(conn, m_table, m_rows, original)) {
            m_rows.replaceRow(m_pos, *current);
            for (const QString &column : std::as_const(m_dropWhenRefused)) {
                const int c = m_rows.columnIndex(column);
                std::erase_if(m_pending, [c](const auto &edit) { return edit.first == c; });
            }
        } else {
            m_pending.clear();
        }
        emit currentChanged();
        throw;
    }
    conn.close();
    m_rows.replaceRow(m_pos, stored);
    m_pending.clear();
}

void BoundSource::close()
{
    flushPendingEdit();
}

} // namespace talveros::data
