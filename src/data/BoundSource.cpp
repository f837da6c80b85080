#include "data/BoundSource.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RecordSet.h"
#include "data/RowWriter.h"
#include "data/ServerWait.h"
#include "data/SideBySide.h"

#include <algorithm>
#include <future>
#include <memory>
#include <optional>
#include <stdexcept>

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

class StartedReads {
public:
    explicit StartedReads(std::vector<QString> tables) : tables(std::move(tables))
    {
        // The reads own what they use: a wait given up leaves them to finish on their own.
        rows = std::async(std::launch::async, [names = this->tables] {
            std::vector<Read<QString, RowStore>> reads;
            for (const QString &table : names)
                reads.push_back({readTable, &table});
            // Every read ends before a failure among them is passed on.
            std::vector<RowStore> read;
            for (auto &outcome : readSideBySide(reads))
                read.push_back(outcome.take());
            return read;
        });
    }

    const std::vector<QString> tables;
    std::future<std::vector<RowStore>> rows;
};

std::shared_ptr<StartedReads> BoundSource::startReading(std::vector<QString> tables)
{
    return std::make_shared<StartedReads>(std::move(tables));
}

void BoundSource::refreshTogether(const std::vector<BoundSource *> &sources, const std::function<void()> &meanwhile)
{
    for (BoundSource *source : sources)
        source->flushPendingEdit();
    std::vector<QString> tables;
    for (BoundSource *source : sources)
        tables.push_back(source->m_table);
    refreshTogether(sources, startReading(std::move(tables)), meanwhile);
}

