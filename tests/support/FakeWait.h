#pragma once

#include "data/ServerWait.h"

#include <QThread>

#include <chrono>
#include <functional>

namespace talveros::test {

// Waits for a server call without windows, or gives it up at once; counts the calls
// made under it and runs `meanwhile` while one waits. With `giveUpWhen`, gives up the
// first call during which it turns true (asked every few milliseconds, on this thread:
// it must not reach the server through the data layer here) and waits for every other.
class FakeWait final : public data::WaitHook {
public:
    bool giveUp = false;
    int waits = 0;
    std::function<void()> meanwhile;
    std::function<bool()> giveUpWhen;
    bool gaveUp = false;

    void wait(data::ServerCall &call) override
    {
        ++waits;
        if (meanwhile)
            meanwhile();
        if (giveUp)
            return;
        auto asked = std::chrono::steady_clock::now();
        while (!call.finished()) {
            if (giveUpWhen && !gaveUp && std::chrono::steady_clock::now() - asked > std::chrono::milliseconds(10)) {
                if (giveUpWhen()) {
                    gaveUp = true;
                    return;
                }
                asked = std::chrono::steady_clock::now();
            }
            QThread::yieldCurrentThread();
        }
    }
};

} // namespace talveros::test
