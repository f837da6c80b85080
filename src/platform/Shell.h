#pragma once

#include <QString>

#include <functional>

namespace talveros::platform {

// Hands an address (mailto:, a web page) to the desktop, which opens it with the
// program registered for its scheme.
class Shell {
public:
    // Whether the desktop opened the address: false when it reports that it could not
    // (no program registered, no opener at all).
    using Verdict = std::function<void(bool opened)>;

    virtual ~Shell() = default;
    // The address goes out exactly as given. Returns without waiting for the desktop;
    // `verdict` runs once, later, on the calling thread.
    virtual void open(const QString &address, Verdict verdict) = 0;
};

} // namespace talveros::platform
