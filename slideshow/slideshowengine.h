#pragma once

#include "datasource.h"
#include "slidecard.h"
#include "slideshowscreen.h"
#include "worddataformat.h"

#include <QString>
#include <QTimer>
#include <array>

// The slide show's rules: the words of one level of the marked sub-groups shown as cards that
// grow, speak, are held, speak again and shrink, driven by three 100 ms timers. The engine
// keeps the show's state and what the screen shows (screen()); the form PML0030 forwards its
// controls' events here and renders screen() after each of them and after every tick. The
// voice, message boxes and leaving the screen are the form's: the engine asks for them
// through Events, so it runs without widgets in tests.
//
// Tests drive time by calling Timer1_Timer(), Timer2_Timer() and Timer3_Timer() directly.
class SlideShowEngine {
  public:
    // What the engine asks of its screen.
    class Events {
      public:
        virtual ~Events() = default;
        // Speaks a card's voice and returns when it has been spoken; the screen shows the
        // card as it stands first, since nothing is painted while the voice plays.
        virtual void speakVoice(const QString& path, qint32 volume) = 0;
        // The level or the group is finished: ask whether to go to the practice.
        virtual void offerPractice(const QString& text) = 0;
        // The previous card of the first card was asked for.
        virtual void firstCardReached() = 0;
        // The word data could not be read by the named handler; the show has stopped.
        virtual void reportDataError(const QString& handler) = 0;
    };

    // The shared settings the engine reads and changes, bound by the screen. SlideInterval
    // is read on every tick, so a change in the sound dialog applies to the card on screen.
    struct Shared {
        const QString& DataFilePath;
        const QString& DataFolder;
        qint16& SelectedLevel;
        bool& LevelChosen;
        bool& DialogOpen;
        const qint16& SlideInterval;
        qint32& VoiceVolume;
        const double& HeightFactor;
        const double& WidthFactor;
    };

    // The show's state; picture sizes and positions are twips of the scaled form.
    struct State {
        std::array<int, WordDataFormat::levelCount> LevelCounts{};
        int GroupTotal = 0;
        int HighestLevel = 0;
        int CardCount = 0;
        int LevelPosition = 0;
        int GroupPosition = 0;
        bool ShowLoaded = false;
        bool Paused = false;
        bool RepeatOn = false;
        bool AllLevels = false;
        bool InfoShown = true;
        qint32 PictureMaxHeight = 0;
        qint32 PictureMaxWidth = 0;
        qint32 PictureHomeTop = 0;
        qint32 PictureHomeLeft = 0;
        qint32 PictureWidth = 0;
        qint32 PictureHeight = 0;
        qint32 PictureTop = 0;
        qint32 PictureLeft = 0;
        qint16 HoldTicks = 0;
        QString CardPicture;
        QString CardVoice;
    };

    // The card picture at full size and its top-left corner, in design twips.
    static constexpr double FullHeight = SlideCard::FullHeight;
    static constexpr double FullWidth = SlideCard::FullWidth;
    static constexpr double HomeTop = 2955;
    static constexpr double HomeLeft = 4215;
    static constexpr int TickMs = 100;

    SlideShowEngine(Shared shared, Events& events);
    SlideShowEngine(const SlideShowEngine&) = delete;
    SlideShowEngine& operator=(const SlideShowEngine&) = delete;

    const State& state() const { return s_; }
    const SlideShowScreen& screen() const { return screen_; }

    // The form's load: the picture metrics from the scale factors, the panel colour, the idle
    // screen.
    void load();
    // The form became the active form: rebuild the screen, unless back from a dialog (after
    // the first build) or paused.
    void activate();

    // User commands.
    void SelectLevel(int level);
    void play();
    void pause();
    void StopShow();
    void next();
    void previous();
    void nextLevel();
    void previousLevel();
    void toggleRepeat();
    void toggleMode();
    void cyclePanelColour();
    void togglePanel();
    void setVoiceVolume(int volume);

    // Timer ticks: grow, hold, shrink. Ignored while a dialog is open, while paused and while
    // a voice is being spoken.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    QTimer Timer1;
    QTimer Timer2;
    QTimer Timer3;

  private:
    void ResetScreen();
    void rebuild();
    void readTally();
    void LoadLevel();
    void ShowCard();
    void ApplyGrowth();
    void SpeakCard();
    void ApplyShrink();
    void NextCard();
    void PreviousCard();
    void endOfLevel();
    void playNextLevelWithWords();
    void makeCurrent(int level);
    void markLevel(int level);
    void applyPicture();
    void stopTimers();
    bool ticksIgnored() const;
    int wordsBelow(int level) const;
    // The counter as a card, a stop or the mode button shows it, or as choosing a level does.
    void showPositionCounter();
    void showLevelCounter();
    // Runs a handler that reads the word data; a failure stops the show and is reported.
    template <typename Work> void guarded(const char* handler, Work work);

    Shared shared_;
    Events& events_;
    State s_;
    SlideShowScreen screen_;
    DataSource Data1; // the level tally
    DataSource Data2; // the words of the level being shown
    bool speaking_ = false;
    bool built_ = false; // the first activation has built the screen
};
