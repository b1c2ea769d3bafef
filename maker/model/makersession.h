#pragma once

#include "deckeditor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deckproblem.h>
#include <memory>
#include <optional>

// The deck maker between two clicks, without widgets: the open deck, the rows chosen in the
// three lists, which row's form is shown, and the changes the window's buttons ask for. The
// window shows what the session holds and forwards what the parent does.
//
// The chosen rows always stand for rows the deck has: after every change, reload and choice
// a group slot is chosen (the first when none was), a sub-group of it when it has any (the one
// chosen before when it is still there, else its first), and words of that sub-group likewise.
//
// Changes are DeckEditor's: one transaction on the file each; a failure throws DataError and
// the rows stay as the file holds them.
class MakerSession {
  public:
    enum class Kind { Group, SubGroup, Word };

    MakerSession();
    ~MakerSession();

    // Opens the deck at path in place of the open one, choosing its first slot. Throws
    // DataError; the deck open before then stays open.
    void open(const QString& path);
    // The open deck, or null.
    DeckEditor* editor() const { return editor_.get(); }
    // Reads the rows again (the program may have graded words meanwhile).
    void reload();

    // What the parent chose in a list.
    void chooseSlot(qint64 slot);
    void chooseSubGroup(qint64 sgroup);
    void chooseWords(const QList<qint64>& keys); // the current one first
    // Shows the form of kind's chosen row (falling back as shownKind() says).
    void show(Kind kind) { shown_ = kind; }
    // Chooses the row a check is about and shows its form.
    void chooseRow(Kind kind, qint64 group, qint64 sgroup, qint64 key);

    qint64 chosenSlot() const { return slot_; }
    // The chosen rows that exist: 0, or an empty list, when there are none.
    qint64 chosenGroup() const;
    qint64 chosenSubGroup() const;
    QList<qint64> chosenWords() const;
    // The form to show: the kind shown last, or the nearest kind above it with a row chosen;
    // nothing without a deck or a group.
    std::optional<Kind> shownKind() const;

    // Adds a row of kind under the chosen ones, chooses it and shows its form; its number (the
    // slot, the sub-group's number or the word's key), 0 when there is nowhere to add it.
    qint64 add(Kind kind);
    // The question to ask before removing kind's chosen rows; empty when none are chosen.
    QString removeQuestion(Kind kind) const;
    void remove(Kind kind);
    // Moves kind's chosen row one place up (-1) or down (+1) and keeps it chosen; its new
    // number, 0 when nothing moved (no row, or several words chosen).
    qint64 move(Kind kind, int step);
    // Moves kind's chosen row steps places (a drag), as one change; its new number.
    qint64 moveBy(Kind kind, int steps);
    // Moves the chosen words into another sub-group (a drop on it) and chooses it.
    void moveWordsTo(qint64 group, qint64 sgroup);

    // Takes the last change back, or gives the last one taken back again; the chosen rows then
    // fall back as after any change.
    void undo();
    void redo();

    // Where a new picture for the shown row goes: the row, and the picture's name in images/.
    struct PictureTarget {
        Kind kind = Kind::Group;
        QString name; // empty: no row to take a picture
    };
    PictureTarget pictureTarget() const;
    // Names the stored picture in its row.
    void setPicture(const PictureTarget& target);
    // The name a new voice of the word is stored under in voice/.
    QString voiceNameFor(qint64 key) const;

    // A voice being made in the background (recorded or spoken) for the word key.
    void beginTake(qint64 key);
    bool takeRunning() const { return takeKey_ != 0; }
    // The word the finished take is for; 0 when it was abandoned meanwhile (another deck
    // opened, the word removed).
    qint64 endTake();

    // Writes the deck, with its pictures and voices, as a new file at path (a copy; the open
    // deck stays open). A deck whose file is gone is written from the rows held. An error
    // text, empty on success.
    QString saveCopy(const QString& path);
    // Writes the deck as a CSV deck folder with the media it has; missing lists the media
    // that are not there. An error text, empty on success.
    QString exportCsv(const QString& folder, QStringList& missing);
    // Builds a new deck file at path from the CSV deck folder. The folder's problems, when it
    // has any (nothing is written then), or an error text in error.
    static DeckProblems buildFromCsv(const QString& folder, const QString& path, QString& error);

  private:
    // Brings the chosen rows back to rows the deck has.
    void settle();

    std::unique_ptr<DeckEditor> editor_;
    qint64 slot_ = 0;
    qint64 sgroup_ = 0;
    QList<qint64> keys_;
    Kind shown_ = Kind::Group;
    qint64 takeKey_ = 0;
    QString takeDeck_;
};
