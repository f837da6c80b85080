#pragma once

#include "data/ConnectionSettings.h"
#include "data/RowStore.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace talveros::data {

// One ODBC connection, opened by the constructor and closed by close() or the
// destructor. Every action opens its own and closes it before it returns.
class Connection {
public:
    explicit Connection(Database db);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void close();
    bool isOpen() const { return m_dbc != nullptr; }

    // Runs one statement whose values are all bound as parameters and returns the
    // row count the server reports (rows matched, for an UPDATE).
    qint64 execute(const QByteArray &sql, const std::vector<SqlValue> &params = {});

    // Runs a query and keeps its whole result in a compact copy.
    RowStore query(const QByteArray &sql, const std::vector<SqlValue> &params = {});

private:
    // Runs one exchange with the server the way the installed wait hook wants it; when
    // the administrator gives up the wait, the connection is let go and the action ends.
    void onServer(std::function<void()> work);
    static RowStore queryOn(void *dbc, const QByteArray &sql, const std::vector<SqlValue> &params);

    void *m_dbc = nullptr;
};

} // namespace talveros::data
