// The slide show's timing, offscreen under a real event loop:
//  - one card with a 1.0 s voice and a hold interval of 1: grow 1.0 s, voice 1.0 s, hold 0.2 s,
//    voice 1.0 s, shrink 1.0 s, 4.2 s in all; each phase is reported in seconds;
//  - play on a level of 2,000 words: reading the level and showing its first card.
// The sound device here waits as long as the voice file lasts, as the real one does.
// Run from a Release build: build-rel/bench/slideshow/bench-slideshow
// With --shots=FOLDER it also saves pictures of the screen at moments of one card.
#include "deckfixture.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "pml0030.h"
#include "slideshowengine.h"
#include "worddatafile.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

constexpr int SampleRate = 22050;

// A silent 16-bit mono WAV of the given length.
void writeVoice(const QString& path, double seconds) {
    const auto samples = static_cast<quint32>(seconds * SampleRate);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = samples * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(SampleRate) << quint32(SampleRate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    file.write(QByteArray(static_cast<qsizetype>(dataBytes), '\0'));
}

// The length of a PCM WAV file from its header, in milliseconds.
int wavMilliseconds(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(44);
    if (header.size() < 44 || !header.startsWith("RIFF"))
        return 0;
    quint32 byteRate = 0;
    quint32 dataBytes = 0;
    std::memcpy(&byteRate, header.constData() + 28, 4);
    std::memcpy(&dataBytes, header.constData() + 40, 4);
    return byteRate ? static_cast<int>(qint64(dataBytes) * 1000 / byteRate) : 0;
}

// Waits for the voice's length on a synchronous play, like the real device; records when each
// play started and ended.
class WaitingSoundDevice : public SoundDevice {
  public:
    void setVolume(quint32 word) override { volume_ = word; }
    quint32 volume() const override { return volume_; }
    void play(const QString& path, bool wait) override {
        const qint64 start = clock.nsecsElapsed();
        if (wait)
            QThread::msleep(static_cast<unsigned long>(wavMilliseconds(path)));
        plays.append({start, clock.nsecsElapsed()});
    }

    QElapsedTimer clock;
    QList<std::pair<qint64, qint64>> plays;

  private:
    quint32 volume_ = 0xFFFFFFFFu;
};

struct Bench {
    explicit Bench(int levelWords) {
        fake.platform.sound = &sound;
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true);
        deck.words(1, 1, 0, levelWords, 1);
        const QString path = dir.filePath(QStringLiteral("bench.pml"));
        deck.write(path);
        QDir().mkpath(dir.filePath(QStringLiteral("voice")));
        QDir().mkpath(dir.filePath(QStringLiteral("images")));
        writeVoice(dir.filePath(QStringLiteral("voice/w1.wav")), 1.0);
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor(250, 220, 120));
        QPainter(&picture).fillRect(120, 90, 400, 300, QColor(40, 120, 220));
        picture.save(dir.filePath(QStringLiteral("images/w1.jpg")), "JPG", 85);

        PMCM000::DataFilePath = path;
        PMCM000::DataFolder = dir.path() + u'/';
        PMCM000::WindowTitle = PMCM000::WindowTitlePrefix + QStringLiteral("bench.pml");
        PMCM000::SlideInterval = 1;
        PMCM000::VoiceVolume = 65535;
        form = new PML0030;
        form->show();
        form->Form_Activate();
        QCoreApplication::processEvents();
    }
    ~Bench() {
        delete form;
        WordDataFile::closeAll();
    }

    FakePlatform fake;
    WaitingSoundDevice sound;
    QTemporaryDir dir;
    PML0030* form = nullptr;
};

double seconds(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e9;
}

void oneCard(benchmark::State& state) {
    Bench bench(1);
    QEventLoop loop;
    qint64 offered = 0;
    // The end of the level offers the practice.
    bench.fake.prompter.onMessage = [&](const FakePrompter::Message&) {
        offered = bench.sound.clock.nsecsElapsed();
        loop.quit();
    };
    double grow = 0, voice1 = 0, hold = 0, voice2 = 0, shrink = 0;
    for (auto _ : state) {
        bench.sound.plays.clear();
        bench.sound.clock.start();
        bench.form->BT_WAV_Click();
        loop.exec();
        const auto& plays = bench.sound.plays;
        if (plays.size() != 2) {
            state.SkipWithError("the voice was not spoken twice");
            break;
        }
        grow += seconds(plays[0].first);
        voice1 += seconds(plays[0].second - plays[0].first);
        hold += seconds(plays[1].first - plays[0].second);
        voice2 += seconds(plays[1].second - plays[1].first);
        shrink += seconds(offered - plays[1].second);
        state.SetIterationTime(seconds(offered));
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["grow_s"] = grow / n;
    state.counters["voice1_s"] = voice1 / n;
    state.counters["hold_s"] = hold / n;
    state.counters["voice2_s"] = voice2 / n;
    state.counters["shrink_s"] = shrink / n;
    state.counters["total_s"] = (grow + voice1 + hold + voice2 + shrink) / n;
}

void playLevelOf2000(benchmark::State& state) {
    Bench bench(2000);
    for (auto _ : state) {
        bench.form->BT_WAV_Click();
        state.PauseTiming();
        if (bench.form->engine().state().CardCount != 2000)
            state.SkipWithError("the level was not read whole");
        bench.form->BT_stop_Click();
        state.ResumeTiming();
    }
}

// Pictures of one card: growing, full size, shrinking (time driven by hand).
void saveShots(const QString& folder) {
    Bench bench(3);
    QDir().mkpath(folder);
    SlideShowEngine& engine = bench.form->engine();
    auto shot = [&](const QString& name) {
        QCoreApplication::processEvents();
        bench.form->grab().save(folder + u'/' + name + QStringLiteral(".png"));
    };
    shot(QStringLiteral("0-stopped"));
    bench.form->BT_WAV_Click();
    engine.Timer1.stop(); // the handlers below are the clock
    for (int tick = 1; tick <= 10; ++tick) {
        bench.form->Timer1_Timer();
        if (tick == 3 || tick == 6)
            shot(QStringLiteral("1-grow-%1").arg(tick));
    }
    shot(QStringLiteral("2-full"));
    engine.Timer2.stop();
    engine.Timer3.start();
    engine.Timer3.stop();
    for (int tick = 1; tick <= 5; ++tick)
        bench.form->Timer3_Timer();
    shot(QStringLiteral("3-shrink-5"));
}

} // namespace

BENCHMARK(oneCard)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(3);
BENCHMARK(playLevelOf2000)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--shots=", 8) == 0) {
            saveShots(QString::fromLocal8Bit(argv[i] + 8));
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
