#pragma once

#include "deck.h"

class QSqlDatabase;

// A deck in a word-data file (.pml).
namespace PmlDeck {

// Writes deck as a new word-data file at path, replacing an existing one only once the new
// one is complete: the file is built under a temporary name beside path and renamed into
// place. The pictures and voices the deck names are copied from mediaFrom/images and
// mediaFrom/voice into images/ and voice/ beside path first. Returns an error text, empty on
// success; on failure path is left as it was.
QString write(const Deck& deck, const QString& mediaFrom, const QString& path);

// Reads the three tables of the word-data file at path, rows in key order, after the checks
// made at every opening (format, version, record sources, integrity). Throws DataError.
Deck read(const QString& path);
// The same rows through a connection that stays open.
Deck readRows(const QSqlDatabase& db);

// Copies the media files (relative names such as "images/cat.jpg") from one folder to another,
// replacing older copies; a file that is already the same file is left alone. Files missing
// in from are skipped and listed in missing. Returns an error text, empty on success.
QString copyMedia(const QStringList& files, const QString& from, const QString& to,
                  QStringList* missing = nullptr);

} // namespace PmlDeck
