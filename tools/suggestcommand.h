#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace DeckCommands {

// pml-build --suggest: one line a word, tab-separated: the word, its meaning suggestions and
// its picture suggestions, each joined by '|', best first. A picture is the emoji's characters
// or the name of a picture already in deckFile's images/ (no deck: emoji only).
int suggest(const QStringList& words, const QString& deckFile, QTextStream& out);

} // namespace DeckCommands
