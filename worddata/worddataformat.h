#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class QSqlDatabase;

// The layout of a word-data file (.pml): an SQLite 3 database marked with our application id
// and format version, created only from the schema compiled into the library (schema.sql).
namespace WordDataFormat {

// PRAGMA application_id of every word-data file ("PMLT").
inline constexpr std::int32_t applicationId = 0x504D4C54;
// PRAGMA user_version: the format version that this program writes. Version 1 files (without
// the key mark) are read and written as they are; the deck maker upgrades them.
inline constexpr int formatVersion = 2;
inline constexpr int oldestFormatVersion = 1;
// The objects that version 2 added.
inline constexpr QLatin1StringView keyMarkTable{"keymark"};
inline constexpr QLatin1StringView keyMarkTrigger{"word_keymark"};

inline constexpr int firstGroup = 1;
inline constexpr int lastGroup = 6;
inline constexpr int lowestLevel = 0;
inline constexpr int highestLevel = 5;
// The learning levels, 0 (not seen yet) to 5: a button, a count and a column each on screen.
inline constexpr int levelCount = highestLevel - lowestLevel + 1;

struct Column {
    QLatin1StringView name;
    bool required; // NOT NULL
};

// Base tables.
inline constexpr QLatin1StringView groupTable{"tittle"};
inline constexpr QLatin1StringView subGroupTable{"subgroup"};
inline constexpr QLatin1StringView wordTable{"word"};

inline constexpr std::array<Column, 4> groupColumns{{
    {QLatin1StringView("group"), true},
    {QLatin1StringView("tittle"), true},
    {QLatin1StringView("ttlimage"), true},
    {QLatin1StringView("setmei"), true},
}};

// "select" is 0 or 1 and 0 in a new deck.
inline constexpr std::array<Column, 4> subGroupColumns{{
    {QLatin1StringView("group"), true},
    {QLatin1StringView("sgroup"), true},
    {QLatin1StringView("images"), true},
    {QLatin1StringView("select"), true},
}};

// "level" (0..5) and "times" default to 0.
inline constexpr std::array<Column, 14> wordColumns{{
    {QLatin1StringView("key"), true},
    {QLatin1StringView("group"), true},
    {QLatin1StringView("sgroup"), true},
    {QLatin1StringView("level"), true},
    {QLatin1StringView("times"), true},
    {QLatin1StringView("word"), true},
    {QLatin1StringView("meaning"), false},
    {QLatin1StringView("images"), true},
    {QLatin1StringView("voice"), true},
    {QLatin1StringView("text1"), false},
    {QLatin1StringView("text2"), false},
    {QLatin1StringView("filler1"), false},
    {QLatin1StringView("filler2"), false},
    {QLatin1StringView("filler3"), false},
}};

// The record sources that the screens open by name (tittle is the group table itself).
namespace RecordSource {
inline constexpr QLatin1StringView tittle{"tittle"};
inline constexpr QLatin1StringView selected{"selected"};
inline constexpr QLatin1StringView ordered{"ordered"};
inline constexpr QLatin1StringView syukei{"syukei"};
inline constexpr QLatin1StringView syukei2{"syukei2"};
inline constexpr QLatin1StringView selectWord{"select_word"};
inline constexpr QLatin1StringView word{"word"};
} // namespace RecordSource

// Every record source the program reads, with the fields it reads from it.
struct SourceFields {
    QLatin1StringView source;
    QStringList fields;
};
const QList<SourceFields>& recordSources();

// A record source whose rows can be written: the fields naming a row and those that may
// be assigned (through the view's INSTEAD OF UPDATE trigger).
struct UpdatableSource {
    QLatin1StringView source;
    QStringList identity;
    QStringList writable;
};
// nullptr when rows of that source cannot be written.
const UpdatableSource* updatableSource(const QString& source);

// The schema's SQL text (the compiled-in resource).
QString schemaSql();
// The schema as single statements, in order.
QStringList schemaStatements();

// The grading history (history.sql): a table the first grading adds to a deck, in the
// grading's own transaction; the only change the program makes to a file's structure.
inline constexpr QLatin1StringView historyTable{"history"};
QStringList historyStatements();
bool hasHistory(const QSqlDatabase& db);
// Adds the history to a deck that lacks it; call it inside the transaction of the change
// that needs it.
void ensureHistory(const QSqlDatabase& db);

// Creates the tables, views, triggers and indexes on an open, empty database and sets
// application_id and user_version, in one transaction. Throws DataError.
void applySchema(QSqlDatabase& db);

// Creates a new, empty word-data file at path. Refuses an existing path (a deck is written to
// a new file and renamed into place). Throws DataError.
void create(const QString& path);

// Brings a file of an older format version to this one (nothing is done to a file of this
// version). Run inside a transaction, so that a file is upgraded whole or not at all. Throws
// DataError.
void upgrade(const QSqlDatabase& db);

// The key for a new word: above every key the file's words and grading history hold and,
// from version 2, every key it has held.
qint64 nextKey(const QSqlDatabase& db);

// The checks made at opening: application id, format version, every record source with its
// fields, then damage() (the full integrity check on a file small enough for it). Throws
// DataError saying which failed.
void check(QSqlDatabase& db);

enum class Integrity {
    Quick, // PRAGMA quick_check: pages and records, not whether the indexes match the rows
    Full,  // PRAGMA integrity_check
};
// The engine's full check costs about 9 ms per MB here (7.9 ms on a 10,000-word deck of
// 0.9 MB, against 2.7 ms for the quick one); up to this size it is made at opening, so that
// opening stays under about 50 ms, beyond it the quick one.
inline constexpr qint64 fullCheckAtOpeningBytes = 4 * 1024 * 1024;
Integrity integrityAtOpening(const QSqlDatabase& db);

// Every way the file differs from what this program writes, one text each, or none:
// the engine's integrity check, then tables, indexes, views and triggers missing, changed or
// not ours (by name) for the file's format version, then the kept word counts against the
// words and the key mark against the keys.
QStringList damage(const QSqlDatabase& db, Integrity integrity);

// Compares the kept word counts ("tally", read by syukei and syukei2) with the words: a file
// changed by hand with the triggers dropped. Throws DataError(Damaged).
void checkTallies(const QSqlDatabase& db);

} // namespace WordDataFormat
