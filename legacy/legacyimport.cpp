#include "legacyimport.h"

#include "jetfile.h"
#include "legacydeck.h"
#include "legacyerror.h"
#include "legacywriter.h"
#include "medialookup.h"
#include "temporaryname.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <deckvalidator.h>
#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void replaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    if (error)
        throw LegacyError(
            LegacyError::Reason::Write,
            QStringLiteral("%1: %2").arg(to, QString::fromStdString(error.message())));
}

// Copied under a temporary name and renamed, so that a copy cut short is never taken for the
// picture.
void copyFile(const QString& from, const QString& to) {
    if (QFileInfo::exists(to) &&
        QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return;
    if (!QDir().mkpath(QFileInfo(to).path()))
        throw LegacyError(LegacyError::Reason::Write,
                          QStringLiteral("%1: cannot create the folder").arg(QFileInfo(to).path()));
    const QString part = to + QStringLiteral(".part");
    std::error_code error;
    std::filesystem::copy_file(nativePath(from), nativePath(part),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        QFile::remove(part);
        throw LegacyError(
            LegacyError::Reason::Write,
            QStringLiteral("%1: %2").arg(to, QString::fromStdString(error.message())));
    }
    replaceFile(part, to);
}

// A folder beside the older file, found without regard to case ("Images" on Windows).
QString subFolder(const QString& folder, const QString& name) {
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry == name)
            return dir.filePath(entry);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

// Copies every picture and voice the deck names; the names of those not found.
QStringList copyMedia(const LegacyDeck& deck, const QString& from, const QString& to,
                      const std::function<void(int done, int total)>& copied) {
    const MediaFolder pictures(subFolder(from, QStringLiteral("images")));
    const MediaFolder voices(subFolder(from, QStringLiteral("voice")));
    QStringList pictureNames;
    QStringList voiceNames;
    for (const LegacyGroup& group : deck.groups)
        pictureNames << group.ttlimage;
    for (const LegacySubGroup& subGroup : deck.subGroups)
        pictureNames << subGroup.images;
    for (const LegacyWord& word : deck.words) {
        pictureNames << word.images;
        voiceNames << word.voice;
    }
    pictureNames.removeDuplicates();
    voiceNames.removeDuplicates();
    QStringList missing;
    const QDir target(to);
    const int total = int(pictureNames.size() + voiceNames.size());
    int done = 0;
    for (const QString& name : pictureNames) {
        copied(done++, total);
        const QString found = pictures.picture(name);
        if (found.isEmpty()) {
            missing << QStringLiteral("images/%1.jpg").arg(name);
            continue;
        }
        // Stored under the name the deck gives, with the suffix in lower case.
        copyFile(found, target.filePath(QStringLiteral("images/") + name + u'.' +
                                        QFileInfo(found).suffix().toLower()));
    }
    for (const QString& name : voiceNames) {
        copied(done++, total);
        const QString found = voices.voice(name);
        if (found.isEmpty()) {
            missing << QStringLiteral("voice/%1.wav").arg(name);
            continue;
        }
        copyFile(found, target.filePath(QStringLiteral("voice/") + name + QStringLiteral(".wav")));
    }
    return missing;
}

// The rows as the deck check sees them.
Deck deckOf(const LegacyDeck& legacy) {
    Deck deck;
    for (const LegacyGroup& g : legacy.groups)
        deck.groups << DeckGroup{0, g.group, g.tittle, g.ttlimage, g.setmei};
    for (const LegacySubGroup& s : legacy.subGroups)
        deck.subGroups << DeckSubGroup{0, s.group, s.sgroup, s.images};
    for (const LegacyWord& w : legacy.words) {
        DeckWord word;
        word.key = w.key;
        word.group = w.group;
        word.sgroup = w.sgroup;
        word.level = w.level;
        word.times = w.times;
        word.word = w.word;
        word.images = w.images;
        word.voice = w.voice;
        deck.words << word;
    }
    return deck;
}

// A conversion is done only when the deck passes the deck check (its pictures and voices
// apart, which are reported as missing): rows the reader took but the check refuses would make
// a deck that the program or pml-build --check turns away.
void requirePassingDeck(const LegacyDeck& legacy, const QString& from) {
    const DeckProblems problems = validateDeck(deckOf(legacy), DeckOrigin{from, from, from}, {});
    if (problems.isEmpty())
        return;
    QStringList lines;
    for (const DeckProblem& problem : problems)
        lines << problem.message;
    throw LegacyError(LegacyError::Reason::Damaged,
                      QStringLiteral("%1: the converted deck would not pass the check: %2")
                          .arg(from, lines.join(QStringLiteral("; "))));
}

} // namespace

QString ImportReport::text() const {
    QStringList lines{QStringLiteral("groups: %1, sub-groups: %2, words: %3")
                          .arg(groups)
                          .arg(subGroups)
                          .arg(words)};
    if (!leftOut.isEmpty()) {
        lines << QStringLiteral("rows left out: %1").arg(leftOut.size());
        for (const QString& line : leftOut)
            lines << QStringLiteral("  ") + line;
    }
    if (!missingMedia.isEmpty()) {
        lines << QStringLiteral("pictures and voices missing: %1").arg(missingMedia.size());
        for (const QString& line : missingMedia)
            lines << QStringLiteral("  ") + line;
    }
    return lines.join(u'\n') + u'\n';
}

namespace LegacyImport {

ImportReport convert(const QString& from, const QString& to, const Progress& step) {
    // Reading and writing count as much as copying a hundred files each.
    constexpr int stage = 100;
    const auto report = [&](int done, int total) {
        if (step)
            step(done, total);
    };
    report(0, 3 * stage);
    if (QFileInfo(to).absoluteFilePath() == QFileInfo(from).absoluteFilePath() ||
        (QFileInfo::exists(to) &&
         QFileInfo(to).canonicalFilePath() == QFileInfo(from).canonicalFilePath()))
        throw LegacyError(LegacyError::Reason::Write,
                          QStringLiteral("%1: the new file would replace the older one").arg(to));
    const LegacyDeck deck = [&] {
        const JetFile file(from);
        return readLegacyDeck(file);
    }();
    requirePassingDeck(deck, from);
    const QFileInfo target(to);
    if (!QDir().mkpath(target.absolutePath()))
        throw LegacyError(
            LegacyError::Reason::Write,
            QStringLiteral("%1: cannot create the folder").arg(target.absolutePath()));
    const QString temporary = temporaryNameBeside(target.absoluteFilePath());
    if (temporary.isEmpty())
        throw LegacyError(
            LegacyError::Reason::Write,
            QStringLiteral("%1: cannot write in this folder").arg(target.absolutePath()));
    ImportReport conversion;
    try {
        report(stage, 3 * stage);
        writeLegacyDeck(deck, temporary);
        conversion.missingMedia =
            copyMedia(deck, QFileInfo(from).absolutePath(), target.absolutePath(),
                      [&](int done, int total) { report(2 * stage + done, 2 * stage + total); });
        replaceFile(temporary, target.absoluteFilePath());
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    conversion.groups = int(deck.groups.size());
    conversion.subGroups = int(deck.subGroups.size());
    conversion.words = int(deck.words.size());
    conversion.leftOut = deck.leftOut;
    return conversion;
}

} // namespace LegacyImport
