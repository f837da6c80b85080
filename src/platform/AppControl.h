#pragma once

namespace talveros::platform {

// Ending the program, as a seam: a test sees the request instead of losing its process.
class AppControl {
public:
    virtual ~AppControl() = default;
    virtual void quit(int exitCode) = 0;
};

} // namespace talveros::platform
