#include "data/UnknownWrites.h"

#include "data/Connection.h"

#include <algorithm>
#include <mutex>

namespace talveros::data::unknownwrites {

namespace {
std::mutex g_mutex;
std::vector<UnknownWrite> g_writes;
qint64 g_lastId = 0;
} // namespace

void remember(UnknownWrite write)
{
    std::lock_guard lock(g_mutex);
    write.id = ++g_lastId;
    g_writes.push_back(std::move(write));
}

std::vector<UnknownWrite> of(UnknownWrite::Kind kind, const QString &table)
{
    std::lock_guard lock(g_mutex);
    std::vector<UnknownWrite> found;
    for (const UnknownWrite &w : g_writes) {
        if (w.kind == kind && w.table == table)
            found.push_back(w);
    }
    return found;
}

void forget(qint64 id)
{
    std::lock_guard lock(g_mutex);
    std::erase_if(g_writes, [id](const UnknownWrite &w) { return w.id == id; });
}

bool endSessions(UnknownWrite::Kind kind, const QString &table)
{
    for (const UnknownWrite &w : of(kind, table)) {
        if (!w.stillRunning)
            continue;
        if (!endSession(*w.stillRunning))
            return false;
        std::lock_guard lock(g_mutex);
        for (UnknownWrite &kept : g_writes) {
            if (kept.id == w.id)
                kept.stillRunning.reset();
        }
    }
    return true;
}

} // namespace talveros::data::unknownwrites
