#include "data/RowWriter.h"

#include "data/DbError.h"

#include <QRandomGenerator>

#include <chrono>
#include <thread>

namespace talveros::data::rowwriter {

namespace {

int keyColumn(const RowStore &shape)
{
    for (int c = 0; c < shape.columnCount(); ++c) {
        if (shape.columns()[size_t(c)].autoIncrement)
            return c;
    }
    return -1;
}

void addCondition(QByteArray &where, std::vector<SqlValue> &params, QStringView column, const SqlValue &value,
                  bool binary)
{
    if (!where.isEmpty())
        where += " AND ";
    const QByteArray name = quotedName(column);
    where += binary ? "BINARY " + name + " <=> BINARY ?" : name + " <=> ?";
    params.push_back(value);
}

void addCondition(QByteArray &where, std::vector<SqlValue> &params, const RowStore &shape,
                  const std::vector<SqlValue> &original, int c, bool binary)
{
    addCondition(where, params, shape.columns()[size_t(c)].name, original[size_t(c)], binary);
}

// "`key` <=> ? AND BINARY `b` <=> BINARY ? ...": the key (indexed) first, then the
// columns in `compared` byte for byte, so letter case and trailing blanks count. A
// table without a key is matched on every column, whatever `compared` says: nothing
// else tells its rows apart.
QByteArray whereOriginal(const RowStore &shape, const std::vector<SqlValue> &original,
                         const std::vector<bool> &compared, std::vector<SqlValue> &params)
{
    QByteArray where;
    const int key = keyColumn(shape);
    if (key >= 0)
        addCondition(where, params, shape, original, key, false);
    for (int c = 0; c < shape.columnCount(); ++c) {
        if (c != key && (key < 0 || compared[size_t(c)]))
            addCondition(where, params, shape, original, c, true);
    }
    return where;
}

std::optional<std::vector<SqlValue>> readByKey(Connection &conn, const QString &table, const RowStore &shape,
                                               int key, const SqlValue &value)
{
    if (key < 0 || !value)
        return std::nullopt;
    const RowStore stored = conn.query("SELECT * FROM " + quotedName(table) + " WHERE "
                                           + quotedName(shape.columns()[size_t(key)].name) + " = ?",
                                       {value});
    if (stored.rowCount() != 1 || stored.columnCount() != shape.columnCount())
        return std::nullopt;
    return stored.row(0);
}

// How often a statement of its own is sent again after the server undid it in favour of
// a concurrent write. Through one node of a cluster while another node rewrote the same
// rows a hundred times a second, an edit lost up to three times in a row.
constexpr int kAttemptsAlone = 8;

// A statement that is a transaction of its own, sent again when the server undid it as
// the loser against a concurrent write (a deadlock, or a cluster's certification): being
// undone, it changed nothing, and its WHERE still checks what it was written against.
// Inside a transaction the statements before it were undone too, so its caller decides.
qint64 executeAlone(Connection &conn, const QByteArray &sql, const std::vector<SqlValue> &params)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return conn.execute(sql, params);
        } catch (const DbError &e) {
            if (!e.lostToConcurrentWrite() || conn.inTransaction() || attempt == kAttemptsAlone)
                throw;
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(QRandomGenerator::global()->bounded(1, 4 * attempt + 2)));
    }
}
} // namespace

DbError changedByOthers()
{
    return DbError(QStringLiteral("40001"), 0,
                   QStringLiteral("De rij is niet gevonden om bij te werken: ze is gewijzigd of verwijderd "
                                  "sinds ze werd gelezen."));
}

QByteArray quotedName(QStringView name)
{
    QByteArray quoted = name.toUtf8();
    quoted.replace('`', "``");
    return '`' + quoted + '`';
}

