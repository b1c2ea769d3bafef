#pragma once

#include <QString>

// Decks the program cannot write to (a CD, a shared folder, a file from a package): marks and
// gradings live in the deck, so the child works on a copy in the settings folder.
namespace DeckCopy {

// True when the deck and its folder can be written (SQLite writes its journal beside the file).
// Write bits are checked too, so that a deck set read-only counts as such even for root.
bool isWritable(const QString& deck);

// Copies deck with its images/ and voice/ into folder, made when missing; a deck already
// copied there is kept as it is, with its marks and levels. The copy's path, or empty when
// the copy could not be made.
QString copyInto(const QString& deck, const QString& folder);

// The deck a user chose, made usable: a writable deck as it is; for a read-only one, the copy
// made before under decks/NAME/ in the settings folder, or, when the user agrees (asked once,
// Yes/No), a new copy there. No, or a failed copy, keeps the deck as chosen.
QString offerWritableCopy(const QString& deck);

} // namespace DeckCopy
