#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Japanese meanings of an English word, from a Japanese–English dictionary in the EDICT text
// form ("見出し [よみ] /(n) (1) gloss/gloss/(n) (2) gloss/(P)/", EUC-JP), as a child reads
// them: the entry's kana reading. The file is read once; a search is a binary search in memory.
//
// Ranking: common entries (their (P) mark) first; then entries whose first gloss is the word,
// then those whose first sense has it, then the rest; a reading in hiragana before one with
// katakana (a child's deck says いぬ, not ドッグ); a noun before a verb ("bear": くま before
// たえる) and before other kinds of word; then the dictionary's order. Abbreviations in
// capitals ("CAT", a card terminal) are not glosses a child's word matches. A gloss
// matches with "to " (verbs), "a "/"the " and a trailing remark in brackets left off, so
// "eat" finds たべる through "to eat". Senses marked rude, slang, archaic or obsolete are left
// out: the meanings are shown to young children.
class MeaningDictionary {
  public:
    // The dictionary Debian's edict package installs.
    static QString installedFile();

    // Reads the file; an empty dictionary (which finds nothing) when it cannot be read.
    static MeaningDictionary load(const QString& file);
    // Reads dictionary text already in memory, in UTF-8 (for tests).
    static MeaningDictionary fromText(const QByteArray& utf8);

    bool isEmpty() const { return glosses_.empty(); }
    // Up to limit readings for word, best first, each once.
    QStringList meanings(const QString& word, int limit = 5) const;
    // Common words read as reading (kana): how they are written (どうぶつ → 動物) and their
    // first glosses ("animal"), to find pictures by a Japanese word.
    struct Written {
        QStringList headwords;
        QStringList english;
    };
    Written written(const QString& reading) const;
    // What the index holds, in bytes (a measure of its memory).
    qsizetype memoryBytes() const;

  private:
    struct Entry {
        quint32 reading = 0; // offset into text_
        quint16 length = 0;
        bool common = false;
        bool katakana = false; // a loanword's reading: after native words among equals
        bool noun = false;     // "red": あか (a noun) before あかい among equals
    };
    struct Common {
        quint32 entry = 0;
        quint32 headword = 0; // offset into text_
        quint16 headwordLength = 0;
        quint32 gloss = 0; // the first gloss, offset into text_
        quint16 glossLength = 0;
    };
    struct Gloss {
        quint32 text = 0; // offset into text_ of the normalised gloss
        quint16 length = 0;
        quint8 place = 0;  // 0 the first gloss, 1 in the first sense, 2 later
        bool verb = false; // "to bear": after the noun "bear" among equals
        quint32 entry = 0;
    };
    void addLine(const QByteArray& line);
    void addGloss(const QByteArray& gloss, quint8 place, bool verb, quint32 entry);
    QByteArray glossAt(const Gloss& gloss) const;
    QByteArrayView readingOf(quint32 entry) const;

    QByteArray text_; // readings and normalised glosses, UTF-8
    std::vector<Entry> entries_;
    std::vector<Gloss> glosses_; // sorted by text
    std::vector<Common> common_; // common words, sorted by reading
};
