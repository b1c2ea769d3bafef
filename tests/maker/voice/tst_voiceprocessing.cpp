// Resampling, trimming and normalising measured on known signals; a chosen file end to end.
#include "testsignals.h"
#include "voice.h"
#include "voiceprocessing.h"
#include "wavfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSignals;

namespace {

// The RMS of the middle half, as a peak (sine) amplitude; the edges see the filter run in.
double middleAmplitude(const std::vector<float>& s) {
    double sum = 0;
    const std::size_t from = s.size() / 4, to = s.size() * 3 / 4;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(2 * sum / double(to - from));
}

} // namespace

class TestVoiceProcessing : public QObject {
    Q_OBJECT

  private slots:
    void resampleKeepsThePassBand_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<double>("hertz");
        QTest::newRow("44.1 kHz down, 1 kHz") << 44100 << 22050 << 1000.0;
        QTest::newRow("an odd rate, 44,101 Hz") << 44101 << 22050 << 1000.0;
        QTest::newRow("48 kHz down, 3 kHz") << 48000 << 22050 << 3000.0;
        QTest::newRow("48 kHz down, 9 kHz") << 48000 << 22050 << 9000.0;
        QTest::newRow("16 kHz up, 1 kHz") << 16000 << 22050 << 1000.0;
        QTest::newRow("8 kHz up, 3 kHz") << 8000 << 22050 << 3000.0;
    }
    void resampleKeepsThePassBand() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(double, hertz);
        const std::vector<float> out =
            VoiceProcessing::resample(tone(0.5, from, hertz, 0.5), from, to);
        QVERIFY(std::abs(double(out.size()) - 0.5 * to) <= 1);
        // The same sine at the new rate, sample for sample, away from the ends.
        const std::vector<float> ideal = tone(0.5, to, hertz, 0.5);
        double worst = 0;
        for (std::size_t i = out.size() / 10; i < out.size() * 9 / 10; ++i)
            worst = std::max(worst, double(std::abs(out[i] - ideal[i])));
        QVERIFY2(worst < 0.005, qPrintable(QString::number(worst)));
    }

    void resampleRemovesWhatTheNewRateCannotHold_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<double>("hertz");
        // Without a low-pass these fold back to 7.05 kHz and 10.05 kHz at full strength.
        QTest::newRow("44.1 kHz, 15 kHz") << 44100 << 15000.0;
        QTest::newRow("48 kHz, 12 kHz") << 48000 << 12000.0;
    }
    void resampleRemovesWhatTheNewRateCannotHold() {
        QFETCH(int, from);
        QFETCH(double, hertz);
        const std::vector<float> out =
            VoiceProcessing::resample(tone(0.5, from, hertz, 0.5), from, Voice::rate);
        QVERIFY2(middleAmplitude(out) < 0.5 * dbfs(-60),
                 qPrintable(QString::number(middleAmplitude(out))));
    }

    void trim_data() {
        QTest::addColumn<QList<float>>("take");
        QTest::addColumn<double>("lead");
        QTest::addColumn<double>("tail");
        QTest::addColumn<float>("sound"); // what counts as sound in measuring the result
        const int r = Voice::rate;
        const auto list = [](const std::vector<float>& v) {
            return QList<float>(v.begin(), v.end());
        };
        QTest::newRow("long quiet either side")
            << list(join({silence(0.5, r), tone(0.3, r, 440, 0.3), silence(0.6, r)})) << 0.050
            << 0.100 << 0.01f;
        QTest::newRow("little quiet either side is made up")
            << list(join({silence(0.02, r), tone(0.3, r, 440, 0.3), silence(0.03, r)})) << 0.050
            << 0.100 << 0.01f;
        QTest::newRow("sound from the first to the last sample")
            << list(tone(0.3, r, 440, 0.3)) << 0.050 << 0.100 << 0.01f;
        QTest::newRow("louder room noise")
            << list(mixed(join({silence(0.4, r), tone(0.3, r, 440, 0.3), silence(0.4, r)}),
                          noise(1.1, r, dbfs(-45))))
            << 0.050 << 0.100 << 0.05f;
        QTest::newRow("room noise under the floor")
            << list(mixed(join({silence(0.4, r), tone(0.3, r, 440, 0.3), silence(0.4, r)}),
                          noise(1.1, r, dbfs(-55))))
            << 0.050 << 0.100 << 0.01f;
        QTest::newRow("a soft start before the loud part is kept")
            << list(join({silence(0.4, r), tone(0.1, r, 3000, 0.02), tone(0.3, r, 440, 0.8),
                          silence(0.4, r)}))
            << 0.050 << 0.100 << 0.01f;
        QTest::newRow("a soft end after the loud part is kept")
            << list(join({silence(0.4, r), tone(0.3, r, 440, 0.8), tone(0.1, r, 3000, 0.02),
                          silence(0.4, r)}))
            << 0.050 << 0.100 << 0.01f;
    }
    void trim() {
        QFETCH(QList<float>, take);
        QFETCH(double, lead);
        QFETCH(double, tail);
        QFETCH(float, sound);
        const std::vector<float> out =
            VoiceProcessing::trimSilence(std::vector<float>(take.begin(), take.end()), Voice::rate);
        QVERIFY(!out.empty());
        const double leading = leadingQuiet(out, Voice::rate, sound);
        const double trailing = trailingQuiet(out, Voice::rate, sound);
        QVERIFY2(std::abs(leading - lead) < 0.003, qPrintable(QString::number(leading)));
        QVERIFY2(std::abs(trailing - tail) < 0.003, qPrintable(QString::number(trailing)));
        QCOMPARE(out.front(), 0.0f);
        QCOMPARE(out.back(), 0.0f);
    }

    void nothingAboveTheNoise_data() {
        QTest::addColumn<QList<float>>("take");
        const int r = 44100;
        const auto list = [](const std::vector<float>& v) {
            return QList<float>(v.begin(), v.end());
        };
        QTest::newRow("empty") << QList<float>{};
        QTest::newRow("digital silence") << list(silence(1.0, r));
        QTest::newRow("hiss at -50 dBFS") << list(noise(1.0, r, dbfs(-50)));
        QTest::newRow("hum at -45 dBFS") << list(tone(1.0, r, 50, dbfs(-45)));
        QTest::newRow("a constant offset") << list(std::vector<float>(std::size_t(r), 0.3f));
    }
    void nothingAboveTheNoise() {
        QFETCH(QList<float>, take);
        const Voice voice =
            VoiceProcessing::prepare(std::vector<float>(take.begin(), take.end()), 44100);
        QVERIFY(!voice.ok());
        QCOMPARE(voice.error, QStringLiteral("no voice heard"));
        QVERIFY(voice.samples.empty());
    }

    void prepare_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("offset");
        QTest::newRow("44.1 kHz") << 44100 << 0.0;
        QTest::newRow("16 kHz") << 16000 << 0.0;
        QTest::newRow("22.05 kHz with a microphone's offset") << 22050 << 0.05;
    }
    void prepare() {
        QFETCH(int, rate);
        QFETCH(double, offset);
        std::vector<float> take =
            mixed(join({silence(0.3, rate), tone(0.5, rate, 500, dbfs(-20)), silence(0.3, rate)}),
                  noise(1.1, rate, dbfs(-60)));
        for (float& s : take)
            s += float(offset);
        const Voice voice = VoiceProcessing::prepare(take, rate);
        QVERIFY2(voice.ok(), qPrintable(voice.error));
        QVERIFY(std::abs(peak(voice.samples) - dbfs(-1)) < 1e-4);
        // (The high-pass against an offset rings on for a few ms after the tone.)
        QVERIFY2(std::abs(voice.seconds() - 0.65) < 0.015,
                 qPrintable(QString::number(voice.seconds())));
        const double leading = leadingQuiet(voice.samples, Voice::rate, 0.05f);
        QVERIFY2(std::abs(leading - 0.05) < 0.003, qPrintable(QString::number(leading)));
    }

    void chosenFileBecomesADeckVoice() {
        QTemporaryDir dir;
        const int rate = 48000;
        const std::vector<float> take =
            join({silence(0.4, rate), tone(0.4, rate, 300, dbfs(-30)), silence(0.4, rate)});
        const QString chosen = dir.filePath(QStringLiteral("chosen.wav"));
        QCOMPARE(WavFile::write(chosen, take, rate), QString());

        const Voice voice = Voice::fromFile(chosen);
        QVERIFY2(voice.ok(), qPrintable(voice.error));
        const QString saved = dir.filePath(QStringLiteral("deck/voice/cat.wav"));
        QCOMPARE(voice.save(saved), QString());
        const WavFile::Audio back = WavFile::read(saved);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QCOMPARE(back.rate, 22050);
        QCOMPARE(back.samples.size(), voice.samples.size());
        QVERIFY(std::abs(peak(back.samples) - dbfs(-1)) < 1e-3);
    }

    void unusableFilesGiveTheirReason() {
        QTemporaryDir dir;
        const QString quiet = dir.filePath(QStringLiteral("quiet.wav"));
        QCOMPARE(WavFile::write(quiet, silence(1.0, 22050), 22050), QString());
        QCOMPARE(Voice::fromFile(quiet).error, QStringLiteral("no voice heard"));
        QCOMPARE(Voice::fromFile(quiet).reason, Voice::Reason::NoVoiceHeard);
        const Voice none = Voice::fromFile(dir.filePath(QStringLiteral("none.wav")));
        QVERIFY(none.error.contains(QStringLiteral("none.wav")));
        QCOMPARE(none.reason, Voice::Reason::NotUsable);
        QVERIFY(!Voice::failure(Voice::Reason::NotUsable, QStringLiteral("x"))
                     .save(dir.filePath(QStringLiteral("x.wav")))
                     .isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.wav"))));
    }
};

QTEST_GUILESS_MAIN(TestVoiceProcessing)
#include "tst_voiceprocessing.moc"
