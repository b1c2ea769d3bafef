#include "benchdeck.h"

#include "deckfixture.h"

#include <QDir>

using namespace Qt::StringLiterals;

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
        word.meaning = u"いみ%1"_s.arg(word.key);
        if (i % 3 == 0)
            word.text2 = u"1-02-03"_s;
        deck.word(word);
    }
    deck.write(path);
}

void markFirstSubGroups(const QString& path, int count) {
    DeckFixture::execute(
        path, {u"UPDATE subgroup SET \"select\" = ((\"group\" - 1) * %1 + sgroup <= %2)"_s
                   .arg(subGroupsPerGroup)
                   .arg(count)});
}

QString workFolderTemplate(const QString& name) {
    return qEnvironmentVariable("PIMLOTAN_BENCH_DIR", QDir::currentPath()) + u'/' + name +
           QStringLiteral("-XXXXXX");
}

} // namespace BenchDeck
