#pragma once

#include <QList>
#include <QString>
#include <deck.h>

class QSqlDatabase;

// What one change did to a deck's rows, to take it back and give it again: the rows it changed,
// added or removed, as they were before and after. Taking a change back touches only what it
// changed and what still holds the value it wrote, so that a grading the program wrote since
// (a word's level and count) is never taken back.
namespace DeckUndo {

// A picture or voice file a change replaced, and where its earlier content is kept.
struct KeptFile {
    QString file;
    QString earlier;
};

// Two words that traded keys; their grading history went with them.
struct KeySwap {
    qint64 first = 0;
    qint64 second = 0;
};

struct Step {
    Deck before; // the rows the change touched, as they were (absent: added)
    Deck after;  // the same rows after it (absent: removed)
    QList<KeptFile> files;
    QList<DeckHistory> history; // the grading history rows the change wrote (a reset's)
    QList<KeySwap> swaps;       // in the order made
    bool isEmpty() const {
        return before == Deck{} && after == Deck{} && files.isEmpty() && history.isEmpty() &&
               swaps.isEmpty();
    }
};

// The rows that differ between two readings of a deck.
Step difference(const Deck& before, const Deck& after);

// One step for two made one after the other (earlier, then later): each row as it was before
// the first that touched it and as it is after the last.
Step merged(const Step& earlier, const Step& later);

// Brings the rows of step from `from` to `to` (before → after gives the change again, after →
// before takes it back) on the file, whose rows are now `current`; inside a transaction.
void apply(const QSqlDatabase& db, const Deck& from, const Deck& to, const Deck& current);

// Where the grading history ends now (0 when the deck has none): the rows after such a mark
// (PmlDeck::readHistory) are what a change wrote.
qint64 historyMark(const QSqlDatabase& db);

// Brings the grading history along with step's rows (back: taking the change back): the rows
// the column writes of apply() set off since mark go, for they are no gradings; the change's
// own rows go or come again; the keys its words traded are traded back or again.
void applyHistory(const QSqlDatabase& db, const Step& step, bool back, qint64 mark);

// Exchanges each file with its kept content (taking back and giving again alike). False when
// one could not be exchanged.
bool exchangeFiles(const QList<KeptFile>& files);

} // namespace DeckUndo
