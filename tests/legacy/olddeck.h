#pragma once

#include "jetwriter.h"

// An older word-data file as such files were made: the record sources over base tables, in
// the shapes the import must understand.
struct OldDeck {
    enum class Groups { Table, Query };          // tittle itself, or a query over "groupdata"
    enum class Link { Columns, SelectWordJoin }; // word's group/sgroup, or gno/sno joined
    Groups groups = Groups::Table;
    Link link = Link::Columns;
    QString subGroupTable = QStringLiteral("subgroup");
    int words = 6; // spread over the three sub-groups 1-1 (marked), 1-2 and 2-1
    JetWriter::TextEncoding encoding = JetWriter::TextEncoding::Compressed;
    bool withWord = true;

    // Extra rows, added as given (values in the column order of the tables below).
    QList<QVariantList> extraGroups;    // group, tittle, ttlimage, setmei
    QList<QVariantList> extraSubGroups; // group, sgroup, images, select
    QList<QVariantList> extraWords;     // key, group, sgroup, level, times, word, meaning,
                                        // images, voice, text1, text2, filler1, filler2, filler3

    JetWriter writer() const;
    // The word of key k as writer() makes it (for checks).
    static QVariantList word(int key);
};
