#pragma once

#include "data/Connection.h"
#include "data/NamedLock.h"
#include "data/RecordSet.h"
#include "data/Transaction.h"

#include <QString>

#include <utility>
#include <vector>

namespace talveros::data {

// A table or column name quoted as the server reads it, for the program's own queries.
QByteArray quotedName(QStringView name);

// One action's way to the server, and the only one the features use: reads of the rows
// and columns they want, the record set over a table, adding and removing a row, and the
// units of work around them (a transaction, a named lock). How each is sent, checked and
// ended when its reply does not come stays inside this folder.
class Session {
public:
    explicit Session(Database db = Database::Main) : m_conn(db) {}

    // The program's own query; every value in it is a parameter.
    RowStore read(const QByteArray &sql, const std::vector<SqlValue> &params = {}) { return m_conn.query(sql, params); }
    // The rows of a table to walk, change or add to.
    RecordSet records(const QString &table, const Rows &rows = Rows::all()) { return RecordSet(m_conn, table, rows); }

    // Adds one row with the named columns set.
    void add(const QString &table, const std::vector<std::pair<QString, SqlValue>> &fields);
    // Removes one row that still holds every value read (`shape` gives the columns);
    // throws DbError when no row does.
    void removeRow(const QString &table, const RowStore &shape, const std::vector<SqlValue> &original);
    // How many rows hold exactly these values, byte for byte.
    qint64 countHolding(const QString &table, const std::vector<std::pair<QString, SqlValue>> &values);

    // The statements until commit() take effect together or not at all.
    Transaction transaction(Transaction::Reads reads = Transaction::Reads::AsTheyCome)
    {
        return Transaction(m_conn, reads);
    }
    // Holds a server-wide named lock while it lives; see NamedLock::had().
    NamedLock lock(const QByteArray &name, int waitSeconds) { return NamedLock(m_conn, name, waitSeconds); }

    bool isOpen() const { return m_conn.isOpen(); }
    void close() { m_conn.close(); }

private:
    Connection m_conn;
};

} // namespace talveros::data
