// Recording through SDL's disk driver, which reads a raw file as the microphone: the file is
// in the format the recorder asks for (16-bit mono at 22,050 Hz; the driver takes any), and
// SDL_DISKAUDIODELAY makes it deliver a 512-sample buffer every 10 ms, a little over twice
// real time.
#include "testsignals.h"
#include "voicerecorder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSignals;

namespace {

void writeRaw(const QString& path, const std::vector<float>& samples) {
    QByteArray bytes;
    for (const float s : samples) {
        const auto v = qint16(std::lround(s * 32767));
        bytes.append(char(v & 0xFF));
        bytes.append(char(quint16(v) >> 8));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

Voice voiceFrom(const QSignalSpy& spy) {
    return spy.at(0).at(0).value<Voice>();
}

} // namespace

class TestVoiceRecorder : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    void useMicrophoneFile(const QString& path) {
        qputenv("SDL_DISKAUDIOFILEIN", path.toLocal8Bit());
    }

  private slots:
    void initTestCase() {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIODELAY", "10");
        qputenv("SDL_DISKAUDIOFILE", m_dir.filePath(QStringLiteral("out.raw")).toLocal8Bit());
    }

    void aTakeStopsByItselfTrimmedAndNormalised() {
        const int r = Voice::rate;
        const QString input = m_dir.filePath(QStringLiteral("word.raw"));
        writeRaw(input, join({silence(0.5, r), tone(0.4, r, 1000, dbfs(-12)), silence(0.5, r)}));
        useMicrophoneFile(input);

        VoiceRecorder recorder;
        recorder.setMaximumSeconds(1.4);
        QSignalSpy levels(&recorder, &VoiceRecorder::levelChanged);
        QSignalSpy finished(&recorder, &VoiceRecorder::finished);
        QElapsedTimer clock;
        clock.start();
        recorder.start();
        QVERIFY(recorder.isRecording());
        QVERIFY(finished.wait(10000));
        const double wallSeconds = clock.elapsed() / 1000.0;
        QVERIFY(!recorder.isRecording());
        QCOMPARE(finished.count(), 1);

        const Voice voice = voiceFrom(finished);
        QVERIFY2(voice.ok(), qPrintable(voice.error));
        const double leading = leadingQuiet(voice.samples, r, 0.01f);
        QVERIFY2(std::abs(leading - 0.050) < 0.005, qPrintable(QString::number(leading)));
        QVERIFY(std::abs(peak(voice.samples) - dbfs(-1)) < 0.01);
        QVERIFY2(std::abs(voice.seconds() - 0.55) < 0.02,
                 qPrintable(QString::number(voice.seconds())));

        // The meter showed the tone's peak while it came in, often enough to move smoothly,
        // and fell back to zero at the end.
        double loudest = 0;
        for (const QList<QVariant>& args : levels)
            loudest = std::max(loudest, args.at(0).toDouble());
        QVERIFY2(std::abs(loudest - dbfs(-12)) < 0.02, qPrintable(QString::number(loudest)));
        QVERIFY2(
            levels.count() >= 10 * wallSeconds,
            qPrintable(QStringLiteral("%1 levels in %2 s").arg(levels.count()).arg(wallSeconds)));
        QCOMPARE(levels.last().at(0).toDouble(), 0.0);
    }

    void stopEndsATakeOfNothing() {
        const QString input = m_dir.filePath(QStringLiteral("hiss.raw"));
        writeRaw(input, noise(3.0, Voice::rate, dbfs(-60)));
        useMicrophoneFile(input);

        VoiceRecorder recorder;
        QSignalSpy finished(&recorder, &VoiceRecorder::finished);
        recorder.start();
        QTimer::singleShot(300, &recorder, &VoiceRecorder::stop);
        QVERIFY(finished.wait(5000));
        QCOMPARE(voiceFrom(finished).error, QStringLiteral("no voice heard"));
        QCOMPARE(voiceFrom(finished).reason, Voice::Reason::NoVoiceHeard);
        QVERIFY(!recorder.isRecording());
        recorder.stop(); // a second stop does nothing
        QCOMPARE(finished.count(), 1);
    }

    void noMicrophoneIsReportedLater() {
        useMicrophoneFile(m_dir.filePath(QStringLiteral("no/such/device.raw")));
        VoiceRecorder recorder;
        QSignalSpy finished(&recorder, &VoiceRecorder::finished);
        recorder.start();
        QVERIFY(!recorder.isRecording());
        QCOMPARE(finished.count(), 0); // never inside start()
        QVERIFY(finished.wait(2000));
        QVERIFY2(voiceFrom(finished).error.startsWith(QStringLiteral("no microphone")),
                 qPrintable(voiceFrom(finished).error));
        QCOMPARE(voiceFrom(finished).reason, Voice::Reason::NoMicrophone);
    }
};

QTEST_GUILESS_MAIN(TestVoiceRecorder)
#include "tst_voicerecorder.moc"
