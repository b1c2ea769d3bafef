#pragma once

#include <QList>
#include <QString>
#include <deck.h>

// What is wrong with a deck for the screens, in the words of the maker's window, each with the
// row it is about so that the window can show that row. The rules are those of the deck tool's
// check (empty required texts, media names that are not plain, pictures and voices missing or
// empty), plus words that appear twice, which the program accepts but a child finds confusing,
// and texts longer than a card shows.
//
// A group's or a sub-group's picture that the main menu cannot show is a fault: the program
// then says the deck is the wrong data file and stops loading there. Everything else is only
// incomplete: the screens show an empty picture or play the default sound.
struct DeckCheck {
    enum class Row { Group, SubGroup, Word };
    Row row = Row::Word;
    qint64 group = 0;
    qint64 sgroup = 0; // sub-groups and words
    qint64 key = 0;    // words
    QString text;
    bool refused = false; // the program refuses the deck for it
    bool operator==(const DeckCheck&) const = default;
};

// The longest English word and meaning that a practice card shows whole on a 1024 x 768
// screen: the word wraps over three lines of its label at the smallest type, the meaning
// stands in one line of Japanese under the card.
constexpr int longestCardWord = 40;
constexpr int longestCardMeaning = 24;

// Problems: the faults first, then the rest, each in table order, then row order. mediaFolder
// ends with a separator.
QList<DeckCheck> checkDeck(const Deck& deck, const QString& mediaFolder);
