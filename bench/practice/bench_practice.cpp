// What a child waits for on the practice screen, offscreen on a generated 10,000-word deck:
// choosing a level until its nine cards are painted, and an OK that grades (with the
// committed write). Run from a Release build: build-rel/bench/practice/bench-practice
// The deck is written in the current folder (a real disk, so commits cost what they cost);
// PIMLOTAN_BENCH_DIR names another folder.
#include "benchdeck.h"
#include "deckfixture.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "pml0020.h"
#include "worddatafile.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int words = 10000;
constexpr int subGroups = 100; // 6 groups; every sub-group marked: the largest levels

// Level 0 holds 4,000 words, levels 1 to 5 1,200 each; neighbouring keys sit in different
// sub-groups, as in a deck that grew over time.
void writeDeck(const QString& path) {
    DeckFixture deck;
    for (int g = 1; g <= 6; ++g)
        deck.group(g);
    for (int s = 0; s < subGroups; ++s)
        deck.subGroup(s % 6 + 1, s / 6 + 1, true);
    for (int i = 0; i < words; ++i) {
        const int place = i % subGroups;
        const int nth = (i / subGroups) % 10;
        DeckFixture::Word word;
        word.key = i + 1;
        word.group = place % 6 + 1;
        word.sgroup = place / 6 + 1;
        word.level = nth < 4 ? 0 : (nth - 4) % 5 + 1;
        word.meaning = QStringLiteral("いみ%1").arg(word.key);
        word.text1 = QStringLiteral("a sentence with word %1").arg(word.key);
        word.text2 = QStringLiteral("1-02-03");
        deck.word(word);
    }
    deck.write(path);
}

// Pictures of a size a parent would scan or download, for the first batches of each level.
void writePictures(const QString& folder) {
    QDir().mkpath(folder);
    QImage picture(640, 480, QImage::Format_RGB32);
    for (int key = 1; key <= 2000; ++key) {
        picture.fill(QColor::fromHsv(key * 37 % 360, 160, 220));
        picture.save(QStringLiteral("%1/w%2.jpg").arg(folder).arg(key), "JPG", 85);
    }
}

struct Screen {
    FakePlatform fake;
    std::unique_ptr<PML0020> form;
};
Screen* screen = nullptr;

// Choosing a level until its nine cards are painted. Another level is chosen between the
// measured clicks, so every click decodes nine new pictures.
void chooseLevel(benchmark::State& state) {
    PML0020& form = *screen->form;
    for (auto _ : state) {
        state.PauseTiming();
        form.BT_level_Click(1);
        form.repaint();
        state.ResumeTiming();
        form.BT_level_Click(0);
        form.repaint();
    }
}

// An OK on a card that has not been graded: the sound, the write committed to the file, the
// tallies and the screen. The next batch is loaded between the measured clicks.
void gradeOk(benchmark::State& state) {
    PML0020& form = *screen->form;
    form.BT_level_Click(0);
    int position = 0;
    for (auto _ : state) {
        if (position == PML0020::Cards) {
            state.PauseTiming();
            form.BT_next_Click();
            position = 0;
            state.ResumeTiming();
        }
        form.BT_OK_Click(position++);
        form.repaint();
    }
}

} // namespace

BENCHMARK(chooseLevel)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);
BENCHMARK(gradeOk)->Unit(benchmark::kMillisecond)->Iterations(900)->Repetitions(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir(BenchDeck::workFolderTemplate(QStringLiteral("bench-practice")));
    const QString deck = dir.filePath(QStringLiteral("deck.pml"));
    writeDeck(deck);
    writePictures(dir.filePath(QStringLiteral("images")));

    Screen bench;
    PMCM000::DataFilePath = deck;
    PMCM000::DataFolder = dir.path() + u'/';
    PMCM000::OkColor = QStringLiteral("65280");
    PMCM000::NgColor = QStringLiteral("255");
    bench.form = std::make_unique<PML0020>(nullptr, 1);
    bench.form->show();
    QApplication::processEvents(); // exposed, so that repaint() paints
    bench.form->Form_Activate();
    screen = &bench;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench.form.reset();
    WordDataFile::closeAll();
    return 0;
}
