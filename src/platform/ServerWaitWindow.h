#pragma once

#include "data/ServerWait.h"

#include <QString>

class QWidget;

namespace talveros::platform {

// The text of the small window that shows after a second of waiting.
QString serverWaitText();

// Keeps the window painting while a server call runs: a busy cursor at once, no input
// for the windows meanwhile, and after `windowDelayMs` a small window whose button
// gives up the wait. Closing that window gives up too.
class ServerWaitWindow final : public data::WaitHook {
public:
    explicit ServerWaitWindow(int windowDelayMs = 1000) : m_windowDelayMs(windowDelayMs) {}
    void wait(data::ServerCall &call) override;

private:
    int m_windowDelayMs;
};

// Installs a wait hook for the lifetime of the scope and puts back the one it replaced.
class WaitHookScope {
public:
    explicit WaitHookScope(data::WaitHook *hook) : m_previous(data::setWaitHook(hook)) {}
    ~WaitHookScope() { data::setWaitHook(m_previous); }
    WaitHookScope(const WaitHookScope &) = delete;
    WaitHookScope &operator=(const WaitHookScope &) = delete;

private:
    data::WaitHook *m_previous;
};

} // namespace talveros::platform
