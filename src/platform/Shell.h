#pragma once

namespace talveros::platform {

// Hands an address (mailto:, a web page) to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
};

} // namespace talveros::platform
