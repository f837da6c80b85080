#pragma once

#include "data/DbError.h"
#include "data/RowStore.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace talveros::data {

// A write whose reply never came and whose outcome could not be learnt: its session
// could not be ended on the server (so it may still take effect), the server could not
// be asked afterwards, or the rows cannot tell (a commit of a row without a key). Every
// one is kept until it is settled, which the next write of its kind does first.
struct UnknownWrite {
    enum class Kind { Insert, Delete, Update };
    Kind kind = Kind::Insert;
    QString table;
    // What identifies the row written or deleted, column by column.
    std::vector<std::pair<QString, SqlValue>> row;
    // The session that sent it, still to be ended on the server.
    std::optional<SessionRef> stillRunning;
    // The commit itself was sent: once the session has ended, the write either took or
    // not, but rows without a key cannot tell which.
    bool commitSent = false;
    // Given when remembered; how it is forgotten.
    qint64 id = 0;
};

namespace unknownwrites {

void remember(UnknownWrite write);
// Those of a kind and table, oldest first.
std::vector<UnknownWrite> of(UnknownWrite::Kind kind, const QString &table);
void forget(qint64 id);
// Ends the sessions of those of a kind and table that may still run. False when one
// still cannot be ended: nothing may then be concluded, nor written in their place.
bool endSessions(UnknownWrite::Kind kind, const QString &table);

} // namespace unknownwrites
} // namespace talveros::data
