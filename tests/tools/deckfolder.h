#pragma once

#include "deck.h"

#include <QString>
#include <QStringList>

// A small deck folder written by a test: three CSV files and a non-empty file for every picture
// and voice they name. The rows cover quoting, a field over two lines, Null texts, levels
// and counts.
namespace DeckFolder {

// Lines of each file as written by write(); a test changes them before writing.
struct Files {
    QStringList groups;
    QStringList subGroups;
    QStringList words;
};

Files base();

// Writes files into folder (created) with "\n" between lines, and the media of base().
void write(const QString& folder, const Files& files);

// The deck with every row's line number 0, to compare decks read from different files.
Deck withoutLines(Deck deck);

// The same file name relative to a folder ("words.csv:3: ..." for "/tmp/x/words.csv:3: ...").
QString relative(const QString& report, const QString& folder);

} // namespace DeckFolder
