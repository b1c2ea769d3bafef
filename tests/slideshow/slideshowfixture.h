#pragma once

#include "deckfixture.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "slideshowengine.h"
#include "worddatafile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <memory>

using Levels = std::array<int, 6>;

// A fake platform and a deck of one marked sub-group with counts[L] words at level L; the
// words of level L are keyed L * 100 + 1, L * 100 + 2, ... so a voice names its card.
class SlideShowFixture {
  public:
    explicit SlideShowFixture(const Levels& counts) {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2, false);
        for (int level = 0; level < 6; ++level)
            if (counts[level] > 0)
                deck.words(1, 1, level, counts[level], level * 100 + 1);
        // Words of an unmarked sub-group never show.
        deck.words(1, 2, 0, 2, 900);
        deckPath = dir.filePath(QStringLiteral("deck.pml"));
        deck.write(deckPath);
        PMCM000::DataFilePath = deckPath;
        PMCM000::DataFolder = dir.path() + u'/';
        PMCM000::SlideInterval = 1;
        PMCM000::VoiceVolume = 40000;
    }
    ~SlideShowFixture() { WordDataFile::closeAll(); }

    // The cards whose voices were spoken ("w101", ...), in order.
    QStringList voices() const {
        QStringList names;
        for (const FakeSoundDevice::Play& play : fake.sound.plays)
            names << QFileInfo(play.path).completeBaseName();
        return names;
    }

    FakePlatform fake;
    QTemporaryDir dir;
    QString deckPath;
};

enum class Phase { None, Grow, Hold, Shrink };

inline Phase phase(const SlideShowEngine& engine) {
    if (engine.Timer1.isActive())
        return Phase::Grow;
    if (engine.Timer2.isActive())
        return Phase::Hold;
    if (engine.Timer3.isActive())
        return Phase::Shrink;
    return Phase::None;
}

// One tick of whichever timer runs; false when none does.
inline bool tick(SlideShowEngine& engine) {
    switch (phase(engine)) {
    case Phase::Grow:
        engine.Timer1_Timer();
        return true;
    case Phase::Hold:
        engine.Timer2_Timer();
        return true;
    case Phase::Shrink:
        engine.Timer3_Timer();
        return true;
    case Phase::None:
        break;
    }
    return false;
}

// Ticks while the phase lasts; the number of ticks it took.
inline int ticksOf(SlideShowEngine& engine, Phase wanted) {
    int ticks = 0;
    while (phase(engine) == wanted && ticks < 1000) {
        tick(engine);
        ++ticks;
    }
    return ticks;
}
