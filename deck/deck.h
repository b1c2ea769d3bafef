#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <optional>
#include <span>

// A deck as the builder handles it: the rows of the three tables of a word-data file, read from
// CSV files or from a .pml. Numbers are kept wide so that a value out of range can be reported
// instead of being cut.
struct DeckGroup {
    int line = 0; // line in the CSV file; 0 when read from a .pml
    qint64 group = 0;
    QString tittle;
    QString ttlimage;
    QString setmei;
    bool operator==(const DeckGroup&) const = default;
};

struct DeckSubGroup {
    int line = 0;
    qint64 group = 0;
    qint64 sgroup = 0;
    QString images;
    // The main menu's passing mark; only a conversion keeps it (see PmlDeck::WriteOptions).
    bool select = false;
    bool operator==(const DeckSubGroup&) const = default;
};

struct DeckWord {
    int line = 0;
    qint64 key = 0;
    qint64 group = 0;
    qint64 sgroup = 0;
    qint64 level = 0;
    qint64 times = 0;
    QString word;
    QString meaning; // a null text is stored as Null, like every optional text
    QString images;
    QString voice;
    QString text1;
    QString text2;
    std::optional<qint64> filler1;
    QString filler2;
    QString filler3;
    bool operator==(const DeckWord&) const = default;
};

// One row of the grading history: a word's level before and after a grading or a reset, at a
// time in UTC ("2026-12-10T05:10:00.123Z").
struct DeckHistory {
    int line = 0;
    QString time;
    qint64 key = 0;
    qint64 before = 0;
    qint64 after = 0;
    // The word's English, named beside its key in history.csv for people reading it; the key
    // is what counts. Filled from the deck's words whenever a history is read or exported.
    QString word;
    bool operator==(const DeckHistory&) const = default;
};

struct Deck {
    QList<DeckGroup> groups;
    QList<DeckSubGroup> subGroups;
    QList<DeckWord> words;
    QList<DeckHistory> history; // read and written by the CSV folder and PmlDeck::read/write
    bool operator==(const Deck&) const = default;
};

// One column of a table, in the order the CSV files and the word-data file list them.
// The sub-group table's "select" mark is not a column here: it is the main menu's passing
// state (cleared whenever a group is chosen), so a built deck starts with every mark cleared.
enum class FieldKind { Integer, Text };
enum class Presence {
    Required,  // must have a value
    Defaulted, // an empty value or a missing CSV column means 0
    Optional,  // an empty value or a missing CSV column means Null
};

template <typename Record> struct DeckField {
    QLatin1StringView name;
    FieldKind kind;
    Presence presence;
    QVariant (*get)(const Record&); // a null QVariant for Null
    void (*set)(Record&, const QVariant&);
};

namespace DeckFields {
std::span<const DeckField<DeckGroup>> groups();
std::span<const DeckField<DeckSubGroup>> subGroups();
std::span<const DeckField<DeckWord>> words();
std::span<const DeckField<DeckHistory>> history();
// history.csv's columns: the history's with the word beside the key.
std::span<const DeckField<DeckHistory>> historyCsv();
} // namespace DeckFields

// Names each history row's word from words (empty for a word no longer there).
void nameHistory(QList<DeckHistory>& history, const QList<DeckWord>& words);
