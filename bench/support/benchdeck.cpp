#include "benchdeck.h"

#include "deckfixture.h"

#include <QDir>
#include <worddataformat.h>

namespace BenchDeck {

void write(const QString& path) {
    DeckFixture deck;
    for (int g = 1; g <= groups; ++g) {
        deck.group(g);
        for (int s = 1; s <= subGroupsPerGroup; ++s)
            deck.subGroup(g, s);
    }
    const int subGroups = groups * subGroupsPerGroup;
    for (int i = 0; i < words; ++i) {
        const int place = i % subGroups; // neighbouring keys sit in different sub-groups
        const int nth = (i / subGroups) % 10;
        DeckFixture::Word word;
        word.key = i + 1;
        word.group = place / subGroupsPerGroup + 1;
        word.sgroup = place % subGroupsPerGroup + 1;
        word.level = nth < 4 ? 0 : (nth - 4) % 5 + 1;
        word.times = word.level == 0 ? 0 : nth;
        word.meaning = QStringLiteral("いみ%1").arg(word.key);
        if (i % 3 == 0)
            word.text2 = QStringLiteral("1-02-03");
        deck.word(word);
    }
    deck.write(path);
}

void markFirstSubGroups(const QString& path, int count) {
    DeckFixture::execute(
        path,
        {QStringLiteral("UPDATE subgroup SET \"select\" = ((\"group\" - 1) * %1 + sgroup <= %2)")
             .arg(subGroupsPerGroup)
             .arg(count)});
}

void addHistory(const QString& path, int rows, int days) {
    QStringList statements = WordDataFormat::historyStatements();
    // Row n at n / rows of the period back from now; word and levels from n, so that every
    // run makes the same history.
    statements << QStringLiteral(
                      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                      " INSERT INTO history SELECT strftime('%Y-%m-%dT%H:%M:%fZ', 'now',"
                      " '-' || ((%1 - i) * %2 / %1) || ' seconds'), 1 + (i * 7919) % %3,"
                      " i % 6, (i + 1) % 6 FROM n")
                      .arg(rows - 1)
                      .arg(qint64(days) * 86400)
                      .arg(words);
    DeckFixture::execute(path, statements);
}

QString workFolderTemplate(const QString& name) {
    return qEnvironmentVariable("PIMLOTAN_BENCH_DIR", QDir::currentPath()) + u'/' + name +
           QStringLiteral("-XXXXXX");
}

} // namespace BenchDeck
