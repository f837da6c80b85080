#include "platform/LinuxSound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace talveros;
using platform::LinuxSound;

namespace {

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body, qint64 declared = -1)
{
    QByteArray c = id + le32(quint32(declared < 0 ? body.size() : declared)) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray format(int encoding, int channels, int rate, int bits)
{
    return chunk("fmt ", le16(quint16(encoding)) + le16(quint16(channels)) + le32(quint32(rate))
                             + le32(quint32(rate * channels * bits / 8)) + le16(quint16(channels * bits / 8))
                             + le16(quint16(bits)));
}

QByteArray riff(const QByteArray &chunks) { return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks; }

} // namespace

class TestPresenceSound : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("playable");
        QTest::addColumn<int>("sampleBytes");
        QTest::addColumn<qint64>("durationMs");

        const QByteArray second16(44100, 'x'); // 22050 frames of mono 16-bit
        QTest::newRow("16-bit mono") << riff(format(1, 1, 22050, 16) + chunk("data", second16)) << true << 44100
                                     << qint64(1000);
        QTest::newRow("8-bit stereo") << riff(format(1, 2, 8000, 8) + chunk("data", QByteArray(4000, 'x'))) << true
                                      << 4000 << qint64(250);
        QTest::newRow("odd chunk before the format is padded")
            << riff(chunk("LIST", "abc") + format(1, 1, 8000, 8) + chunk("data", QByteArray(800, 'x'))) << true << 800
            << qint64(100);
        QTest::newRow("data cut short plays what is there, whole frames")
            << riff(format(1, 2, 8000, 16) + chunk("data", QByteArray(3202, 'x'), 64000)) << true << 3200
            << qint64(100);
        QTest::newRow("not a RIFF file") << QByteArray("just some text, not a sound") << false << 0 << qint64(0);
        QTest::newRow("empty file") << QByteArray() << false << 0 << qint64(0);
        QTest::newRow("no format chunk") << riff(chunk("data", second16)) << false << 0 << qint64(0);
        QTest::newRow("floating-point samples") << riff(format(3, 1, 22050, 32) + chunk("data", second16)) << false
                                                << 0 << qint64(0);
        QTest::newRow("24-bit samples") << riff(format(1, 1, 22050, 24) + chunk("data", second16)) << false << 0
                                        << qint64(0);
        QTest::newRow("no samples") << riff(format(1, 1, 22050, 16) + chunk("data", {})) << false << 0 << qint64(0);
        QTest::newRow("absurd rate") << riff(format(1, 1, 7, 16) + chunk("data", second16)) << false << 0 << qint64(0);
        QTest::newRow("header only") << QByteArray("RIFF\xff\xff\xff\xffWAVEfmt ") << false << 0 << qint64(0);
    }

    void parse()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, playable);
        const auto sound = platform::parseWave(file);
        QCOMPARE(sound.has_value(), playable);
        if (!sound)
            return;
        QTEST(int(sound->samples.size()), "sampleBytes");
        QTEST(sound->durationMs(), "durationMs");
    }

    void builtInSoundIsShort()
    {
        LinuxSound sound; // makes the built-in resource available
        QFile file(LinuxSound::defaultFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto wave = platform::parseWave(file.readAll());
        QVERIFY(wave);
        QVERIFY2(wave->durationMs() >= 150 && wave->durationMs() <= 1000, qPrintable(QString::number(wave->durationMs())));
    }

    void unplayableFileBeeps_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("not a sound") << QByteArray("<html>not found</html>");
    }

    void unplayableFileBeeps()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath("sound.wav");
        if (!contents.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents);
        }
        int beeps = 0;
        LinuxSound sound(path, [&] { ++beeps; });
        sound.playLiveTrackingSound();
        QCOMPARE(beeps, 1);
    }

    void noSoundServerBeepsAtOnce()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/talveros-test/native");
        int beeps = 0;
        LinuxSound sound(LinuxSound::defaultFile(), [&] { ++beeps; });
        QElapsedTimer t;
        t.start();
        sound.playLiveTrackingSound();
        QCOMPARE(beeps, 1);
        QVERIFY2(t.elapsed() < LinuxSound::kMarginMs, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!sound.isPlaying());
    }

    // A server that takes the connection and then never answers must not hold the
    // window for longer than the sound plus the margin, nor pile up waiting plays.
    void silentServerBoundsTheWait()
    {
        QTemporaryDir dir;
        QLocalServer server;
        QVERIFY(server.listen(dir.filePath("native")));
        std::vector<QLocalSocket *> held;
        connect(&server, &QLocalServer::newConnection, this, [&] {
            while (QLocalSocket *s = server.nextPendingConnection())
                held.push_back(s);
        });
        qputenv("PULSE_SERVER", "unix:" + dir.filePath("native").toUtf8());

        QFile file(LinuxSound::defaultFile());
        int beeps = 0;
        LinuxSound sound(LinuxSound::defaultFile(), [&] { ++beeps; });
        QVERIFY(file.open(QIODevice::ReadOnly));
        const qint64 length = platform::parseWave(file.readAll())->durationMs();

        QElapsedTimer t;
        t.start();
        sound.playLiveTrackingSound();
        const qint64 waited = t.elapsed();
        QVERIFY2(waited >= length && waited < length + LinuxSound::kMarginMs + 1000, qPrintable(QString::number(waited)));
        QCOMPARE(beeps, 0);
        QVERIFY(sound.isPlaying());

        t.restart();
        sound.playLiveTrackingSound(); // the first still hangs: the beep, at once
        QCOMPARE(beeps, 1);
        QVERIFY(t.elapsed() < 500);

        for (QLocalSocket *s : held)
            s->abort();
        server.close();
        QTRY_VERIFY_WITH_TIMEOUT(!sound.isPlaying(), 20000);
    }
};

QTEST_GUILESS_MAIN(TestPresenceSound)
#include "tst_presencesound.moc"
