#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class JetFile;

// The rows of an older word-data file as our format holds them. Optional fields keep Null as
// an invalid QVariant and an empty text as an empty one.
struct LegacyGroup {
    qint64 group = 0;
    QString tittle;
    QString ttlimage;
    QString setmei;
};

struct LegacySubGroup {
    qint64 group = 0;
    qint64 sgroup = 0;
    QString images;
    bool select = false;
};

struct LegacyWord {
    qint64 key = 0;
    qint64 group = 0;
    qint64 sgroup = 0;
    qint64 level = 0;
    qint64 times = 0;
    QString word;
    QVariant meaning;
    QString images;
    QString voice;
    QVariant text1;
    QVariant text2;
    QVariant filler1; // qint64 or Null
    QVariant filler2;
    QVariant filler3;
};

struct LegacyDeck {
    QList<LegacyGroup> groups;
    QList<LegacySubGroup> subGroups;
    QList<LegacyWord> words;
    // One line per row that our format cannot hold, saying which and why.
    QStringList leftOut;
};

// Maps the record sources tittle, ordered, selected and word (with select_word's join when the
// words carry no group and sgroup) onto our tables. Rows that our format cannot hold are left
// out and listed; a missing record source or field, or a query that cannot be understood,
// throws LegacyError.
LegacyDeck readLegacyDeck(const JetFile& file);
