// Speech from flite, both ways a caller gets it. FLITE_PROGRAM is the flite the build found.
#include "speechsynth.h"
#include "testsignals.h"

#include <QSignalSpy>
#include <QTest>

using namespace TestSignals;
Q_DECLARE_METATYPE(Voice::Reason)

namespace {

const QString flite = QStringLiteral(FLITE_PROGRAM);

Voice voiceFrom(const QSignalSpy& spy) {
    return spy.at(0).at(0).value<Voice>();
}

// What every spoken word must look like in a deck.
void checkSpokenWord(const Voice& voice) {
    QVERIFY2(voice.ok(), qPrintable(voice.error));
    QVERIFY2(voice.seconds() > 0.3 && voice.seconds() < 2.5,
             qPrintable(QString::number(voice.seconds())));
    QVERIFY(std::abs(peak(voice.samples) - dbfs(-1)) < 0.01);
    const double leading = leadingQuiet(voice.samples, Voice::rate, 0.01f);
    QVERIFY2(leading <= 0.060, qPrintable(QString::number(leading)));
}

} // namespace

class TestSpeechSynth : public QObject {
    Q_OBJECT

  private slots:
    void spokenWhileTheEventLoopRuns() {
        SpeechSynth synth;
        synth.setProgram(flite);
        QSignalSpy finished(&synth, &SpeechSynth::finished);
        synth.synthesise(QStringLiteral("elephant"));
        QVERIFY(synth.isBusy());
        QVERIFY(finished.wait(20000));
        QVERIFY(!synth.isBusy());
        checkSpokenWord(voiceFrom(finished));
        qInfo("\"elephant\": %.3f s", voiceFrom(finished).seconds());
    }

    void aNewTextReplacesOneStillSpeaking() {
        SpeechSynth synth;
        synth.setProgram(flite);
        QSignalSpy finished(&synth, &SpeechSynth::finished);
        synth.synthesise(QStringLiteral("hippopotamus and crocodile"));
        synth.synthesise(QStringLiteral("cat"));
        QVERIFY(finished.wait(20000));
        QTest::qWait(200); // nothing more arrives for the abandoned take
        QCOMPARE(finished.count(), 1);
        QVERIFY(voiceFrom(finished).seconds() < 1.2);
    }

    void spokenAtOnce_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("a word") << QStringLiteral("elephant");
        QTest::newRow("two words") << QStringLiteral("ice cream");
        // Given to flite on its command line, these would be taken as its options.
        QTest::newRow("looks like an option") << QStringLiteral("--version");
        QTest::newRow("looks like an output option") << QStringLiteral("-o play");
    }
    void spokenAtOnce() {
        QFETCH(QString, text);
        checkSpokenWord(SpeechSynth::synthesiseNow(text, flite));
    }

    void refused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("error");
        QTest::addColumn<Voice::Reason>("reason");
        QTest::newRow("empty") << QString() << flite << QStringLiteral("there is no text to speak")
                               << Voice::Reason::SpeechFailed;
        QTest::newRow("blank") << QStringLiteral(" \n\t") << flite
                               << QStringLiteral("there is no text to speak")
                               << Voice::Reason::SpeechFailed;
        QTest::newRow("flite missing")
            << QStringLiteral("cat") << QStringLiteral("/nonexistent/flite")
            << QStringLiteral("flite is not installed") << Voice::Reason::NoSpeechEngine;
        QTest::newRow("flite fails")
            << QStringLiteral("cat") << QStringLiteral("/bin/false")
            << QStringLiteral("flite failed") << Voice::Reason::SpeechFailed;
    }
    void refused() {
        QFETCH(QString, text);
        QFETCH(QString, program);
        QFETCH(QString, error);
        QFETCH(Voice::Reason, reason);
        const Voice now = SpeechSynth::synthesiseNow(text, program);
        QVERIFY2(now.error.startsWith(error), qPrintable(now.error));
        QCOMPARE(now.reason, reason);

        SpeechSynth synth;
        synth.setProgram(program);
        QSignalSpy finished(&synth, &SpeechSynth::finished);
        synth.synthesise(text);
        QCOMPARE(finished.count(), 0); // never inside synthesise()
        QVERIFY(finished.wait(5000));
        QVERIFY2(voiceFrom(finished).error.startsWith(error),
                 qPrintable(voiceFrom(finished).error));
        QCOMPARE(voiceFrom(finished).reason, reason);
    }
};

QTEST_GUILESS_MAIN(TestSpeechSynth)
#include "tst_speechsynth.moc"
