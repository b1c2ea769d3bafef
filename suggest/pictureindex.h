#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The emoji of the colour emoji font, found by the words people use for them: the Unicode
// CLDR annotations, each emoji's spoken name and keywords, in English and in Japanese. Read
// once; a search goes through the few thousand names in memory.
//
// Ranking: the spoken name equal to the word, then a keyword equal to it, then a keyword that
// starts with it; among equals the emoji with fewer keywords (the more specific picture), then
// the annotations' own order (by kind of thing). A word in
// Japanese is looked up in the Japanese names, its hiragana also as katakana.
class PictureIndex {
  public:
    // The folder Debian's unicode-cldr-core package installs the annotations in.
    static QString installedFolder();

    // Reads annotations/ and annotationsDerived/ (flags, families) of folder for English and
    // Japanese; an empty index, which finds nothing, when they cannot be read.
    static PictureIndex load(const QString& folder);
    // Reads the annotations of one language from XML text (for tests).
    void addAnnotations(const QByteArray& xml, bool japanese);

    bool isEmpty() const { return english_.empty() && japanese_.empty(); }
    // Up to limit emoji for word, best first.
    QStringList search(const QString& word, int limit = 8) const;
    qsizetype memoryBytes() const;

  private:
    struct Item {
        QString emoji;
        QString name;
        QStringList keywords;
    };
    std::vector<Item> english_;
    std::vector<Item> japanese_;
};
