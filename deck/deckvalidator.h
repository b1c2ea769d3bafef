#pragma once

#include "deck.h"
#include "deckproblem.h"

// Where the three tables of a deck were read from, for the reports: the three CSV files, or
// the same .pml three times.
struct DeckOrigin {
    QString groupsFile;
    QString subGroupsFile;
    QString wordsFile;
    // False when rows of that table could not be read (already reported): references to it
    // are then not checked, so that one bad row does not bring a report on every row using it.
    bool groupsComplete = true;
    bool subGroupsComplete = true;
};

// Everything a word-data file must satisfy for the screens to work: groups 1..6 once each,
// sub-groups of existing groups, words of existing sub-groups with unique keys, levels 0..5,
// numbers in range, required texts present, and every named picture and voice present in
// mediaFolder/images/NAME.jpg and mediaFolder/voice/NAME.wav (an empty mediaFolder checks the
// names only). Problems come in table order, then row order.
DeckProblems validateDeck(const Deck& deck, const DeckOrigin& origin, const QString& mediaFolder);

// The rules one row must satisfy on its own: numbers in range, required texts present, media
// names plain. Not the rules across rows (a number twice, a missing group) nor the media files.
// The messages name no row ("level 7 is not between 0 and 5").
DeckProblems checkRow(const DeckGroup& row);
DeckProblems checkRow(const DeckSubGroup& row);
DeckProblems checkRow(const DeckWord& row);