void BoundSource::refreshTogether(const std::vector<BoundSource *> &sources, std::shared_ptr<StartedReads> started,
                                  const std::function<void()> &meanwhile)
{
    if (started->tables.size() != sources.size())
        throw std::logic_error("started reads do not match their sources");
    for (size_t i = 0; i < sources.size(); ++i) {
        if (started->tables[i] != sources[i]->m_table)
            throw std::logic_error("started reads do not match their sources");
    }
    // Waiting for the reads is one exchange with the server for whoever waits for it.
    auto results = std::make_shared<std::vector<RowStore>>();
    const bool finished = callServer([started, results] { *results = started->rows.get(); }, {}, meanwhile);
    if (!finished)
        throw abandonedWaitError();
    // No source changes unless every read succeeded.
    for (size_t i = 0; i < sources.size(); ++i) {
        sources[i]->m_rows = std::move((*results)[i]);
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

bool BoundSource::findWhere(QStringView column, const QString &value)
{
    const int c = columnIndex(column);
    flushPendingEdit();
    setPosition(firstRowHolding(c, value));
    return !eof();
}

size_t BoundSource::rowWhere(QStringView column, const QString &value) const
{
    return firstRowHolding(columnIndex(column), value);
}

size_t BoundSource::firstRowHolding(int column, const QString &value) const
{
    const QByteArray bytes = value.toUtf8();
    const std::string_view wanted(bytes.constData(), size_t(bytes.size()));
    size_t row = 0;
    while (row < m_rows.rowCount() && !m_rows.equals(row, column, wanted))
        ++row;
    return row;
}

QString BoundSource::field(QStringView column) const
{
    return fieldAt(m_pos, columnIndex(column));
}

RowStore BoundSource::copyOfColumns(const std::vector<int> &columns) const
{
    RowStore copy;
    std::vector<RowStore::Column> named;
    named.reserve(columns.size());
    for (const int c : columns)
        named.push_back({m_rows.columns().at(size_t(c)).name});
    copy.setColumns(std::move(named));
    copy.reserve(m_rows.rowCount());
    std::vector<RowStore::Field> fields(columns.size());
    for (size_t row = 0; row < m_rows.rowCount(); ++row) {
        for (size_t i = 0; i < columns.size(); ++i) {
            std::string_view v;
            fields[i] = m_rows.read(row, columns[i], v) ? RowStore::Field{v.data(), std::int64_t(v.size())}
                                                        : RowStore::Field{};
        }
        copy.appendRow(fields.data());
    }
    if (m_pending.empty() || m_pos >= m_rows.rowCount())
        return copy;
    std::vector<SqlValue> current = copy.row(m_pos);
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto edit = std::find_if(m_pending.begin(), m_pending.end(),
                                       [&](const auto &pending) { return pending.first == columns[i]; });
        if (edit != m_pending.end())
            current[i] = edit->second.toUtf8();
    }
    copy.replaceRow(m_pos, current);
    return copy;
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

void BoundSource::editCurrent(QStringView column, const QString &value)
{
    setPendingEdit(column, value);
    emit edited(columnIndex(column));
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

namespace {
QString quoted(const QString &text) { return QStringLiteral("\u201C") + text + QStringLiteral("\u201D"); }

bool holds(const std::vector<SqlValue> &row, const std::vector<SqlValue> &values, const std::vector<bool> &changed)
{
    for (size_t c = 0; c < changed.size(); ++c) {
        if (changed[c] && row[c] != values[c])
            return false;
    }
    return true;
}
} // namespace

QString BoundSource::pendingEditsText() const
{
    QString text;
    for (const auto &[c, value] : m_pending)
        text += QStringLiteral("\n%1: %2").arg(m_rows.columns()[size_t(c)].name, quoted(value));
    return text;
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

    if (m_stillRunning) {
        if (!endSession(*m_stillRunning))
            throw DbError(ErrorKind::Unreachable, QStringLiteral("08S01"), 0,
                          QStringLiteral("Of de vorige poging om de wijziging op te slaan is gelukt, is nog steeds niet "
                                         "bekend: de databaseserver is niet te bereiken. De wijziging blijft staan; "
                                         "ze wordt opgeslagen zodra de server weer antwoordt."));
        m_stillRunning.reset();
    }
    std::optional<Connection> conn;
    try {
        conn.emplace(Database::Main);
        conn->readyToWrite();
    } catch (const DbError &e) {
        // Nothing was sent, so nothing is stored and nothing may be dropped.
        throw DbError(e.kind(), e.sqlState(), e.nativeCode(), notStoredKept(e));
    }
    std::vector<SqlValue> stored;
    try {
        stored = rowwriter::update(*conn, m_table, m_rows, original, values, changed);
    } catch (const DbError &e) {
        conn.reset();
        settleFailedWrite(e, original, values, changed);
        return;
    }
    conn->close();
    m_rows.replaceRow(m_pos, stored);
    m_pending.clear();
}

QString BoundSource::notStoredKept(const DbError &e) const
{
    if (e.kind() == ErrorKind::RefusedData) {
        QString column = e.column();
        if (column.isEmpty() && m_pending.size() == 1)
            column = m_rows.columns()[size_t(m_pending.front().first)].name;
        return QStringLiteral("De server weigert de waarde voor de kolom '%1': %2\nDe wijziging is niet opgeslagen "
                              "en blijft staan.")
            .arg(column, e.text());
    }
    if (e.kind() == ErrorKind::Unreachable) {
        // A failed connect names the server it tried already.
        const QString said = e.text().startsWith(QLatin1String("De databaseserver"))
            ? e.text()
            : QStringLiteral("De databaseserver is niet bereikbaar: %1").arg(e.text());
        return said
            + QStringLiteral("\nDe wijziging is niet opgeslagen en blijft staan; ze wordt opgeslagen zodra de server "
                             "weer antwoordt.");
    }
    return e.text();
}

void BoundSource::settleFailedWrite(const DbError &e, const std::vector<SqlValue> &original,
                                    const std::vector<SqlValue> &values, const std::vector<bool> &changed)
{
    if (e.kind() != ErrorKind::ChangedElsewhere && e.kind() != ErrorKind::Unreachable)
        throw DbError(e.kind(), e.sqlState(), e.nativeCode(), notStoredKept(e));
    if (e.stillRunning()) {
        // The write may still take: nothing can be concluded from the row until it has
        // ended, so the edits stay and the next write ends it first.
        m_stillRunning = e.stillRunning();
        throw e.retold(QStringLiteral("De verbinding met de databaseserver ging verloren tijdens het opslaan: %1\nOf de "
                                      "wijziging is opgeslagen, is niet bekend. De wijziging blijft staan; bij het "
                                      "volgende opslaan wordt eerst nagegaan wat er is opgeslagen.")
                           .arg(e.text()));
    }

    // Whether the write took, and what the row holds now, is only known from the row
    // itself: after a conflict the other workstation's values are to be shown; after a
    // lost reply the write may have been stored all the same.
    std::optional<std::vector<SqlValue>> current;
    try {
        Connection again(Database::Main);
        current = rowwriter::reread(again, m_table, m_rows, original);
        again.close();
    } catch (const DbError &reread) {
        // The row cannot be shown as it is, so the edits stay: the next write finds out.
        const QString first = e.kind() == ErrorKind::Unreachable
            ? QStringLiteral("De verbinding met de databaseserver ging verloren tijdens het opslaan: %1\nOf de "
                             "wijziging is opgeslagen, is niet bekend.")
                  .arg(e.text())
            : e.text();
        throw DbError(e.kind(), e.sqlState(), e.nativeCode(),
                      QStringLiteral("%1\nDe rij kon niet opnieuw worden gelezen: %2\nDe wijziging blijft staan; bij "
                                     "het volgende opslaan wordt nagegaan wat er is opgeslagen.")
                          .arg(first, reread.text()));
    }
    if (current && holds(*current, values, changed)) {
        // Stored after all (a lost reply, or the same value written elsewhere).
        m_rows.replaceRow(m_pos, *current);
        m_pending.clear();
        emit currentChanged();
        return;
    }
    if (current && e.lostToConcurrentWrite() && holds(*current, original, changed)) {
        throw DbError(e.kind(), e.sqlState(), e.nativeCode(),
                      QStringLiteral("Andere werkplekken werkten dezelfde rij steeds tegelijk bij: %1\nDe wijziging is "
                                     "niet opgeslagen en blijft staan; ze wordt bij de volgende gelegenheid opnieuw "
                                     "opgeslagen.")
                          .arg(e.text()));
    }
    if (current && e.kind() == ErrorKind::Unreachable && holds(*current, original, changed)) {
        throw DbError(e.kind(), e.sqlState(), e.nativeCode(),
                      QStringLiteral("De verbinding met de databaseserver ging verloren: %1\nDe wijziging is niet "
                                     "opgeslagen en blijft staan.")
                          .arg(e.text()));
    }
    // Another workstation's values win until the administrator, who now sees them,
    // chooses otherwise: nothing is written over them unseen.
    const QString lost = pendingEditsText();
    m_pending.clear();
    if (current)
        m_rows.replaceRow(m_pos, *current);
    emit currentChanged();
    const DbError conflict = rowwriter::changedByOthers();
    throw DbError(ErrorKind::ChangedElsewhere, conflict.sqlState(), e.nativeCode(),
                  conflict.text()
                      + (current ? QStringLiteral("\nHet venster toont nu wat er is opgeslagen. Uw wijziging is niet "
                                                  "opgeslagen:")
                                 : QStringLiteral("\nDe rij bestaat niet meer. Uw wijziging is niet opgeslagen:"))
                      + lost);
}

void BoundSource::close()
{
    flushPendingEdit();
}

} // namespace talveros::data
