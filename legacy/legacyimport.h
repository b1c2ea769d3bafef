#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What a conversion carried over and what it could not.
struct ImportReport {
    int groups = 0;
    int subGroups = 0;
    int words = 0;
    QStringList leftOut;      // rows our format cannot hold, one line each
    QStringList missingMedia; // "images/dog.jpg", "voice/dog.wav"
    // The counts, then every row left out and every file missing, one per line.
    QString text() const;
};

// Converting an older (Access 2000-format) word-data file into one of our format.
namespace LegacyImport {

// Converts the file at from into a new word-data file at to, and copies the pictures and
// voices it names from images/ and voice/ beside from into images/ and voice/ beside to. from
// is only read. to is written whole or not at all: built under a temporary name beside it and
// renamed into place, replacing a file there. Throws LegacyError.
// step(done, total), when given, is called now and then with how far the work is.
using Progress = std::function<void(int done, int total)>;
ImportReport convert(const QString& from, const QString& to, const Progress& step = {});

} // namespace LegacyImport
