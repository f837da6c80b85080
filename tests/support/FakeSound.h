#pragma once

#include "platform/Sound.h"

#include <functional>

namespace talveros::test {

// Records each play; `whilePlaying` lets a test look at the window while the sound
// would be sounding.
class FakeSound final : public platform::Sound {
public:
    void playLiveTrackingSound() override
    {
        ++plays;
        if (whilePlaying)
            whilePlaying();
    }

    int plays = 0;
    std::function<void()> whilePlaying;
};

} // namespace talveros::test
