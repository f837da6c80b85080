#pragma once

#include "data/Connection.h"

namespace talveros::data {

// The statements between its start and commit() take effect together or not at all: a
// failure, or a reply that never comes, before the commit leaves nothing behind. Rolled
// back unless committed.
class Transaction {
public:
    enum class Reads { AsTheyCome, OneMoment };
    // OneMoment: every read sees the table as it was at the start, so that a row another
    // workstation adds meanwhile shows up as a conflict of the write, not half-way.
    explicit Transaction(Connection &conn, Reads reads = Reads::AsTheyCome);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Only a failure of this statement can leave a change in doubt.
    void commit();

private:
    Connection &m_conn;
    bool m_open = true;
};

} // namespace talveros::data
