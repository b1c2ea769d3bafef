#pragma once

#include "deckproblem.h"

// The screens read a word-data file only through its record sources (the views), so a file
// whose views were redefined can hold good tables and still show wrong lists or counts. This
// compares every record source with what the base tables say it must hold.
namespace RecordSourceCheck {

// Problems of the word-data file at path, named after it. Throws DataError.
DeckProblems run(const QString& path);

} // namespace RecordSourceCheck
