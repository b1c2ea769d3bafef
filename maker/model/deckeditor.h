#pragma once

#include <QList>
#include <QString>
#include <deck.h>
#include <deckundo.h>
#include <functional>
#include <memory>
#include <vector>

class QTemporaryDir;

class QSqlDatabase;

// One deck (.pml) being made or changed. Every change is one transaction on the file, made at
// once through the program's own connection rules (a short busy timeout, never half a change),
// and touches only the rows and columns it changes, so that a grading that the program writes
// meanwhile is kept. After each change the rows are read again from the file.
//
// Groups are shown by slot (1..6, their place on the main menu), sub-groups by number within
// their group, words by key within their sub-group. Keys are given here: a new word gets a key
// above every key the file has held, so a key always means one word.
//
// Every failure of the file throws DataError; the rows then stay as the file holds them.
class DeckEditor {
  public:
    // Opens an existing deck (it must pass the program's checks at opening).
    explicit DeckEditor(const QString& path);
    ~DeckEditor();
    DeckEditor(const DeckEditor&) = delete;
    DeckEditor& operator=(const DeckEditor&) = delete;

    // Makes a new, empty deck at path with images/ and voice/ beside it. Refuses an existing
    // file. Throws DataError.
    static void create(const QString& path);

    const QString& path() const { return path_; }
    // The folder holding the deck, its images/ and voice/, ending with a separator.
    QString folder() const;
    const Deck& deck() const { return deck_; }
    // The rows with the grading history, as the file holds them now (for a copy or export).
    Deck deckWithHistory() const;
    // Reads every row again (another program may have changed the file).
    void reload();

    const DeckGroup* group(qint64 group) const;
    const DeckSubGroup* subGroup(qint64 group, qint64 sgroup) const;
    const DeckWord* word(qint64 key) const;
    QList<DeckSubGroup> subGroupsOf(qint64 group) const;
    QList<DeckWord> wordsOf(qint64 group, qint64 sgroup) const;
    int wordCount(qint64 group) const;
    int wordCount(qint64 group, qint64 sgroup) const;

    // The lowest free slot, or 0 when all six are taken.
    qint64 freeSlot() const;
    // Adds a group in the lowest free slot and returns it. Throws DataError when full.
    qint64 addGroup(const QString& title);
    void setGroupTexts(qint64 group, const QString& title, const QString& description);
    void setGroupPicture(qint64 group, const QString& name);
    // Removes the group with its sub-groups and their words.
    void removeGroup(qint64 group);
    // Moves the group one slot up (-1) or down (+1), trading places with a group there.
    // Returns the group's new slot (the same at either end).
    qint64 moveGroup(qint64 group, int step);

    // Adds a sub-group after the group's last one and returns its number.
    qint64 addSubGroup(qint64 group);
    void setSubGroupPicture(qint64 group, qint64 sgroup, const QString& name);
    void removeSubGroup(qint64 group, qint64 sgroup);
    // Trades places (numbers) with the sub-group before (-1) or after (+1); returns its new
    // number.
    qint64 moveSubGroup(qint64 group, qint64 sgroup, int step);

    // The texts of a word that the maker edits; the rest is the word's own (key, place,
    // level, times) or kept as it is (the fillers).
    struct WordTexts {
        QString word;
        QString meaning;
        QString text1;
        QString text2;
    };
    // Adds a word at the end of the sub-group (level 0, never graded) and returns its key.
    qint64 addWord(qint64 group, qint64 sgroup, const WordTexts& texts);
    void setWordTexts(qint64 key, const WordTexts& texts);
    void setWordPicture(qint64 key, const QString& name);
    void setWordVoice(qint64 key, const QString& name);
    void removeWords(const QList<qint64>& keys);
    // Trades keys with the word before (-1) or after (+1) in its sub-group, so that the order
    // shown is the order of the practice; the level and count go with the word. Returns the
    // word's new key.
    qint64 moveWord(qint64 key, int step);
    // Puts the words back to level 0, never graded (each a reset row in the history).
    void resetWords(const QList<qint64>& keys);
    // Moves the words into another sub-group (of any group), keeping their keys, levels and
    // counts.
    void moveWordsTo(const QList<qint64>& keys, qint64 group, qint64 sgroup);

    // A media name (picture or voice) for a row's new file: the row's own name when no other
    // row uses it, else one made from base that no row uses and no file in the folder has.
    enum class Media { Picture, Voice };
    QString mediaNameFor(Media media, const QString& current, const QString& base) const;

    // Every change above can be taken back and given again, each in one transaction; a
    // column the program changed since (a grading) keeps the program's value. A new change
    // drops what was taken back.
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();
    // Runs work, which may make several changes, as one step to take back.
    void asOneChange(const std::function<void()>& work);
    // Keeps what file (a picture or voice about to be replaced) holds now, so that taking the
    // next change back brings it back too. Call it just before the file is replaced.
    void keepForUndo(const QString& file);
    // The file was not replaced after all: nothing to bring back.
    void dropKept() { kept_.clear(); }

  private:
    static constexpr std::size_t UndoDepth = 100;
    // Runs work in one transaction on the file, then reads the rows again (also when it
    // fails, so that what is shown is what the file holds). What work changed is kept for
    // undo.
    void change(const std::function<void(const QSqlDatabase&)>& work);
    // One transaction: work gets the rows as they are inside it; returns them as work left
    // them.
    Deck transact(const std::function<void(const QSqlDatabase&, const Deck& rows)>& work);
    void takeStep(std::vector<DeckUndo::Step>& from, std::vector<DeckUndo::Step>& to, bool back);

    std::vector<DeckUndo::Step> undo_;
    std::vector<DeckUndo::Step> redo_;
    QList<DeckUndo::KeptFile> kept_; // files replaced for the change to come
    QList<DeckUndo::KeySwap> swaps_; // keys the change under way traded
    std::unique_ptr<QTemporaryDir> keptFolder_;
    int keptCount_ = 0;
    std::size_t stepsMade_ = 0; // steps ever kept, so that a series knows its own

    QString path_;
    Deck deck_;
};
