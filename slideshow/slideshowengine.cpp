#include "slideshowengine.h"

#include "dataerror.h"
#include "mediapath.h"
#include "statements.h"
#include "worddatafile.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
constexpr int LowestLevel = WordDataFormat::lowestLevel;
constexpr int HighestLevelValue = WordDataFormat::highestLevel;

// Halves go to the even neighbour, whatever the floating-point environment says.
qint32 roundHalfEven(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<qint32>(whole);
}
} // namespace

SlideShowEngine::SlideShowEngine(Shared shared, Events& events)
    : shared_(shared)
    , events_(events) {
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer3.setObjectName(QStringLiteral("Timer3"));
    // Precise timers: a coarse one may drift 5 % per tick, and a card is 30 ticks or more.
    for (QTimer* timer : {&Timer1, &Timer2, &Timer3}) {
        timer->setInterval(TickMs);
        timer->setTimerType(Qt::PreciseTimer);
    }
    // Connected first, so that a screen connected to the same timers renders after the tick.
    QObject::connect(&Timer1, &QTimer::timeout, &Timer1, [this] { Timer1_Timer(); });
    QObject::connect(&Timer2, &QTimer::timeout, &Timer2, [this] { Timer2_Timer(); });
    QObject::connect(&Timer3, &QTimer::timeout, &Timer3, [this] { Timer3_Timer(); });
}

// The show's own guard (see Pml0010::guarded for why the screens' guards differ): a data
// error stops the show before it is reported, so that no timer runs on into a deck that failed.
template <typename Work> void SlideShowEngine::guarded(const char* handler, Work work) {
    try {
        work();
    } catch (const DataError&) {
        StopShow();
        events_.reportDataError(QString::fromLatin1(handler));
    }
}

void SlideShowEngine::load() {
    s_.PictureMaxHeight = roundHalfEven(FullHeight * shared_.HeightFactor);
    s_.PictureMaxWidth = roundHalfEven(FullWidth * shared_.WidthFactor);
    s_.PictureHomeTop = roundHalfEven(HomeTop * shared_.HeightFactor);
    s_.PictureHomeLeft = roundHalfEven(HomeLeft * shared_.WidthFactor);
    screen_.panelColour = ShowTexts::PanelGreen;
    ResetScreen();
}

void SlideShowEngine::ResetScreen() {
    for (int level = LowestLevel; level <= HighestLevelValue; ++level) {
        screen_.BT_level[level] = {false, false};
        screen_.BT_level_colour[level] = ShowTexts::LevelButtonColour;
        screen_.Lb_level[level].clear();
    }
    screen_.Image1.visible = false;
    screen_.Slider1.visible = false;
    stopTimers();
    for (ControlState* control : {&screen_.BT_prev, &screen_.BT_next, &screen_.BT_itiji,
                                  &screen_.BT_WAV, &screen_.Bt_repeat, &screen_.BT_track,
                                  &screen_.BT_color, &screen_.BT_display, &screen_.BT_view})
        control->enabled = false;
    for (ControlState* label : {&screen_.SH_display, &screen_.LB_track, &screen_.LB_no,
                                &screen_.LB_repeat, &screen_.LB_mode})
        label->visible = false;
    s_.InfoShown = true;
    s_.Paused = false;
    s_.RepeatOn = false;
    s_.ShowLoaded = false;
    s_.AllLevels = false;
    // No card is on screen any more: the position and the play state say so, so that ">>"
    // cannot run a card of a show that is no longer loaded.
    s_.LevelPosition = 0;
    s_.CardCount = 0;
    screen_.playText = ShowTexts::Stopped;
}

void SlideShowEngine::activate() {
    if (shared_.DialogOpen) {
        shared_.DialogOpen = false;
        // Back from a preference or information dialog: the show goes on as it was. A dialog
        // left open over another screen must not keep this one from being built the first time.
        if (built_)
            return;
    }
    if (s_.Paused)
        return;
    guarded("Form_Activate", [this] { rebuild(); });
}

