#include "data/KeptConnections.h"

#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace talveros::data {
// Disconnects and frees a handle; Connection.cpp owns the driver calls.
void dropHandle(void *dbc);
} // namespace talveros::data

namespace talveros::data::kept {

namespace {
// Start-up reads three tables side by side, the payment overview two: enough for those.
constexpr size_t kMostPerKey = 4;

class Keeper {
public:
    ~Keeper()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_sweeper.joinable())
            m_sweeper.join();
        for (std::future<void> &f : m_preparing)
            f.wait();
        closeAll();
    }

    std::optional<Handle> take(const QByteArray &key)
    {
        std::lock_guard lock(m_mutex);
        auto found = m_idle.find(key);
        if (found == m_idle.end() || found->second.empty())
            return std::nullopt;
        // The one used last is the likeliest still to be alive.
        Handle h = found->second.back();
        found->second.pop_back();
        return h;
    }

    void give(const QByteArray &key, Handle handle)
    {
        bool kept = false;
        {
            std::lock_guard lock(m_mutex);
            if (!m_stopping) {
                if (!m_sweeper.joinable())
                    m_sweeper = std::thread([this] { sweep(); });
                std::vector<Handle> &handles = m_idle[key];
                if (handles.size() < kMostPerKey) {
                    handles.push_back(handle);
                    kept = true;
                }
            }
        }
        if (!kept)
            dropHandle(handle.dbc);
    }

    int count()
    {
        std::lock_guard lock(m_mutex);
        size_t n = 0;
        for (const auto &[key, handles] : m_idle)
            n += handles.size();
        return int(n);
    }

    void closeAll()
    {
        std::map<QByteArray, std::vector<Handle>> idle;
        {
            std::lock_guard lock(m_mutex);
            idle.swap(m_idle);
        }
        for (auto &[key, handles] : idle) {
            for (const Handle &h : handles)
                dropHandle(h.dbc);
        }
    }

    void prepare(std::function<void()> open)
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        std::erase_if(m_preparing, [](const std::future<void> &f) {
            return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
        m_preparing.push_back(std::async(std::launch::async, [open = std::move(open)] {
            try {
                open();
            } catch (...) {
                // Whoever asks next connects itself and hears why it cannot.
            }
        }));
    }

private:
    void sweep()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            m_wake.wait_for(lock, std::chrono::seconds(20));
            const auto now = std::chrono::steady_clock::now();
            std::vector<void *> expired;
            for (auto &[key, handles] : m_idle) {
                std::erase_if(handles, [&](const Handle &h) {
                    if (now - h.answeredAt < kIdleLimit)
                        return false;
                    expired.push_back(h.dbc);
                    return true;
                });
            }
            lock.unlock();
            for (void *dbc : expired)
                dropHandle(dbc);
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::map<QByteArray, std::vector<Handle>> m_idle;
    std::thread m_sweeper;
    std::vector<std::future<void>> m_preparing;
};

Keeper &keeper()
{
    static Keeper k;
    return k;
}
} // namespace

std::optional<Handle> take(const QByteArray &key) { return keeper().take(key); }
void give(const QByteArray &key, Handle handle) { keeper().give(key, std::move(handle)); }
int count() { return keeper().count(); }
void closeAll() { keeper().closeAll(); }
void prepare(std::function<void()> open) { keeper().prepare(std::move(open)); }

} // namespace talveros::data::kept
