#pragma once

#include "platform/AppControl.h"

namespace talveros::platform {

// Ends the program through Qt. A request made during start-up, before the event loop
// runs, is kept: main() asks requested() before app.exec() and returns exitCode()
// instead, and the exit is also queued so that a loop started anyway ends at once.
// After exec() returns, main() should prefer exitCode() when requested(): closing the
// last window may end the loop with status 0 of its own.
class QtAppControl final : public AppControl {
public:
    void quit(int exitCode) override;

    bool requested() const { return m_requested; }
    int exitCode() const { return m_exitCode; }

private:
    bool m_requested = false;
    int m_exitCode = 0;
};

} // namespace talveros::platform
