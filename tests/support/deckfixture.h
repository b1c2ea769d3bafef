#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Builds a word-data file for a test (or the benchmark's large deck) from rows given in code,
// so that no test depends on the sample deck. Pictures and voices are named after the row
// ("g1", "g1s2", "w17"); the files themselves are not made.
class DeckFixture {
  public:
    struct Word {
        int key = 0;
        int group = 1;
        int sgroup = 1;
        int level = 0;
        int times = 0;
        QString word{}; // "word<key>" when empty
        QVariant meaning{}, text1{}, text2{}, filler1{}, filler2{}, filler3{}; // Null unless set
    };

    DeckFixture& group(int group, const QString& title = {});
    DeckFixture& subGroup(int group, int sgroup, bool marked = false);
    DeckFixture& word(const Word& word);
    // count words keyed firstKey, firstKey + 1, ... in one sub-group at one level.
    DeckFixture& words(int group, int sgroup, int level, int count, int firstKey);

    // Creates the file (it must not exist) and writes every row in one transaction.
    // Throws DataError.
    void write(const QString& path) const;

    // Runs statements on a file through a private connection: tests use it to alter or
    // damage a file. Throws DataError.
    static void execute(const QString& path, const QStringList& statements);
    // The first value of a query through a private connection: what another process would
    // read from the file (only committed data).
    static QVariant scalar(const QString& path, const QString& sql);
    // What the full damage check finds in the file as committed, the program's own connection
    // to it closed first. Throws DataError.
    static QStringList damage(const QString& path);

  private:
    struct Group {
        int group;
        QString title;
    };
    struct SubGroup {
        int group;
        int sgroup;
        bool marked;
    };
    QList<Group> groups_;
    QList<SubGroup> subGroups_;
    QList<Word> words_;
};
