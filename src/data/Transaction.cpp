#include "data/Transaction.h"

namespace talveros::data {

Transaction::Transaction(Connection &conn, Reads reads) : m_conn(conn)
{
    m_conn.execute(reads == Reads::OneMoment ? QByteArrayLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT")
                                             : QByteArrayLiteral("START TRANSACTION"));
    m_conn.m_inTransaction = true;
}

Transaction::~Transaction()
{
    m_conn.m_inTransaction = false;
    if (!m_open || !m_conn.isOpen())
        return;
    try {
        m_conn.execute("ROLLBACK");
    } catch (...) {
        // The server rolls back with the session, which closes right after.
    }
}

void Transaction::commit()
{
    m_open = false;
    m_conn.m_inTransaction = false;
    m_conn.execute("COMMIT");
}

} // namespace talveros::data
