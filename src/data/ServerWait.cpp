#include "data/ServerWait.h"

#include "data/DbError.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace talveros::data {

struct ServerCall::State {
    std::mutex mutex;
    bool finished = false;
    bool abandoned = false;
    std::function<void()> notify;
    std::function<void()> orphaned;
    std::exception_ptr failure;
};

namespace {
std::atomic<WaitHook *> g_hook{nullptr};
std::atomic<std::thread::id> g_hookThread{};
std::atomic<int> g_waiting{0};

class WaitingScope {
public:
    WaitingScope() { ++g_waiting; }
    ~WaitingScope() { --g_waiting; }
    WaitingScope(const WaitingScope &) = delete;
    WaitingScope &operator=(const WaitingScope &) = delete;
};
} // namespace

bool ServerCall::finished() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->finished;
}

void ServerCall::whenFinished(std::function<void()> notify)
{
    std::unique_lock lock(m_state->mutex);
    if (!m_state->finished) {
        m_state->notify = std::move(notify);
        return;
    }
    lock.unlock();
    if (notify)
        notify();
}

WaitHook *setWaitHook(WaitHook *hook)
{
    g_hookThread = std::this_thread::get_id();
    return g_hook.exchange(hook);
}

bool waitingForServer() { return g_waiting > 0; }

bool callServer(std::function<void()> work, std::function<void()> orphaned, const std::function<void()> &meanwhile)
{
    WaitHook *hook = g_hook;
    if (hook && g_hookThread.load() != std::this_thread::get_id())
        hook = nullptr;
    if (!hook && !meanwhile) {
        work();
        return true;
    }
    auto state = std::make_shared<ServerCall::State>();
    state->orphaned = std::move(orphaned);
    std::thread worker([state, work = std::move(work)] {
        std::exception_ptr failure;
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        std::function<void()> orphan;
        {
            // The notification is sent under the lock: the waiting side withdraws it
            // under the same lock before whatever it posts to goes away.
            std::lock_guard lock(state->mutex);
            state->failure = failure;
            state->finished = true;
            if (state->notify)
                state->notify();
            state->notify = nullptr;
            if (state->abandoned)
                orphan = std::move(state->orphaned);
        }
        if (orphan)
            orphan();
    });

    const std::exception_ptr meanwhileFailure = failureOf(meanwhile);
    if (hook) {
        WaitingScope waiting;
        ServerCall call(state);
        hook->wait(call);
    }

    {
        std::lock_guard lock(state->mutex);
        state->notify = nullptr;
        if (hook && !state->finished) {
            state->abandoned = true;
            worker.detach();
            if (meanwhileFailure)
                std::rethrow_exception(meanwhileFailure);
            return false;
        }
    }
    worker.join();
    if (meanwhileFailure)
        std::rethrow_exception(meanwhileFailure);
    if (state->failure)
        std::rethrow_exception(state->failure);
    return true;
}

std::exception_ptr failureOf(const std::function<void()> &work)
{
    if (!work)
        return nullptr;
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

DbError abandonedWaitError()
{
    return DbError(ErrorKind::Unreachable, QStringLiteral("HYT00"), 0,
                   QStringLiteral("Het wachten op de databaseserver is afgebroken."));
}

} // namespace talveros::data
