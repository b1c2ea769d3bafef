#include "suggestions.h"

#include "suggestwords.h"

#include <QDir>
#include <algorithm>
#include <mutex>

Suggestions::Suggestions(PictureIndex pictures, MeaningDictionary meanings)
    : pictures_(std::move(pictures))
    , meanings_(std::move(meanings)) {}

std::shared_ptr<const Suggestions> Suggestions::loadInstalled() {
    // Read once a process: every window (and every test's window) shares it.
    static std::mutex loading;
    static std::shared_ptr<const Suggestions> installed;
    const std::lock_guard lock(loading);
    if (!installed)
        installed = std::make_shared<const Suggestions>(
            PictureIndex::load(PictureIndex::installedFolder()),
            MeaningDictionary::load(MeaningDictionary::installedFile()));
    return installed;
}

QList<Suggestions::Picture> Suggestions::pictures(const QString& word, const QString& imagesFolder,
                                                  int limit) const {
    QList<Picture> found;
    if (word.trimmed().isEmpty())
        return found;
    // The deck's own pictures come first (a few at most), so that a word reuses its picture.
    const QStringList own = deckPicturesNamed(imagesFolder, word.trimmed());
    for (const QString& name : own.first(std::min<qsizetype>({3, own.size(), limit})))
        found << Picture{{}, name};
    QStringList emoji = pictures_.search(word, limit - int(found.size()));
    // A Japanese word the emoji names lack (どうぶつ) is looked up by its English.
    if (emoji.isEmpty() && SuggestWords::isJapanese(word))
        for (const QString& english : meanings_.english(SuggestWords::hiragana(word.trimmed())))
            for (const QString& more : pictures_.search(english, limit))
                if (!emoji.contains(more) && emoji.size() < limit - found.size())
                    emoji << more;
    for (const QString& each : emoji)
        found << Picture{each, {}};
    return found;
}

QStringList Suggestions::meanings(const QString& word, int limit) const {
    return meanings_.meanings(word, limit);
}

QStringList deckPicturesNamed(const QString& imagesFolder, const QString& word) {
    if (imagesFolder.isEmpty() || word.isEmpty())
        return {};
    QStringList names;
    const QStringList files =
        QDir(imagesFolder)
            .entryList({QStringLiteral("*.jpg"), QStringLiteral("*.JPG")}, QDir::Files);
    for (const QString& file : files) {
        const QString name = file.chopped(4);
        if (name.startsWith(word, Qt::CaseInsensitive))
            names << name;
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.size() < b.size(); });
    return names;
}