void SlideShowEngine::rebuild() {
    WordDataFile::closeIfReplaced(shared_.DataFilePath); // a deck rebuilt meanwhile is read anew
    built_ = true;
    ResetScreen();
    screen_.Slider1.visible = true;
    screen_.sliderValue = static_cast<int>(shared_.VoiceVolume);
    for (ControlState& button : screen_.BT_level)
        button.visible = true;
    s_.LevelCounts.fill(0);
    s_.GroupTotal = 0;
    s_.HighestLevel = 0;
    for (ControlState* control :
         {&screen_.BT_view, &screen_.BT_track_back, &screen_.BT_prev, &screen_.BT_itiji,
          &screen_.BT_WAV, &screen_.BT_stop, &screen_.BT_next, &screen_.BT_track_next,
          &screen_.Bt_repeat, &screen_.BT_track, &screen_.BT_color, &screen_.BT_display})
        control->enabled = true;
    // InfoShown is True after the reset, so the panel is shown; the play state keeps its
    // own visibility.
    for (ControlState* label :
         {&screen_.SH_display, &screen_.LB_track, &screen_.LB_no, &screen_.LB_mode})
        label->visible = true;
    screen_.LB_repeat.visible = s_.RepeatOn;
    screen_.modeText = ShowTexts::modeText(s_.AllLevels);
    readTally();
}

void SlideShowEngine::readTally() {
    Data1.setDatabaseName(shared_.DataFilePath);
    Data1.setRecordSource(Statements::markedLevelTallies());
    Data1.Refresh();
    int defaultLevel = -1;
    while (!Data1.Eof()) {
        const int level = Data1.field(QStringLiteral("level")).toInt();
        // A level outside 0..5 has no button; such a row is not counted.
        if (level >= LowestLevel && level <= HighestLevelValue) {
            if (defaultLevel < 0)
                defaultLevel = level;
            s_.HighestLevel = std::max(s_.HighestLevel, level);
            s_.LevelCounts[level] += Data1.field(QStringLiteral("count")).toInt();
            screen_.BT_level[level].enabled = true;
            screen_.Lb_level[level] = ShowTexts::count(s_.LevelCounts[level]);
        }
        Data1.MoveNext();
    }
    s_.GroupTotal = std::accumulate(s_.LevelCounts.begin(), s_.LevelCounts.end(), 0);
    if (!shared_.LevelChosen)
        shared_.SelectedLevel = static_cast<qint16>(std::max(defaultLevel, LowestLevel));
    SelectLevel(shared_.SelectedLevel);
}

void SlideShowEngine::SelectLevel(int level) {
    level = std::clamp(level, LowestLevel, HighestLevelValue);
    shared_.LevelChosen = true;
    stopTimers();
    shared_.SelectedLevel = static_cast<qint16>(level);
    s_.GroupPosition = wordsBelow(level);
    markLevel(level);
    showLevelCounter();
    if (s_.ShowLoaded) {
        // A running or paused show restarts on the new level.
        s_.ShowLoaded = false;
        play();
    }
}

void SlideShowEngine::play() {
    s_.Paused = false;
    screen_.BT_itiji.enabled = true;
    screen_.playText = ShowTexts::Playing;
    if (!s_.ShowLoaded) {
        // A level that cannot be read ends play without a message, stopped.
        try {
            LoadLevel();
        } catch (const DataError&) {
            StopShow();
        }
    }
}

void SlideShowEngine::LoadLevel() {
    s_.CardCount = 0;
    s_.LevelPosition = 0;
    s_.GroupPosition = wordsBelow(shared_.SelectedLevel);
    Data2.setDatabaseName(shared_.DataFilePath);
    Data2.setRecordSource(Statements::levelWordsAfter(shared_.SelectedLevel, 0));
    Data2.Refresh();
    s_.ShowLoaded = true;
    s_.CardCount = Data2.RecordCount();
    if (s_.CardCount == 0) {
        // The tally promised words that are no longer there: nothing to show.
        StopShow();
        return;
    }
    ShowCard();
}

void SlideShowEngine::pause() {
    s_.Paused = true;
    screen_.BT_itiji.enabled = false;
    screen_.playText = ShowTexts::Paused;
}

void SlideShowEngine::StopShow() {
    s_.ShowLoaded = false;
    screen_.playText = ShowTexts::Stopped;
    s_.LevelPosition = 0;
    screen_.Image1.visible = false;
    stopTimers();
    showPositionCounter();
}

