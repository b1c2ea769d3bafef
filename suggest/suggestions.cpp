#include "suggestions.h"

#include "suggestwords.h"

#include <QDir>
#include <QRegularExpression>
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
    const int room = limit - int(found.size());
    QStringList emoji = pictures_.search(word, room);
    const auto add = [&](const QString& text) {
        for (const QString& more : pictures_.search(text, room))
            if (!emoji.contains(more) && emoji.size() < room)
                emoji << more;
    };
    // A Japanese title the emoji names lack (どうぶつ, "くだもの と のりもの") is looked up word
    // by word, through how the dictionary writes it (動物) and then through its English.
    if (emoji.isEmpty() && SuggestWords::isJapanese(word))
        for (const QString& part :
             word.split(QRegularExpression(QStringLiteral("[\\s　]+")), Qt::SkipEmptyParts)) {
            if (part.size() < 2)
                continue; // と, の: particles
            const qsizetype before = emoji.size();
            add(part);
            const MeaningDictionary::Written written =
                meanings_.written(SuggestWords::hiragana(part));
            for (const QString& headword : written.headwords)
                if (emoji.size() == before)
                    add(headword);
            for (const QString& english : written.english)
                if (emoji.size() == before)
                    add(english);
        }
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
        // "dog", "Dog_big", "dog2"; not "dogwood" (nor "caterpillar" for "cat").
        if (name.startsWith(word, Qt::CaseInsensitive) &&
            (name.size() == word.size() || !name.at(word.size()).isLetter()))
            names << name;
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.size() < b.size(); });
    return names;
}
