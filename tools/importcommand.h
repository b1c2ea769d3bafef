#pragma once

#include <QString>
#include <QTextStream>

// pml-build --import, apart from the other commands so that only the programs that convert
// older files link the Access 2000-format reader (libmdb).
namespace DeckCommands {

// Converts an older (Access 2000-format) word-data file into a new one of our format with its
// media; writes nothing on failure. The report lists rows left out and media missing.
int importDeck(const QString& old, const QString& output, QTextStream& out);

} // namespace DeckCommands
