// PlaySoundFile's modes and volume words, and the real device under SDL's dummy driver.
#include "fakeplatform.h"
#include "platform/sdlsounddevice.h"
#include "platform/synthesizedsound.h"
#include "pmcm000.h"
#include "testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace PMCM000;

namespace {
// A silent 16-bit mono WAV file of the given length.
QByteArray silentWav(int milliseconds) {
    const quint32 rate = 22050;
    const quint32 dataBytes = rate * 2 * static_cast<quint32>(milliseconds) / 1000;
    QByteArray wav("RIFF");
    auto put = [&wav](quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            wav.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(36 + dataBytes, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(dataBytes, 4);
    wav += QByteArray(static_cast<qsizetype>(dataBytes), '\0');
    return wav;
}
} // namespace

Q_DECLARE_METATYPE(SdlSoundDevice::Source)

class TestSound : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

  private slots:
    void init() { fake = std::make_unique<FakePlatform>(); }
    void cleanup() { fake.reset(); }

    void modes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("plays");
        QTest::addColumn<bool>("waits");
        QTest::addColumn<quint32>("word");
        const quint32 startup = 0x12345678;
        QTest::newRow("0: start-up volume, async") << 0 << 100 << true << false << startup;
        QTest::newRow("1: start-up volume, waits") << 1 << 100 << true << true << startup;
        QTest::newRow("2 at 255") << 2 << 255 << true << false << 0x00FF00FFu;
        QTest::newRow("2 at 65535") << 2 << 65535 << true << false << 0xFFFFFFFFu;
        QTest::newRow("2 at 0 still plays") << 2 << 0 << true << false << 0u;
        QTest::newRow("3 waits") << 3 << 0x8000 << true << true << 0x80008000u;
        QTest::newRow("2 above range is full") << 2 << 70000 << true << false << 0xFFFFFFFFu;
        QTest::newRow("5 does nothing") << 5 << 255 << false << false << 0xAAAAAAAAu;
        QTest::newRow("-1 does nothing") << -1 << 255 << false << false << 0xAAAAAAAAu;
    }
    void modes() {
        QFETCH(int, mode);
        QFETCH(int, volume);
        QFETCH(bool, plays);
        QFETCH(bool, waits);
        QFETCH(quint32, word);
        StartupWaveVolume = 0x12345678;
        fake->sound.volumeWord = 0xAAAAAAAA;
        PlaySoundFile(QStringLiteral("/voice/cat.wav"), static_cast<qint16>(mode), volume);
        QCOMPARE(fake->sound.plays.size(), plays ? 1 : 0);
        // The volume stays set after playing.
        QCOMPARE(fake->sound.volumeWord, word);
        if (plays) {
            QCOMPARE(fake->sound.plays[0].path, QStringLiteral("/voice/cat.wav"));
            QCOMPARE(fake->sound.plays[0].wait, waits);
            QCOMPARE(fake->sound.plays[0].volume, word);
        }
    }

    void mixerVolumeSteps_data() {
        QTest::addColumn<quint32>("word");
        QTest::addColumn<int>("steps");
        QTest::newRow("silent") << 0u << 0;
        QTest::newRow("full") << 0xFFFFFFFFu << 128;
        QTest::newRow("half") << 0x80008000u << 64;
        QTest::newRow("just under half a step") << 0x00FF00FFu << 0;
        QTest::newRow("louder channel counts") << 0xFFFF0000u << 128;
    }
    void mixerVolumeSteps() {
        QFETCH(quint32, word);
        QFETCH(int, steps);
        QCOMPARE(SdlSoundDevice::mixerVolume(word), steps);
    }

