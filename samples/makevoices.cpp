// Build-time tool: speaks every word of the sample deck into its voice file (voice/NAME.wav)
// with espeak-ng, a few processes at a time so that the whole deck takes seconds.
#include "deckcsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-sample-voices ESPEAK-NG DECKDIR OUTDIR\n");
        return 2;
    }
    const QString espeak = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[3]);
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

    QDir().mkpath(outDir);
    const int parallel = std::max(2, QThread::idealThreadCount());
    std::vector<std::unique_ptr<QProcess>> running;
    int failures = 0;
    const auto finish = [&](QProcess& process) {
        process.waitForFinished(-1);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(process.arguments().constLast()),
                         process.readAllStandardError().constData());
            ++failures;
        }
    };
    for (const QString& name : names) {
        if (running.size() >= std::size_t(parallel)) {
            finish(*running.front());
            running.erase(running.begin());
        }
        auto process = std::make_unique<QProcess>();
        // A slow, clear American voice; the text goes in on stdin, so no word reads as an option.
        process->start(espeak, {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-s"),
                                QStringLiteral("130"), QStringLiteral("-w"),
                                QDir(outDir).filePath(name + QStringLiteral(".wav"))});
        if (!process->waitForStarted()) {
            std::fprintf(stderr, "%s: cannot start\n", qPrintable(espeak));
            return 1;
        }
        process->write(textOf.value(name).toUtf8());
        process->closeWriteChannel();
        running.push_back(std::move(process));
    }
    for (auto& process : running)
        finish(*process);
    return failures == 0 ? 0 : 1;
}
