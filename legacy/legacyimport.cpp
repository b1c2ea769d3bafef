#include "legacyimport.h"

#include "jetfile.h"
#include "legacydeck.h"
#include "legacyerror.h"

#include <QFileInfo>
#include <deckvalidator.h>
#include <pmldeck.h>

namespace {

// A conversion is done only when the deck passes the deck check (its pictures and voices
// apart, which are reported as missing): rows the reader took but the check refuses would make
// a deck that the program or pml-build --check turns away.
void requirePassingDeck(const Deck& deck, const QString& from) {
    const DeckProblems problems = validateDeck(deck, DeckOrigin{from, from, from}, {});
    if (problems.isEmpty())
        return;
    QStringList lines;
    for (const DeckProblem& problem : problems)
        lines << problem.message;
    throw LegacyError(LegacyError::Reason::Damaged,
                      QStringLiteral("%1: the converted deck would not pass the check: %2")
                          .arg(from, lines.join(QStringLiteral("; "))));
}

} // namespace

QString ImportReport::text() const {
    QStringList lines{QStringLiteral("groups: %1, sub-groups: %2, words: %3")
                          .arg(groups)
                          .arg(subGroups)
                          .arg(words)};
    if (!leftOut.isEmpty()) {
        lines << QStringLiteral("rows left out: %1").arg(leftOut.size());
        for (const QString& line : leftOut)
            lines << QStringLiteral("  ") + line;
    }
    if (!missingMedia.isEmpty()) {
        lines << QStringLiteral("pictures and voices missing: %1").arg(missingMedia.size());
        for (const QString& line : missingMedia)
            lines << QStringLiteral("  ") + line;
    }
    return lines.join(u'\n') + u'\n';
}

namespace LegacyImport {

ImportReport convert(const QString& from, const QString& to, const Progress& step) {
    // Reading and writing count as much as copying a hundred files each.
    constexpr int stage = 100;
    const auto report = [&](int done, int total) {
        if (step)
            step(done, total);
    };
    report(0, 3 * stage);
    if (QFileInfo(to).absoluteFilePath() == QFileInfo(from).absoluteFilePath() ||
        (QFileInfo::exists(to) &&
         QFileInfo(to).canonicalFilePath() == QFileInfo(from).canonicalFilePath()))
        throw LegacyError(LegacyError::Reason::Write,
                          QStringLiteral("%1: the new file would replace the older one").arg(to));
    ImportReport conversion;
    const Deck deck = [&] {
        const JetFile file(from);
        return readLegacyDeck(file, conversion.leftOut);
    }();
    requirePassingDeck(deck, from);
    report(stage, 3 * stage);
    PmlDeck::WriteOptions options;
    options.keepMarks = true;
    options.missingMedia = &conversion.missingMedia;
    options.progress = [&](int done, int total) { report(2 * stage + done, 2 * stage + total); };
    if (const QString error = PmlDeck::write(deck, QFileInfo(from).absolutePath(), to, options);
        !error.isEmpty())
        throw LegacyError(LegacyError::Reason::Write, error);
    conversion.groups = int(deck.groups.size());
    conversion.subGroups = int(deck.subGroups.size());
    conversion.words = int(deck.words.size());
    return conversion;
}

} // namespace LegacyImport