std::vector<SqlValue> insert(Connection &conn, const QString &table, const RowStore &shape,
                             const std::vector<SqlValue> &values, const std::vector<bool> &set)
{
    QByteArray names, marks;
    std::vector<SqlValue> params;
    for (int c = 0; c < shape.columnCount(); ++c) {
        if (!set[size_t(c)])
            continue;
        if (!params.empty()) {
            names += ',';
            marks += ',';
        }
        names += quotedName(shape.columns()[size_t(c)].name);
        marks += '?';
        params.push_back(values[size_t(c)]);
    }
    executeAlone(conn, "INSERT INTO " + quotedName(table) + " (" + names + ") VALUES (" + marks + ")", params);

    const int key = keyColumn(shape);
    if (key < 0)
        return values;
    const RowStore id = conn.query("SELECT LAST_INSERT_ID()");
    if (id.rowCount() != 1 || id.isNull(0, 0))
        return values;
    const std::string_view generated = id.value(0, 0);
    return readByKey(conn, table, shape, key, QByteArray(generated.data(), qsizetype(generated.size())))
        .value_or(values);
}

void insertFields(Connection &conn, const QString &table, const std::vector<std::pair<QString, SqlValue>> &fields)
{
    QByteArray names, marks;
    std::vector<SqlValue> params;
    params.reserve(fields.size());
    for (const auto &[column, value] : fields) {
        names += (names.isEmpty() ? "" : ",") + quotedName(column);
        marks += marks.isEmpty() ? "?" : ",?";
        params.push_back(value);
    }
    executeAlone(conn, "INSERT INTO " + quotedName(table) + " (" + names + ") VALUES (" + marks + ")", params);
}

std::vector<SqlValue> update(Connection &conn, const QString &table, const RowStore &shape,
                             const std::vector<SqlValue> &original, const std::vector<SqlValue> &values,
                             const std::vector<bool> &changed)
{
    QByteArray assignments;
    std::vector<SqlValue> params;
    for (int c = 0; c < shape.columnCount(); ++c) {
        if (!changed[size_t(c)])
            continue;
        if (!assignments.isEmpty())
            assignments += ", ";
        assignments += quotedName(shape.columns()[size_t(c)].name) + " = ?";
        params.push_back(values[size_t(c)]);
    }
    if (params.empty())
        return original;
    // Only the columns this write changes are compared: the network's other programs
    // rewrite the sign-in columns of the same rows all day, and a change there must not
    // refuse an edit of another column.
    const QByteArray where = whereOriginal(shape, original, changed, params);
    // The connection reports rows matched, not rows changed, so an unchanged value
    // still counts as found.
    if (executeAlone(conn, "UPDATE " + quotedName(table) + " SET " + assignments + " WHERE " + where + " LIMIT 1",
                     params)
        != 1)
        throw changedByOthers();
    // What the program holds afterwards is what the server stored, other programs'
    // changes to the other columns and server-set values included.
    const int key = keyColumn(shape);
    std::vector<SqlValue> written = original;
    for (size_t c = 0; c < written.size(); ++c) {
        if (changed[c])
            written[c] = values[c];
    }
    if (key < 0)
        return written;
    return readByKey(conn, table, shape, key, written[size_t(key)]).value_or(written);
}

void remove(Connection &conn, const QString &table, const RowStore &shape, const std::vector<SqlValue> &original)
{
    std::vector<SqlValue> params;
    const QByteArray where = whereOriginal(shape, original, std::vector<bool>(original.size(), true), params);
    if (conn.execute("DELETE FROM " + quotedName(table) + " WHERE " + where + " LIMIT 1", params) != 1)
        throw changedByOthers();
}

qint64 countHolding(Connection &conn, const QString &table, const std::vector<std::pair<QString, SqlValue>> &values)
{
    QByteArray where;
    std::vector<SqlValue> params;
    for (const auto &[column, value] : values)
        addCondition(where, params, column, value, true);
    const RowStore count = conn.query("SELECT COUNT(*) FROM " + quotedName(table) + " WHERE " + where, params);
    return count.text(0, 0).toLongLong();
}

std::optional<std::vector<SqlValue>> reread(Connection &conn, const QString &table, const RowStore &shape,
                                            const std::vector<SqlValue> &original)
{
    const int key = keyColumn(shape);
    if (key < 0)
        return std::nullopt;
    return readByKey(conn, table, shape, key, original[size_t(key)]);
}

} // namespace talveros::data::rowwriter
