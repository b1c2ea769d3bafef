// Converting an older (Access 2000-format) deck of 10,000 words into our format, without media.
// Run from a Release build: build-rel/bench/legacy/bench-legacy
// The files are written in the current folder; PIMLOTAN_BENCH_DIR names another folder.
#include "legacyimport.h"
#include "olddeck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString oldDeck;
QString newDeck;

void convert(benchmark::State& state) {
    for (auto _ : state) {
        const ImportReport report = LegacyImport::convert(oldDeck, newDeck);
        benchmark::DoNotOptimize(report.words);
    }
}

} // namespace

BENCHMARK(convert)->Name("convert 10,000 words")->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString base = qEnvironmentVariable("PIMLOTAN_BENCH_DIR", QDir::currentPath());
    QTemporaryDir dir(base + QStringLiteral("/bench-legacy-XXXXXX"));
    if (!dir.isValid())
        return 1;
    OldDeck deck;
    deck.words = 10000;
    deck.link = OldDeck::Link::SelectWordJoin;
    oldDeck = dir.filePath(QStringLiteral("old.pml"));
    newDeck = dir.filePath(QStringLiteral("new/new.pml"));
    if (!deck.writer().write(oldDeck))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
