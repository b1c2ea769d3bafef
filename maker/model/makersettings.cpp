#include "makersettings.h"

#include <QDir>
#include <QFileInfo>
#include <settingsfile.h>

// Line 1: 1 or 0 (speak new words); line 2: the picture folder; then one recent deck a line.
MakerSettings MakerSettings::read(const QString& path) {
    MakerSettings settings;
    const QStringList lines = SettingsFile::readLines(path, 2 + RecentCount);
    if (!lines.isEmpty())
        settings.speakNewWords = SettingsFile::toNumber(lines.at(0)).value_or(1) != 0;
    if (lines.size() > 1)
        settings.pictureFolder = lines.at(1);
    for (const QString& deck : lines.mid(2))
        if (!deck.isEmpty() && !settings.recentDecks.contains(deck))
            settings.recentDecks << deck;
    return settings;
}

bool MakerSettings::write(const QString& path) const {
    QStringList lines{SettingsFile::numberText(speakNewWords ? 1 : 0), pictureFolder};
    lines += recentDecks;
    // The settings folder is made by the program's first start; the maker may come first.
    return QDir().mkpath(QFileInfo(path).absolutePath()) && SettingsFile::writeLines(path, lines);
}

void MakerSettings::remember(const QString& deck) {
    const QString path = QFileInfo(deck).absoluteFilePath();
    recentDecks.removeAll(path);
    recentDecks.prepend(path);
    while (recentDecks.size() > RecentCount)
        recentDecks.removeLast();
}

void MakerSettings::forget(const QString& deck) {
    recentDecks.removeAll(QFileInfo(deck).absoluteFilePath());
}
