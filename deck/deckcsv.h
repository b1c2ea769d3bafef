#pragma once

#include "deck.h"
#include "deckproblem.h"

// A deck's source folder: groups.csv, subgroups.csv and words.csv (UTF-8, a header row naming
// the columns in any order), with the pictures in images/ and the voices in voice/.
namespace DeckCsv {

inline constexpr QLatin1StringView groupsFile{"groups.csv"};
inline constexpr QLatin1StringView subGroupsFile{"subgroups.csv"};
inline constexpr QLatin1StringView wordsFile{"words.csv"};
// The grading history, when the deck has one (time, key, word, before, after).
inline constexpr QLatin1StringView historyFile{"history.csv"};

struct ReadResult {
    Deck deck;
    DeckProblems problems; // empty when the deck can be built
};

// Reads and validates the deck in folder, media included. Reports name the files by their
// path under folder as given.
ReadResult read(const QString& folder);

// Reads the three files without validating the rows (the media makers use the names only).
ReadResult readUnchecked(const QString& folder);

// Writes the three files into folder (created when missing), every column included; an
// existing file is replaced whole. Returns an error text, empty on success.
QString write(const Deck& deck, const QString& folder);

} // namespace DeckCsv
