#include "suggestcommand.h"

#include <QFileInfo>
#include <suggestions.h>

namespace DeckCommands {

int suggest(const QStringList& words, const QString& deckFile, QTextStream& out) {
    const auto library = Suggestions::loadInstalled();
    const QString images = deckFile.isEmpty()
                               ? QString()
                               : QFileInfo(deckFile).absolutePath() + QStringLiteral("/images");
    for (const QString& word : words) {
        QStringList pictures;
        for (const Suggestions::Picture& picture : library->pictures(word, images))
            pictures << (picture.emoji.isEmpty() ? picture.deckPicture : picture.emoji);
        out << word << '\t' << library->meanings(word).join(u'|') << '\t' << pictures.join(u'|')
            << '\n';
    }
    return 0;
}

} // namespace DeckCommands
