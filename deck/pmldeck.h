#pragma once

#include "deck.h"

#include <QStringList>
#include <functional>

class QSqlDatabase;

// A deck in a word-data file (.pml).
namespace PmlDeck {

// Called now and then while media are copied.
using Progress = std::function<void(int done, int total)>;

// What a write keeps besides the rows.
struct WriteOptions {
    // The sub-groups' marks as the deck holds them (a conversion); otherwise every sub-group
    // starts unmarked, as a built deck does.
    bool keepMarks = false;
    // When given, receives the pictures and voices not found in mediaFrom ("images/dog.jpg").
    QStringList* missingMedia = nullptr;
    Progress progress;
};

// Writes deck as a new word-data file at path, replacing an existing one only once the new
// one is complete: the file is built under a temporary name beside path and renamed into
// place. The pictures and voices the deck names are copied from mediaFrom first (see
// copyMedia); one that is missing is skipped. Returns an error text, empty on success; on
// failure path is left as it was.
QString write(const Deck& deck, const QString& mediaFrom, const QString& path,
              const WriteOptions& options = {});

// Reads the three tables of the word-data file at path, rows in key order, and its grading
// history when it has one, after the checks made at every opening (format, version, record
// sources, integrity). Throws DataError.
Deck read(const QString& path);
// The three tables' rows (not the history) through a connection that stays open.
Deck readRows(const QSqlDatabase& db);
// The grading history in the order it was written, from the row after afterRow (a rowid; 0:
// all of it); empty when the deck has none.
QList<DeckHistory> readHistory(const QSqlDatabase& db, qint64 afterRow = 0);

// Copies the pictures and voices deck names from the deck folder from into the one to, each
// found as the screens find it (case aside, a BMP where no JPEG is) and stored as
// images/NAME.jpg (or .bmp) and voice/NAME.wav, replacing older copies; a file that is already
// the same file is left alone. Files missing in from are skipped and listed in missing. Returns
// an error text, empty on success.
QString copyMedia(const Deck& deck, const QString& from, const QString& to,
                  QStringList* missing = nullptr, const Progress& progress = {});

} // namespace PmlDeck
