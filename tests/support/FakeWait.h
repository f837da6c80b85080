#pragma once

#include "data/ServerWait.h"

#include <QThread>

#include <functional>

namespace talveros::test {

// Waits for a server call without windows, or gives it up at once; counts the calls
// made under it and runs `meanwhile` while one waits.
class FakeWait final : public data::WaitHook {
public:
    bool giveUp = false;
    int waits = 0;
    std::function<void()> meanwhile;

    void wait(data::ServerCall &call) override
    {
        ++waits;
        if (meanwhile)
            meanwhile();
        if (giveUp)
            return;
        while (!call.finished())
            QThread::yieldCurrentThread();
    }
};

} // namespace talveros::test