void SlideShowEngine::ShowCard() {
    s_.LevelPosition += 1;
    s_.GroupPosition += 1;
    screen_.BT_prev.enabled = s_.LevelPosition > 1;
    screen_.BT_next.enabled = s_.LevelPosition < s_.CardCount;
    showPositionCounter();
    s_.PictureWidth = 0;
    s_.PictureHeight = 0;
    s_.PictureTop = s_.PictureHomeTop;
    s_.PictureLeft = s_.PictureHomeLeft;
    applyPicture();
    screen_.Image1.visible = true;
    s_.CardPicture = Data2.field(QStringLiteral("images")).toString();
    screen_.picturePath = MediaPath::findPicture(shared_.DataFolder, s_.CardPicture);
    const QString meaning = Data2.field(QStringLiteral("meaning")).toString();
    screen_.pictureText =
        meaning.isEmpty() ? Data2.field(QStringLiteral("word")).toString() : meaning;
    s_.CardVoice = Data2.field(QStringLiteral("voice")).toString();
    Timer1.start();
}

bool SlideShowEngine::ticksIgnored() const {
    return shared_.DialogOpen || s_.Paused || speaking_;
}

void SlideShowEngine::Timer1_Timer() {
    if (ticksIgnored())
        return;
    s_.PictureWidth = roundHalfEven(s_.PictureWidth + s_.PictureMaxWidth / 10.0);
    s_.PictureHeight = roundHalfEven(s_.PictureHeight + s_.PictureMaxHeight / 10.0);
    ApplyGrowth();
}

void SlideShowEngine::ApplyGrowth() {
    applyPicture();
    if (s_.PictureWidth < s_.PictureMaxWidth && s_.PictureHeight < s_.PictureMaxHeight)
        return;
    Timer1.stop();
    SpeakCard(); // the hold has not started yet, so this only speaks
    Timer2.start();
    s_.HoldTicks = 0;
}

void SlideShowEngine::Timer2_Timer() {
    if (ticksIgnored())
        return;
    s_.HoldTicks = static_cast<qint16>(s_.HoldTicks + 1);
    if (s_.HoldTicks > shared_.SlideInterval)
        SpeakCard();
}

void SlideShowEngine::SpeakCard() {
    speaking_ = true;
    events_.speakVoice(MediaPath::findVoice(shared_.DataFolder, s_.CardVoice), shared_.VoiceVolume);
    speaking_ = false;
    if (Timer2.isActive()) {
        Timer2.stop();
        Timer3.start();
    }
}

void SlideShowEngine::Timer3_Timer() {
    if (ticksIgnored())
        return;
    s_.PictureWidth = roundHalfEven(s_.PictureWidth - s_.PictureMaxWidth / 10.0);
    s_.PictureHeight = roundHalfEven(s_.PictureHeight - s_.PictureMaxHeight / 10.0);
    s_.PictureTop = roundHalfEven(s_.PictureTop + s_.PictureMaxHeight / 10.0);
    s_.PictureLeft = roundHalfEven(s_.PictureLeft + s_.PictureMaxWidth / 10.0);
    guarded("Timer3_Timer", [this] { ApplyShrink(); });
}

void SlideShowEngine::ApplyShrink() {
    applyPicture();
    if (s_.PictureWidth >= 1 && s_.PictureHeight >= 1)
        return;
    Timer3.stop();
    NextCard();
}

void SlideShowEngine::applyPicture() {
    // The last shrink step can pass below zero for some scale factors.
    screen_.imageWidth = std::max(s_.PictureWidth, 0);
    screen_.imageHeight = std::max(s_.PictureHeight, 0);
    screen_.imageTop = s_.PictureTop;
    screen_.imageLeft = s_.PictureLeft;
}

void SlideShowEngine::NextCard() {
    Data2.MoveNext();
    if (Data2.Eof())
        endOfLevel();
    else
        ShowCard();
}

void SlideShowEngine::endOfLevel() {
    StopShow();
    if (s_.RepeatOn && !s_.AllLevels) {
        play();
    } else if (s_.RepeatOn) {
        playNextLevelWithWords();
    } else if (s_.AllLevels) {
        if (shared_.SelectedLevel == s_.HighestLevel)
            events_.offerPractice(ShowTexts::GroupFinished);
        else
            playNextLevelWithWords();
    } else {
        events_.offerPractice(ShowTexts::LevelFinished);
    }
}

void SlideShowEngine::playNextLevelWithWords() {
    // Upwards, wrapping from 5 to 0; at most once round, so an empty tally ends the search.
    int level = shared_.SelectedLevel;
    for (int step = 0; step <= HighestLevelValue; ++step) {
        level = level < HighestLevelValue ? level + 1 : LowestLevel;
        if (s_.LevelCounts[level] >= 1) {
            makeCurrent(level);
            play();
            return;
        }
    }
}

