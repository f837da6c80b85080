#include "platform/LinuxSound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtEndian>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <thread>

// The resource lives in a static library: nothing would pull it into the program
// unless someone asks for it by name.
static void initSoundResource()
{
    Q_INIT_RESOURCE(talveros_sounds);
}

namespace talveros::platform {

namespace {

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

} // namespace

qint64 WaveSound::durationMs() const
{
    const qint64 frameBytes = qint64(channels) * (bitsPerSample / 8);
    if (frameBytes <= 0 || sampleRate <= 0)
        return 0;
    return (qint64(samples.size()) / frameBytes) * 1000 / sampleRate;
}

std::optional<WaveSound> parseWave(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    WaveSound sound;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const char *chunk = file.constData() + at;
        const QByteArray id(chunk, 4);
        const qint64 declared = le32(chunk + 4);
        const qint64 available = file.size() - (at + 8);
        const qint64 size = std::min(declared, available); // a cut-off file plays what it has
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            if (le16(chunk + 8) != 1) // plain integer PCM only
                return std::nullopt;
            sound.channels = le16(chunk + 10);
            sound.sampleRate = int(le32(chunk + 12));
            sound.bitsPerSample = le16(chunk + 22);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            sound.samples = file.mid(at + 8, qsizetype(size));
            break;
        }
        at += 8 + qsizetype(declared) + (declared & 1);
    }
    if (!haveFormat || sound.channels < 1 || sound.channels > 8 || sound.sampleRate < 1000
        || sound.sampleRate > 192000 || (sound.bitsPerSample != 8 && sound.bitsPerSample != 16))
        return std::nullopt;
    const qsizetype frameBytes = sound.channels * (sound.bitsPerSample / 8);
    sound.samples.truncate(sound.samples.size() - sound.samples.size() % frameBytes);
    if (sound.samples.isEmpty())
        return std::nullopt;
    return sound;
}

struct LinuxSound::Playback {
    std::atomic<bool> done{false};
    std::atomic<bool> played{false};
};

QString LinuxSound::defaultFile()
{
    return QStringLiteral(":/sounds/live-tracking.wav");
}

LinuxSound::LinuxSound(QString file, std::function<void()> beep) : m_file(std::move(file)), m_beep(std::move(beep))
{
    initSoundResource();
    if (!m_beep)
        m_beep = [] { QApplication::beep(); };
}

LinuxSound::~LinuxSound() = default;

bool LinuxSound::isPlaying() const
{
    return m_lastPlayback && !m_lastPlayback->done;
}

void LinuxSound::playLiveTrackingSound()
{
    QFile file(m_file);
    std::optional<WaveSound> sound;
    if (file.open(QIODevice::ReadOnly))
        sound = parseWave(file.readAll());
    if (!sound || isPlaying()) {
        m_beep();
        return;
    }

    auto playback = std::make_shared<Playback>();
    m_lastPlayback = playback;
    // Runs on its own thread: blocks until the server has played every sample, or fails
    // at once when there is no server or no device.
    std::thread([playback, samples = *sound] {
        pa_sample_spec spec{};
        spec.format = samples.bitsPerSample == 16 ? PA_SAMPLE_S16LE : PA_SAMPLE_U8;
        spec.rate = quint32(samples.sampleRate);
        spec.channels = quint8(samples.channels);
        int error = 0;
        if (pa_simple *stream = pa_simple_new(nullptr, "Talveros", PA_STREAM_PLAYBACK, nullptr, "Live tracking",
                                              &spec, nullptr, nullptr, &error)) {
            if (pa_simple_write(stream, samples.samples.constData(), size_t(samples.samples.size()), &error) == 0
                && pa_simple_drain(stream, &error) == 0)
                playback->played = true;
            pa_simple_free(stream);
        }
        playback->done = true;
    }).detach();

    // The window keeps painting (the indicator shows while the sound plays) but takes no
    // input until the sound has ended or the wait has run out.
    const qint64 bound = sound->durationMs() + kMarginMs;
    QElapsedTimer waited;
    waited.start();
    if (QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (playback->done || waited.elapsed() >= bound)
                loop.quit();
        });
        poll.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        while (!playback->done && waited.elapsed() < bound)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (playback->done && !playback->played)
        m_beep();
}

} // namespace talveros::platform
