#include "benchdeck.h"

#include "deckfixture.h"

#include <QDir>

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

QString workFolderTemplate(const QString& name) {
    return qEnvironmentVariable("PIMLOTAN_BENCH_DIR", QDir::currentPath()) + u'/' + name +
           QStringLiteral("-XXXXXX");
}

} // namespace BenchDeck