void SlideShowEngine::next() {
    if (s_.LevelPosition == 0)
        return;
    stopTimers();
    guarded("BT_next_Click", [this] { NextCard(); });
}

void SlideShowEngine::previous() {
    if (s_.LevelPosition == 0)
        return;
    if (Data2.Bof() || (!Data2.Eof() && s_.LevelPosition <= 1)) {
        // There is no previous card: say so, and the card on screen goes on where it was.
        QTimer* running = Timer1.isActive()   ? &Timer1
                          : Timer2.isActive() ? &Timer2
                          : Timer3.isActive() ? &Timer3
                                              : nullptr;
        stopTimers();
        events_.firstCardReached();
        if (running)
            running->start();
        return;
    }
    stopTimers();
    guarded("BT_prev_Click", [this] { PreviousCard(); });
}

void SlideShowEngine::PreviousCard() {
    // ShowCard adds one back; from past the end the cursor steps back onto the last card.
    const int back = Data2.Eof() ? 1 : 2;
    s_.LevelPosition -= back;
    s_.GroupPosition -= back;
    Data2.MovePrevious();
    ShowCard();
}

void SlideShowEngine::nextLevel() {
    for (int level = shared_.SelectedLevel + 1; level <= HighestLevelValue; ++level) {
        if (s_.LevelCounts[level] >= 1) {
            guarded("BT_track_next_Click", [this, level] { makeCurrent(level); });
            return;
        }
    }
}

void SlideShowEngine::previousLevel() {
    for (int level = shared_.SelectedLevel - 1; level >= LowestLevel; --level) {
        if (s_.LevelCounts[level] >= 1) {
            guarded("BT_track_back_Click", [this, level] { makeCurrent(level); });
            return;
        }
    }
}

void SlideShowEngine::makeCurrent(int level) {
    s_.GroupPosition = wordsBelow(level);
    markLevel(level);
    shared_.SelectedLevel = static_cast<qint16>(level);
    if (s_.ShowLoaded) {
        StopShow();
        play();
    } else {
        showLevelCounter();
    }
}

void SlideShowEngine::markLevel(int level) {
    screen_.BT_level_colour.fill(ShowTexts::LevelButtonColour);
    screen_.BT_level_colour[level] = ShowTexts::CurrentLevelColour;
    screen_.trackText = ShowTexts::levelMark(level);
}

void SlideShowEngine::toggleRepeat() {
    s_.RepeatOn = !s_.RepeatOn;
    screen_.LB_repeat.visible = s_.RepeatOn && s_.InfoShown;
}

void SlideShowEngine::toggleMode() {
    s_.AllLevels = !s_.AllLevels;
    screen_.modeText = ShowTexts::modeText(s_.AllLevels);
    if (s_.AllLevels)
        screen_.counterText = ShowTexts::counter(s_.GroupPosition, s_.GroupTotal);
    else
        screen_.counterText =
            ShowTexts::counter(s_.LevelPosition, s_.LevelCounts[shared_.SelectedLevel]);
}

void SlideShowEngine::cyclePanelColour() {
    screen_.panelColour = ShowTexts::nextPanelColour(screen_.panelColour);
}

void SlideShowEngine::togglePanel() {
    s_.InfoShown = !s_.InfoShown;
    for (ControlState* label : {&screen_.SH_display, &screen_.LB_track, &screen_.LB_no,
                                &screen_.LB_play, &screen_.LB_mode})
        label->visible = s_.InfoShown;
    screen_.LB_repeat.visible = s_.InfoShown && s_.RepeatOn;
}

void SlideShowEngine::setVoiceVolume(int volume) {
    shared_.VoiceVolume = volume;
    screen_.sliderValue = volume;
}

void SlideShowEngine::stopTimers() {
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
}

int SlideShowEngine::wordsBelow(int level) const {
    return std::accumulate(s_.LevelCounts.begin(), s_.LevelCounts.begin() + level, 0);
}

void SlideShowEngine::showPositionCounter() {
    screen_.counterText = s_.AllLevels ? ShowTexts::counter(s_.GroupPosition, s_.GroupTotal)
                                       : ShowTexts::counter(s_.LevelPosition, s_.CardCount);
}

void SlideShowEngine::showLevelCounter() {
    screen_.counterText = s_.AllLevels
                              ? ShowTexts::counter(s_.GroupPosition, s_.GroupTotal)
                              : ShowTexts::counter(0, s_.LevelCounts[shared_.SelectedLevel]);
}
