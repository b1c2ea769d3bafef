// What a parent waits for when opening きろく: reading the deck and its history and drawing
// every chart, offscreen, on the generated 10,000-word deck with a year of history (200,000
// rows). Run from a Release build: build/bench/progress/bench-progress
#include "benchdeck.h"
#include "progresswindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <worddatafile.h>

namespace {

QString deck;

void openProgress(benchmark::State& state) {
    for (auto _ : state) {
        ProgressWindow window(deck);
        window.show();
        window.repaint();
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(openProgress)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir(BenchDeck::workFolderTemplate(QStringLiteral("bench-progress")));
    deck = dir.filePath(QStringLiteral("bench.pml"));
    BenchDeck::write(deck);
    BenchDeck::addHistory(deck, 200000, 365);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    WordDataFile::closeAll();
    return 0;
}
