#include "data/Transaction.h"

namespace talveros::data {

// The connection counts as in a transaction until the server confirmed its end: one
// whose end failed is never kept for another action.
Transaction::Transaction(Connection &conn, Reads reads) : m_conn(conn)
{
    m_conn.m_inTransaction = true;
    m_conn.execute(reads == Reads::OneMoment ? QByteArrayLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT")
                                             : QByteArrayLiteral("START TRANSACTION"));
}

Transaction::~Transaction()
{
    if (!m_open || !m_conn.isOpen())
        return;
    try {
        m_conn.execute("ROLLBACK");
        m_conn.m_inTransaction = false;
    } catch (...) {
        // The server rolls back with the session, which is not kept.
    }
}

void Transaction::commit()
{
    m_open = false;
    m_conn.execute("COMMIT");
    m_conn.m_inTransaction = false;
}

} // namespace talveros::data
