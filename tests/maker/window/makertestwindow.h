#pragma once

#include "fakeplatform.h"
#include "makerwindow.h"

#include <QDir>
#include <memory>

// The deck maker's window as the window tests start it: shown, making no voices of its own
// (each test makes those it needs).
inline std::unique_ptr<MakerWindow> makerTestWindow() {
    auto window = std::make_unique<MakerWindow>();
    window->setSpeakNewWords(false);
    window->show();
    return window;
}

// A new, empty deck made through ファイル → 新しい単語データ, in the fake documents folder.
inline void makeNewDeck(FakePlatform& fake, MakerWindow& window, const QString& name) {
    const QString scratch = fake.documentsFolder() + QStringLiteral("work/");
    QDir().mkpath(scratch);
    fake.prompter.files.enqueue(scratch + name + QStringLiteral(".pml"));
    window.newDeck();
}
