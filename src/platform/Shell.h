#pragma once

#include <QString>

namespace talveros::platform {

// Hands an address (mailto:, a web page) to the desktop, which opens it with the
// program registered for its scheme.
class Shell {
public:
    virtual ~Shell() = default;
    // The address goes out exactly as given. False when the desktop reports that it
    // could not open it (no program registered, no opener at all).
    virtual bool open(const QString &address) = 0;
};

} // namespace talveros::platform
