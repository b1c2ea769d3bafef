#pragma once

#include <QString>

// Choosing a deck, the same way at start-up and from the main menu's ファイル → ひらく.
namespace DeckChoice {

// Makes the deck at path the data file: a path PML010.ini cannot hold is refused (said); an
// older (Access 2000-format) deck is converted when the user agrees; a read-only deck is
// offered as a copy in the settings folder; the absolute path of what is left is remembered.
// False when nothing changed.
bool use(const QString& path);

// Asks for a deck with the file dialog, starting in startFolder, and uses it. False when the
// user cancelled or nothing changed.
bool ask(const QString& startFolder);

} // namespace DeckChoice
