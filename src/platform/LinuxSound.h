#pragma once

#include "platform/Sound.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace talveros::platform {

// 16-bit or 8-bit integer samples as a RIFF/WAVE file holds them.
struct WaveSound {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    QByteArray samples;

    // How long the samples last when played, in milliseconds.
    qint64 durationMs() const;
};

// The sound in a WAVE file's bytes; empty for anything it cannot play as plain PCM.
std::optional<WaveSound> parseWave(const QByteArray &file);

// Plays through the desktop's sound server (PulseAudio, or PipeWire in its stead) on a
// worker thread while the window goes on painting without taking input; the wait ends
// after the sound's length plus a margin even if the server never answers.
class LinuxSound final : public Sound {
public:
    // The sound built into the program.
    static QString defaultFile();

    explicit LinuxSound(QString file = defaultFile(), std::function<void()> beep = {});
    ~LinuxSound() override;

    void playLiveTrackingSound() override;
    // Whether a play that outlived its wait is still going on.
    bool isPlaying() const;

    // What a play waits at most beyond the sound's own length.
    static constexpr qint64 kMarginMs = 1500;

private:
    struct Playback;

    QString m_file;
    std::function<void()> m_beep;
    // A play that outlived its wait: a new one does not start while it still runs.
    std::shared_ptr<Playback> m_lastPlayback;
};

} // namespace talveros::platform
