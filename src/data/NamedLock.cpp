#include "data/NamedLock.h"

namespace talveros::data {

namespace {
// ER_NOT_SUPPORTED_YET: a cluster that refuses named locks, whose nodes would each hold
// their own anyway.
constexpr int kNotSupported = 1235;
} // namespace

NamedLock::NamedLock(Connection &conn, const QByteArray &name, int waitSeconds) : m_conn(conn), m_name(name)
{
    RowStore got;
    try {
        got = m_conn.query("SELECT GET_LOCK(?, ?)", {m_name, QByteArray::number(waitSeconds)});
    } catch (const DbError &e) {
        if (e.nativeCode() != kNotSupported)
            throw;
        m_had = true;
        return;
    }
    m_had = got.rowCount() == 1 && !got.isNull(0, 0) && got.text(0, 0) == QLatin1String("1");
    if (m_had) {
        m_held = true;
        ++m_conn.m_namedLocks;
    }
}

NamedLock::~NamedLock()
{
    if (!m_held || !m_conn.isOpen())
        return;
    try {
        m_conn.query("SELECT RELEASE_LOCK(?)", {m_name});
        --m_conn.m_namedLocks;
    } catch (...) {
        // Still counted as held: the connection is not kept, and the server drops the
        // lock with the session.
    }
}

} // namespace talveros::data
