#include "data/RowWriter.h"

#include "data/DbError.h"

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

// "`a` <=> ? AND BINARY `b` <=> BINARY ? ...": the key (indexed) first, then every
// column compared byte for byte, so letter case and trailing blanks count.
QByteArray whereOriginal(const RowStore &shape, const std::vector<SqlValue> &original,
                         std::vector<SqlValue> &params)
{
    QByteArray where;
    const int key = keyColumn(shape);
    auto add = [&](int c, bool binary) {
        if (!where.isEmpty())
            where += " AND ";
        const QByteArray name = quotedName(shape.columns()[size_t(c)].name);
        where += binary ? "BINARY " + name + " <=> BINARY ?" : name + " <=> ?";
        params.push_back(original[size_t(c)]);
    };
    if (key >= 0)
        add(key, false);
    for (int c = 0; c < shape.columnCount(); ++c) {
        if (c != key)
            add(c, true);
    }
    return where;
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
    conn.execute("INSERT INTO " + quotedName(table) + " (" + names + ") VALUES (" + marks + ")", params);

    const int key = keyColumn(shape);
    if (key < 0)
        return values;
    const RowStore id = conn.query("SELECT LAST_INSERT_ID()");
    if (id.rowCount() != 1)
        return values;
    const RowStore stored = conn.query("SELECT * FROM " + quotedName(table) + " WHERE "
                                           + quotedName(shape.columns()[size_t(key)].name) + " = ?",
                                       {QByteArray(id.value(0, 0).data(), qsizetype(id.value(0, 0).size()))});
    if (stored.rowCount() != 1 || stored.columnCount() != shape.columnCount())
        return values;
    return stored.row(0);
}

void update(Connection &conn, const QString &table, const RowStore &shape, const std::vector<SqlValue> &original,
            const std::vector<SqlValue> &values, const std::vector<bool> &changed)
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
        return;
    const QByteArray where = whereOriginal(shape, original, params);
    // The connection reports rows matched, not rows changed, so an unchanged value
    // still counts as found.
    if (conn.execute("UPDATE " + quotedName(table) + " SET " + assignments + " WHERE " + where + " LIMIT 1", params)
        != 1)
        throw changedByOthers();
}

void remove(Connection &conn, const QString &table, const RowStore &shape, const std::vector<SqlValue> &original)
{
    std::vector<SqlValue> params;
    const QByteArray where = whereOriginal(shape, original, params);
    if (conn.execute("DELETE FROM " + quotedName(table) + " WHERE " + where + " LIMIT 1", params) != 1)
        throw changedByOthers();
}

std::optional<std::vector<SqlValue>> reread(Connection &conn, const QString &table, const RowStore &shape,
                                            const std::vector<SqlValue> &original)
{
    const int key = keyColumn(shape);
    if (key < 0 || !original[size_t(key)])
        return std::nullopt;
    const RowStore stored = conn.query("SELECT * FROM " + quotedName(table) + " WHERE "
                                           + quotedName(shape.columns()[size_t(key)].name) + " = ?",
                                       {original[size_t(key)]});
    if (stored.rowCount() != 1 || stored.columnCount() != shape.columnCount())
        return std::nullopt;
    return stored.row(0);
}

} // namespace talveros::data::rowwriter
