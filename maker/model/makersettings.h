#pragma once

#include <QString>
#include <QStringList>

// What the deck maker remembers between runs, in a small text file of the settings folder:
// whether a new word gets a spoken voice at once, the folder pictures were last chosen from
// (apart from the decks' folder), and the last decks opened, newest first.
struct MakerSettings {
    static constexpr int RecentCount = 5;
    static QString fileName() { return QStringLiteral("PMLMAKER.ini"); }

    bool speakNewWords = true;
    QString pictureFolder;
    QStringList recentDecks;

    // The settings in path; the defaults for what the file lacks or when it cannot be read.
    static MakerSettings read(const QString& path);
    // Replaces the file whole; false when it could not be written.
    bool write(const QString& path) const;
    // Puts deck first among the recent decks (once; at most RecentCount).
    void remember(const QString& deck);
    // Takes a deck that could not be opened off the list.
    void forget(const QString& deck);
};
