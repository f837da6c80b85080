#pragma once

namespace talveros::platform {

// The live-tracking sound, as a seam: a test records each play instead of making noise.
class Sound {
public:
    virtual ~Sound() = default;
    // Plays the sound to its end before returning; the window takes no input meanwhile.
    // Where it cannot play, the desktop's beep stands in. Never waits much longer than
    // the sound lasts, whatever the audio service does.
    virtual void playLiveTrackingSound() = 0;
};

} // namespace talveros::platform
