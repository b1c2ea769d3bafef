#pragma once

#include "deckfixture.h"
#include "slideshowengine.h"
#include "worddatafile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <functional>

using Levels = std::array<int, 6>;

// A deck of one marked sub-group with counts[L] words at level L; the words of level L are
// keyed L * 100 + 1, L * 100 + 2, ... so a voice names its card.
class SlideShowDeck {
  public:
    explicit SlideShowDeck(const Levels& counts) {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2, false);
        for (int level = 0; level < 6; ++level)
            if (counts[level] > 0)
                deck.words(1, 1, level, counts[level], level * 100 + 1);
        // Words of an unmarked sub-group never show.
        deck.words(1, 2, 0, 2, 900);
        deckPath = dir.filePath(QStringLiteral("deck.pml"));
        deck.write(deckPath);
    }
    ~SlideShowDeck() { WordDataFile::closeAll(); }

    QTemporaryDir dir;
    QString deckPath;
};

// The shared settings an engine under test is bound to; every fixture starts them afresh.
struct ShowSettings {
    QString DataFilePath;
    QString DataFolder;
    qint16 SelectedLevel = 0;
    bool LevelChosen = false;
    bool DialogOpen = false;
    qint16 SlideInterval = 1;
    qint32 VoiceVolume = 40000;
    double HeightFactor = 1.0;
    double WidthFactor = 1.0;
};
inline ShowSettings settings;

// The deck, the settings and a screen that records what the engine asks of it.
class SlideShowFixture : public SlideShowEngine::Events {
  public:
    explicit SlideShowFixture(const Levels& counts)
        : deck(counts)
        , dir(deck.dir)
        , deckPath(deck.deckPath) {
        settings = ShowSettings{};
        settings.DataFilePath = deckPath;
        settings.DataFolder = dir.path() + u'/';
    }

    SlideShowEngine::Shared shared() {
        return {settings.DataFilePath, settings.DataFolder,   settings.SelectedLevel,
                settings.LevelChosen,  settings.DialogOpen,   settings.SlideInterval,
                settings.VoiceVolume,  settings.HeightFactor, settings.WidthFactor};
    }

    struct Voice {
        QString path;
        qint32 volume = 0;
    };
    void speakVoice(const QString& path, qint32 volume) override {
        spoken << Voice{path, volume};
        if (whileSpeaking)
            whileSpeaking();
    }
    void offerPractice(const QString& text) override { offers << text; }
    void firstCardReached() override { ++firstCards; }
    void reportDataError(const QString& handler) override { errors << handler; }

    // The cards whose voices were spoken ("w101", ...), in order.
    QStringList voices() const {
        QStringList names;
        for (const Voice& voice : spoken)
            names << QFileInfo(voice.path).completeBaseName();
        return names;
    }

    SlideShowDeck deck;
    const QTemporaryDir& dir;
    const QString& deckPath;
    QList<Voice> spoken;
    std::function<void()> whileSpeaking; // runs inside each voice, as a nested event loop would
    QStringList offers;
    int firstCards = 0;
    QStringList errors;
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
