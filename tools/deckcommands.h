#pragma once

#include <QString>
#include <QTextStream>

// The four things pml-build does (build, check, export, import), as functions that write their
// report to out and return the process exit status (0 done or clean, 1 problems found or nothing
// could be done).
namespace DeckCommands {

// Builds deckFolder's CSV files and media into the word-data file output; writes nothing when
// the deck has any problem, and reports every problem.
int build(const QString& deckFolder, const QString& output, QTextStream& out);

// Checks an existing word-data file: its format, its record sources, its rows, and the media
// beside it.
int check(const QString& pml, QTextStream& out);

// Writes a word-data file back as a deck folder (CSV files with levels and counts, and the
// media that are present), so that it can be edited and built again.
int exportDeck(const QString& pml, const QString& deckFolder, QTextStream& out);

// importDeck, the fourth, is in importcommand.h: only what converts older files links libmdb.

} // namespace DeckCommands