    void synchronousPlayLastsAsLongAsTheSound() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("short.wav"));
        FakePlatform::writeFile(path, silentWav(300));
        SdlSoundDevice device;
        QElapsedTimer timer;
        timer.start();
        device.play(path, true);
        const qint64 waited = timer.elapsed();
        QVERIFY2(waited >= 250, qPrintable(QString::number(waited)));
        QVERIFY2(waited < 3000, qPrintable(QString::number(waited)));
    }

    // The sound is still playing when the call returns, however loaded the machine is.
    void asynchronousPlayReturnsWhileTheSoundPlays() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.wav"));
        FakePlatform::writeFile(path, silentWav(5000));
        SdlSoundDevice device;
        device.play(path, false);
        QVERIFY(device.playing());
        QCOMPARE(device.lastSource(), SdlSoundDevice::Source::File);
        const QString shortPath = dir.filePath(QStringLiteral("short.wav"));
        FakePlatform::writeFile(shortPath, silentWav(100));
        device.play(shortPath, true); // replaces the long one, and waits for its own end
        QVERIFY(!device.playing());
    }

    void theDeviceChoosesTheFileOrTheDefaultSound_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<SdlSoundDevice::Source>("source");
        QTest::newRow("a sound") << silentWav(100) << SdlSoundDevice::Source::File;
        QTest::newRow("missing") << QByteArray() << SdlSoundDevice::Source::DefaultChime;
        QTest::newRow("not a sound")
            << QByteArray("this is text, not a WAV file") << SdlSoundDevice::Source::DefaultChime;
        QTest::newRow("a cut-off sound")
            << silentWav(100).left(30) << SdlSoundDevice::Source::DefaultChime;
    }
    void theDeviceChoosesTheFileOrTheDefaultSound() {
        QFETCH(QByteArray, content);
        QFETCH(SdlSoundDevice::Source, source);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sound.wav"));
        if (!content.isEmpty())
            FakePlatform::writeFile(path, content);
        SdlSoundDevice device;
        device.play(path, false);
        QCOMPARE(device.lastSource(), source);
    }

    // Whatever a settings file names, the device reads only a regular file of a sane size:
    // a pipe would block for ever, a device or a huge file would fill memory.
    void onlyRegularFilesOfASaneSizeAreRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("playable");
        QTest::newRow("sound file") << QStringLiteral("wav") << true;
        QTest::newRow("folder") << QStringLiteral("folder") << false;
        QTest::newRow("named pipe") << QStringLiteral("fifo") << false;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << false;
        QTest::newRow("2 GB file") << QStringLiteral("huge") << false;
        QTest::newRow("no name") << QString() << false;
    }
    void onlyRegularFilesOfASaneSizeAreRead() {
        QFETCH(QString, kind);
        QFETCH(bool, playable);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("sound.wav"));
        if (kind == QStringLiteral("wav")) {
            FakePlatform::writeFile(path, silentWav(100));
        } else if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QStringLiteral("fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (kind == QStringLiteral("huge")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64(2) << 30)); // sparse: no disk used
        } else {
            path = kind;
        }
        QCOMPARE(SdlSoundDevice::isPlayableFile(path), playable);
        SdlSoundDevice device;
        QElapsedTimer timer;
        timer.start();
        device.play(path, true); // the default chime instead, about 0.4 s
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    }

    // A device that cannot be opened plays on the dummy driver this time, and the driver
    // asked for is tried again at the next opening.
    void failedOpeningFallsBackForThisOpeningOnly() {
        const QByteArray before = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("short.wav"));
        FakePlatform::writeFile(path, silentWav(300));
        {
            SdlSoundDevice device;
            QElapsedTimer timer;
            timer.start();
            device.play(path, true);
            QVERIFY2(timer.elapsed() >= 250, qPrintable(QString::number(timer.elapsed())));
        }
        const QByteArray after = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", before);
        QCOMPARE(after, QByteArray("no-such-driver"));
    }

    void synthesizedSoundsAreValidWavFiles() {
        for (auto sound :
             {SynthesizedSound::DefaultChime, SynthesizedSound::Ok, SynthesizedSound::Ng}) {
            const QByteArray wav = synthesizeWav(sound);
            QVERIFY(wav.startsWith("RIFF"));
            QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
            // Non-silent and between 0.2 and 1 second at 22050 Hz, 16-bit mono.
            const qsizetype samples = (wav.size() - 44) / 2;
            QVERIFY(samples > 22050 / 5 && samples < 22050);
            qint16 peak = 0;
            for (qsizetype i = 44; i + 1 < wav.size(); i += 2)
                peak = std::max<qint16>(peak, static_cast<qint16>(std::abs(static_cast<qint16>(
                                                  static_cast<quint8>(wav[i]) |
                                                  (static_cast<quint8>(wav[i + 1]) << 8)))));
            QVERIFY(peak > 3000);
        }
    }
};

PIMLOTAN_TEST_MAIN(TestSound)
#include "tst_sound.moc"
