#pragma once

#include <exception>
#include <functional>
#include <memory>

namespace talveros::data {

class DbError;

// One call to the server running on a worker thread while the thread that made it waits.
class ServerCall {
public:
    struct State;
    explicit ServerCall(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    bool finished() const;
    // `notify` runs once the call has finished: at once when it already has, otherwise
    // on the worker thread. It must be cheap and safe from any thread (post an event).
    void whenFinished(std::function<void()> notify);

private:
    std::shared_ptr<State> m_state;
};

// What the thread that asked for a server call does while the call runs. The
// application installs one that keeps the window painting and lets the administrator
// give up; the data layer itself knows nothing of windows.
class WaitHook {
public:
    virtual ~WaitHook() = default;
    // Returns once call.finished(), or earlier when the wait is given up.
    virtual void wait(ServerCall &call) = 0;
};

// Installs `hook` for the calls made on the calling thread (nullptr removes it) and
// returns the one it replaces. Calls made on any other thread simply block.
WaitHook *setWaitHook(WaitHook *hook);

// True while a call made under the hook waits: whatever the event loop runs meanwhile
// runs in the middle of the action that waits.
bool waitingForServer();

// Runs `work`: on a worker thread while the hook waits when one is installed for this
// thread, directly otherwise. A failure of `work` is thrown here. Returns false when
// the wait was given up: `work` then finishes on its own, followed there by `orphaned`,
// which frees what it still held; so `work` and `orphaned` must own everything they use.
// `meanwhile` runs on the calling thread while `work` is under way, before the wait; a
// failure of it is thrown once `work` has finished or was given up, and wins over one
// of `work`.
bool callServer(std::function<void()> work, std::function<void()> orphaned,
                const std::function<void()> &meanwhile = {});

// Runs `work` (when there is any) and gives back what it threw, to be thrown once the
// work beside it has ended.
std::exception_ptr failureOf(const std::function<void()> &work);

// The failure an action ends with when the administrator stopped waiting.
DbError abandonedWaitError();

} // namespace talveros::data
