#pragma once

#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "data/RowStore.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace talveros::data {

// One ODBC connection, for one action: opened by the constructor (or taken from those
// kept, see KeptConnections.h) and given back by close() or the destructor.
class Connection {
public:
    explicit Connection(Database db);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void close();
    bool isOpen() const { return m_dbc != nullptr; }

    // Runs one statement whose values are all bound as parameters and returns the
    // row count the server reports (rows matched, for an UPDATE). Before the first one,
    // the connection learns who it is on the server (session()): a statement whose
    // reply never comes, or whose wait the administrator gives up, is then ended on the
    // server before the failure is thrown, and the failure says whether that worked
    // (DbError::stillRunning()). Only then may anything be concluded from the tables.
    qint64 execute(const QByteArray &sql, const std::vector<SqlValue> &params = {});

    // Who this connection is on the server; asked of the server the first time.
    const SessionRef &session();

    // Everything a write needs before it is sent: a kept connection found alive (or
    // replaced) and its session known. A failure here means nothing was sent.
    void readyToWrite();

    // Whether a Transaction is open on it: a statement the server undoes then takes the
    // statements before it along.
    bool inTransaction() const { return m_inTransaction; }

    // Runs a query and keeps its whole result in a compact copy.
    RowStore query(const QByteArray &sql, const std::vector<SqlValue> &params = {});

private:
    // What an exchange may change on the server: a write's session is ended on the server
    // when its reply never comes.
    enum class Effect { None, Write };
    void open();
    // Closes it for good rather than keeping it.
    void discard();
    void makeSureAlive();
    // Runs one exchange with the server the way the installed wait hook wants it; when
    // the administrator gives up the wait, the connection is let go and the action ends.
    void onServer(std::function<void()> work, Effect effect);
    // Ends this connection's session on the server after a reply that never came;
    // the session when that could not be done.
    std::optional<SessionRef> endOnServer();
    static RowStore queryOn(void *dbc, const QByteArray &sql, const std::vector<SqlValue> &params);

    friend class Transaction;
    friend class NamedLock;

    Database m_db;
    QByteArray m_key;
    void *m_dbc = nullptr;
    std::optional<SessionRef> m_session;
    // Taken from those kept, and not yet answered on since: the server may have ended it.
    bool m_kept = false;
    std::chrono::steady_clock::time_point m_answeredAt;
    bool m_inTransaction = false;
    int m_namedLocks = 0;
};

// Opens a connection on a thread of its own and keeps it, its session known, for the next
// action: for a window that waits for the administrator's typing before it reaches the
// server. A failure is left for that action to meet.
void prepareConnection(Database db);

// Ends `session` on the server from a connection of its own, and waits (a bounded
// while) until the server no longer lists it, so that whatever it was doing is either
// done or undone for good. True when it is gone, also when it was gone already; false
// when that cannot be known: the server cannot be reached, the wait was given up, or
// the address leads to another server than the one holding the session.
bool endSession(const SessionRef &session);

} // namespace talveros::data
