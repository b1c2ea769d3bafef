#pragma once

#include "datasource.h"
#include "practicecard.h"
#include "worddataformat.h"

#include <QRandomGenerator>
#include <QString>
#include <array>

// The rules of the practice screen: level tallies, batches of nine words after LastKey, the
// order of the cards, grading with its level transitions and writes, the state of every card
// and the end of a batch and of a level. The screen (PML0020) forwards its clicks here and
// shows the state; the drill reaches the screen only through Events, so it runs without
// widgets in tests.
class PracticeDrill {
  public:
    static constexpr int BatchSize = 9;
    static constexpr int LevelCount = WordDataFormat::levelCount;

    enum class Message {
        LevelFinished, // the chosen level has no ungraded words left
        WrongData,     // a row with a Null in a required field or a level outside 0..5
        SaveFailed,    // a grading could not be written to the file
    };
    enum class Effect { Ok, Ng };
    enum class Face { Picture, Word };
    enum class Fill { None, Ok, Ng };

    // What the drill asks of its screen.
    class Events {
      public:
        virtual ~Events() = default;
        // handler: the event handler that ran into it, for the message's title.
        virtual void showMessage(Message message, const QString& handler) = 0;
        virtual void playEffect(Effect effect) = 0;
    };

    // The shared settings the drill reads and changes, bound by the screen.
    struct Shared {
        const QString& DataFilePath;
        qint16& SelectedLevel;
        bool& LevelChosen;
        bool& PracticeMode; // true: key order; false: shuffled
        bool& DialogOpen;
    };

    // What one card position shows.
    struct CardView {
        bool present = false;    // a word of the batch stands here
        bool picture = false;    // Im_word
        bool wordLabels = false; // LB_word and LB_meaning
        bool details = false;    // LB_meanings, Lb_kaisu and Lb_wno
        bool okButton = false;
        bool ngButton = false;
        bool voiceButton = false;
        Fill fill = Fill::None; // Sh_word
    };

    struct State {
        std::array<int, LevelCount> LevelCounts{};
        std::array<bool, LevelCount> LevelEnabled{};    // the level's button can be pressed
        std::array<bool, LevelCount> LevelCountShown{}; // its count label is filled
        int HighlightedLevel = -1; // the level button in the chosen colour, -1 for none
        bool NextShown = false;    // "Next ⇒"

        int RemainingInLevel = 0;
        qint32 LastKey = 0;
        int BatchCount = 0;
        int CardsOnScreen = 0;
        bool FinishShown = false;
        bool SaveFailureShown = false; // a failed write was reported for this level choice
        bool SaveFailing = false;      // the last write failed; shown until one succeeds

        std::array<PracticeCard, BatchSize> LoadedBatch{};
        std::array<PracticeCard, BatchSize> ShufflePool{};
        std::array<PracticeCard, BatchSize> ScreenCards{};
        std::array<int, BatchSize> ScreenOrder{}; // position in LoadedBatch of each screen card
        std::array<bool, BatchSize> GradedFlags{};
        std::array<Face, BatchSize> Faces{};
    };

    PracticeDrill(Shared shared, Events& events, quint32 seed);

    // The level a word moves to when graded at level (0..5); times is its count as loaded.
    static int NextLevel(int level, bool ok, qint32 times);

    void Form_Load();
    // Activation: only clears DialogOpen after a dialog (returns false); otherwise rebuilds the
    // drill from the file and starts the chosen level again (returns true).
    bool Form_Activate();
    void BT_level_Click(int index);
    void BT_next_Click();
    void BT_mode_Click(int index);
    void BT_OK_Click(int position);
    void BT_NG_Click(int position);
    // Turning a card: the picture shows the word side, a word label the picture side.
    void Im_word_Click(int position);
    void LB_word_Click(int position);

    void ResetLevelButtons();
    void ClearCards();
    void LoadLevelTallies();
    void LoadBatch();
    void LayOutBatch();

    const State& state() const { return s_; }
    CardView cardView(int position) const;
    // The order button on show: 0 (four squares) in key order, 1 (arrows) when shuffled.
    int modeButton() const { return shared_.PracticeMode ? 0 : 1; }

  private:
    class HandlerScope;

    bool isOpen(int position) const;
    void setMark(int position, qint32 mark);
    void setCleared(int position, bool cleared);
    void grade(int position, bool ok);
    enum class Written { Yes, WordGone, Failed };
    Written writeGrading(int position, int newLevel);
    void findBatchWordsAgain();
    void report(Message message);

    Shared shared_;
    Events& events_;
    QRandomGenerator random_;
    State s_;
    DataSource Data1;          // level tallies
    DataSource Data2;          // the batch's words, re-read for every grading
    DataSource levelWords_;    // the whole level, read when a batch's words moved in the file
    qint32 batchAfterKey_ = 0; // the batch's words have keys after this one, up to LastKey
    QString handler_;          // the handler running, for message titles
};
