// Build-time tool: speaks every word of the sample deck into its voice file (voice/NAME.wav)
// with flite's rms voice, prepared as the deck maker prepares every voice. A few flite
// processes run at a time, so that the whole deck takes seconds.
#include "deckcsv.h"
#include "speechsynth.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QThread>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-sample-voices FLITE DECKDIR OUTDIR\n");
        return 2;
    }
    const QString flite = QString::fromLocal8Bit(argv[1]);
    const QDir outDir(QString::fromLocal8Bit(argv[3]));
    const DeckCsv::ReadResult deck = DeckCsv::readUnchecked(QString::fromLocal8Bit(argv[2]));
    for (const DeckProblem& problem : deck.problems)
        std::fprintf(stderr, "%s\n", qPrintable(problem.toString()));
    if (!deck.problems.isEmpty())
        return 1;

    // One file per voice name, spoken from the first word that names it.
    QStringList names;
    QHash<QString, QString> textOf;
    for (const DeckWord& w : deck.deck.words)
        if (!textOf.contains(w.voice)) {
            textOf.insert(w.voice, w.word);
            names << w.voice;
        }

    // Each speaker takes the next name when it has saved its last one; the event loop ends
    // when the last speaker has nothing left to take.
    const int parallel = std::max(2, QThread::idealThreadCount());
    qsizetype next = 0;
    int idle = 0;
    int failures = 0;
    std::vector<std::unique_ptr<SpeechSynth>> speakers;
    const auto takeNext = [&](SpeechSynth& speaker) {
        if (next >= names.size()) {
            if (++idle == int(speakers.size()))
                QCoreApplication::quit();
            return;
        }
        const QString name = names.at(next++);
        speaker.setObjectName(name);
        speaker.synthesise(textOf.value(name));
    };
    for (int i = 0; i < parallel; ++i) {
        auto speaker = std::make_unique<SpeechSynth>();
        speaker->setProgram(flite);
        SpeechSynth* s = speaker.get();
        QObject::connect(s, &SpeechSynth::finished, s, [&, s](const Voice& voice) {
            const QString name = s->objectName();
            const QString error = voice.ok()
                                      ? voice.save(outDir.filePath(name + QStringLiteral(".wav")))
                                      : voice.error;
            if (!error.isEmpty()) {
                std::fprintf(stderr, "%s (%s): %s\n", qPrintable(name),
                             qPrintable(textOf.value(name)), qPrintable(error));
                ++failures;
            }
            takeNext(*s);
        });
        speakers.push_back(std::move(speaker));
    }
    for (auto& speaker : speakers)
        takeNext(*speaker);
    if (idle < int(speakers.size()))
        QCoreApplication::exec();
    return failures == 0 ? 0 : 1;
}
