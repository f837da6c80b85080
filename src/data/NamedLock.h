#pragma once

#include "data/Connection.h"

#include <QByteArray>

namespace talveros::data {

// A server-wide named lock, held for as long as it lives. A connection holding one is
// never kept for another action; the lock goes with the session if the release fails.
class NamedLock {
public:
    // Waits up to `waitSeconds` for the lock.
    NamedLock(Connection &conn, const QByteArray &name, int waitSeconds);
    ~NamedLock();
    NamedLock(const NamedLock &) = delete;
    NamedLock &operator=(const NamedLock &) = delete;

    // False when another session held it for the whole wait. True as well where the
    // server refuses named locks (a cluster may): there, as between the nodes of any
    // cluster, something else has to decide.
    bool had() const { return m_had; }

private:
    Connection &m_conn;
    QByteArray m_name;
    bool m_held = false;
    bool m_had = false;
};

} // namespace talveros::data
