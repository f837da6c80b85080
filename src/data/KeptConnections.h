#pragma once

#include "data/DbError.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>

// Connections an action has finished with, kept for the next one: over the provider's
// link a new one costs five round trips and more, a kept one none. Only connections
// without a transaction, a named lock or a failure are kept, each under the connection
// string it was opened with, so a change of server or settings never reuses one; the
// server may still have ended one meanwhile, which the connection finds out before it
// writes. Kept ones idle for minutes are closed, so the program does not hold server
// sessions while nobody works.
namespace talveros::data::kept {

struct Handle {
    void *dbc = nullptr;
    SessionRef session; // id 0: not asked yet
    std::chrono::steady_clock::time_point answeredAt;
};

std::optional<Handle> take(const QByteArray &key);
void give(const QByteArray &key, Handle handle);
// How many are kept now.
int count();
// Closes every kept connection: at the end of the program.
void closeAll();
// Runs `open` on a thread of its own, for a connection ready before it is asked for;
// the program waits for it at its end.
void prepare(std::function<void()> open);

// How long a kept connection stays open unused.
inline constexpr auto kIdleLimit = std::chrono::minutes(5);

} // namespace talveros::data::kept
