#pragma once

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowStore.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace talveros::data {

// The writes of a record set, as parameterised statements. An update finds its row by
// the key plus the original values of the columns it changes, a delete by the key plus
// every original value; a table without a key is matched on every original value
// (LIMIT 1). A row whose written columns another workstation changed in between is
// not found: the optimistic check.
namespace rowwriter {

QByteArray quotedName(QStringView name);

// Inserts a row with the given columns set; returns the stored row as the server
// holds it where the table has a generated key, otherwise as given.
std::vector<SqlValue> insert(Connection &conn, const QString &table, const RowStore &shape,
                             const std::vector<SqlValue> &values, const std::vector<bool> &set);

// Inserts one row with the named columns set, every value a parameter, and nothing
// read first. A column the table lacks makes the server refuse it, so nothing is written.
void insertFields(Connection &conn, const QString &table, const std::vector<std::pair<QString, SqlValue>> &fields);

// Updates the row that still holds the original values of the changed columns; throws
// DbError when no row does. Returns the row as the server now holds it (re-read by
// its key; as written where the table has none).
std::vector<SqlValue> update(Connection &conn, const QString &table, const RowStore &shape,
                             const std::vector<SqlValue> &original, const std::vector<SqlValue> &values,
                             const std::vector<bool> &changed);

// Deletes one row that still holds `original`; throws DbError when no row does.
void remove(Connection &conn, const QString &table, const RowStore &shape, const std::vector<SqlValue> &original);

// Re-reads the row that holds `original`, by its generated key where the table has
// one; empty when it is gone.
std::optional<std::vector<SqlValue>> reread(Connection &conn, const QString &table, const RowStore &shape,
                                            const std::vector<SqlValue> &original);

// How many rows hold exactly these values, byte for byte (NULL matching NULL): what a
// write whose reply was lost left behind.
qint64 countHolding(Connection &conn, const QString &table, const std::vector<std::pair<QString, SqlValue>> &values);

DbError changedByOthers();

} // namespace rowwriter
} // namespace talveros::data
