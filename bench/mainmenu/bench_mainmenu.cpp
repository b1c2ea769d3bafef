// What a child waits for on the main menu, offscreen on the generated 10,000-word deck: the
// activation with a chosen group (six group labels with totals, seven rows with tallies,
// thirteen pictures), a tick, and a page change.
// Run from a Release build: build-rel/bench/mainmenu/bench-mainmenu
// The deck is written in the current folder; PIMLOTAN_BENCH_DIR names another folder.
#include "benchdeck.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "worddatafile.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

Pml0010* menu = nullptr;

// Pictures of the size a parent would put in a deck.
void writePictures(const QString& folder) {
    QDir().mkpath(folder);
    QImage picture(320, 240, QImage::Format_RGB32);
    for (int g = 1; g <= BenchDeck::groups; ++g) {
        picture.fill(QColor::fromHsv(g * 50, 120, 230));
        picture.save(QStringLiteral("%1/g%2.jpg").arg(folder).arg(g), "JPG", 85);
        for (int s = 1; s <= BenchDeck::subGroupsPerGroup; ++s) {
            picture.fill(QColor::fromHsv((g * 50 + s * 7) % 360, 160, 220));
            picture.save(QStringLiteral("%1/g%2s%3.jpg").arg(folder).arg(g).arg(s), "JPG", 85);
        }
    }
}

void activation(benchmark::State& state) {
    PMCM000::SelectedBigGroup = 1;
    for (auto _ : state) {
        menu->Form_Activate();
        menu->repaint();
    }
}

void tick(benchmark::State& state) {
    menu->Im_big_Click(0);
    for (auto _ : state) {
        menu->Ch_syo[0]->click();
        menu->repaint();
    }
}

// Down and up in turn, each one page change.
void pageChange(benchmark::State& state) {
    menu->Im_big_Click(0);
    bool down = true;
    for (auto _ : state) {
        if (down)
            menu->Bt_down_Click();
        else
            menu->Bt_up_Click();
        menu->repaint();
        down = !down;
    }
}

} // namespace

BENCHMARK(activation)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3);
BENCHMARK(tick)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);
BENCHMARK(pageChange)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir(BenchDeck::workFolderTemplate(QStringLiteral("bench-mainmenu")));
    const QString deck = dir.filePath(QStringLiteral("deck.pml"));
    BenchDeck::write(deck);
    writePictures(dir.filePath(QStringLiteral("images")));

    FakePlatform fake;
    fake.prepareFolders();
    PMCM000::SaveDataFilePath(deck);
    {
        Pml0010 form;
        form.show();
        menu = &form;
        benchmark::RunSpecifiedBenchmarks();
        menu = nullptr;
    }
    benchmark::Shutdown();
    WordDataFile::closeAll();
    return 0;
}
