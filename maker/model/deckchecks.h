#pragma once

#include <QList>
#include <QString>
#include <deck.h>

// What is wrong with a deck for the screens, in the words of the maker's window, each with the
// row it is about so that the window can show that row. The rules are those of the deck tool's
// check (empty required texts, media names that are not plain, pictures and voices missing or
// empty), plus words that appear twice, which the program accepts but a child finds confusing.
struct DeckCheck {
    enum class Row { Group, SubGroup, Word };
    Row row = Row::Word;
    qint64 group = 0;
    qint64 sgroup = 0; // sub-groups and words
    qint64 key = 0;    // words
    QString text;
    bool operator==(const DeckCheck&) const = default;
};

// Problems in table order, then row order. mediaFolder ends with a separator.
QList<DeckCheck> checkDeck(const Deck& deck, const QString& mediaFolder);
