// What a parent waits for in the deck maker: a key typed in the English field until the
// picture and meaning suggestions are drawn (the search, eight pictures drawn as icons, five
// meanings), offscreen; and reading the installed libraries, with the memory they take.
// Run from a Release build: build/bench/suggest/bench-suggest
#include "suggestionchoices.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <suggestions.h>

namespace {

std::shared_ptr<const Suggestions> library;

// The resident memory of the process, in bytes.
double residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096 : 0;
}

void readLibraries(benchmark::State& state) {
    double memory = 0;
    for (auto _ : state) {
        const double before = residentBytes();
        Suggestions fresh(PictureIndex::load(PictureIndex::installedFolder()),
                          MeaningDictionary::load(MeaningDictionary::installedFile()));
        memory = residentBytes() - before;
        state.counters["index MiB"] =
            double(fresh.pictureIndex().memoryBytes() + fresh.dictionary().memoryBytes()) /
            (1 << 20);
        benchmark::DoNotOptimize(fresh);
    }
    state.counters["resident MiB"] = memory / (1 << 20);
}

// Each iteration is one key: the words are typed letter by letter, as a parent types them.
void keyToSuggestions(benchmark::State& state) {
    static const QStringList words{
        QStringLiteral("dog"),        QStringLiteral("elephant"), QStringLiteral("strawberry"),
        QStringLiteral("ice cream"),  QStringLiteral("run"),      QStringLiteral("grandmother"),
        QStringLiteral("helicopter"), QStringLiteral("rainbow"),  QStringLiteral("happy")};
    QStringList typed;
    for (const QString& word : words)
        for (qsizetype n = 1; n <= word.size(); ++n)
            typed << word.first(n);
    QWidget form;
    auto* pictures = new PictureChoices(&form);
    auto* meanings = new MeaningChoices(&form);
    pictures->move(0, 0);
    meanings->move(0, 80);
    form.resize(400, 160);
    form.show();
    qsizetype next = 0;
    for (auto _ : state) {
        const QString& text = typed.at(next++ % typed.size());
        pictures->show(library->pictures(text), {});
        meanings->show(library->meanings(text));
        form.repaint();
    }
}

} // namespace

BENCHMARK(readLibraries)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(keyToSuggestions)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    library = Suggestions::loadInstalled();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
