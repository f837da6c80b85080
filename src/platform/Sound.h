#pragma once

namespace talveros::platform {

// Plays the live-tracking sound.
class Sound {
public:
    virtual ~Sound() = default;
};

} // namespace talveros::platform
