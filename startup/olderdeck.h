#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Word-data files in the older Access 2000 format (made on Windows): converted once, when the
// user agrees, into a deck of our format under decks/NAME/ in the settings folder; the chosen
// file is never changed.
namespace OlderDeck {

struct Conversion {
    QString error;  // one line naming the reason; empty on success
    QString report; // what was carried over and what was not (written as import-report.txt)
    int leftOut = 0;
    int missingMedia = 0;
    QStringList missingNames; // the pictures and voices not found, as the deck names them
};
// step(done, total) reports how far the conversion is.
using Progress = std::function<void(int done, int total)>;
using Converter =
    std::function<Conversion(const QString& from, const QString& to, const Progress& step)>;

// The conversion (legacy/'s LegacyImport), its failure worded in one line.
Conversion convert(const QString& from, const QString& to, const Progress& step);

// True when path starts with the header of such a file, whatever its extension.
bool isOlderFormat(const QString& path);

// The deck to use for the chosen path: path itself when it is not an older file; the deck
// converted from it before (said once); or, when the user agrees (Yes/No), a new conversion
// made by converter. Empty when the user said No or the conversion failed (said, with the
// reason): everything then stays as it was.
QString offerConversion(const QString& path, const Converter& converter = convert);

} // namespace OlderDeck
