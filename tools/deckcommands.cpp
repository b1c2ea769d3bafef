#include "deckcommands.h"

#include "deckcsv.h"
#include "deckvalidator.h"
#include "pmldeck.h"
#include "recordsourcecheck.h"

#include <QFileInfo>
#include <dataerror.h>
#include <worddatafile.h>

namespace DeckCommands {

namespace {

QString summary(const Deck& deck) {
    return QStringLiteral("%1 groups, %2 sub-groups, %3 words")
        .arg(deck.groups.size())
        .arg(deck.subGroups.size())
        .arg(deck.words.size());
}

QString problemCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 problem") : QStringLiteral("%1 problems").arg(count);
}

} // namespace

int build(const QString& deckFolder, const QString& output, QTextStream& out) {
    const DeckCsv::ReadResult source = DeckCsv::read(deckFolder);
    if (!source.problems.isEmpty()) {
        for (const DeckProblem& problem : source.problems)
            out << problem.toString() << '\n';
        out << output << ": not written: " << problemCount(source.problems.size()) << '\n';
        return 1;
    }
    if (const QString error = PmlDeck::write(source.deck, deckFolder, output); !error.isEmpty()) {
        out << error << '\n' << output << ": not written\n";
        return 1;
    }
    out << output << ": " << summary(source.deck) << '\n';
    return 0;
}

int check(const QString& pml, QTextStream& out) {
    Deck deck;
    DeckProblems problems;
    try {
        deck = PmlDeck::read(pml);
        problems = RecordSourceCheck::run(pml);
        WordDataFile::close(pml);
    } catch (const DataError& error) {
        WordDataFile::close(pml);
        out << error.message() << '\n' << pml << ": not a usable word-data file\n";
        return 1;
    }
    problems << validateDeck(deck, DeckOrigin{pml, pml, pml}, QFileInfo(pml).absolutePath());
    for (const DeckProblem& problem : problems)
        out << problem.toString() << '\n';
    out << pml << ": " << summary(deck) << ": "
        << (problems.isEmpty() ? QStringLiteral("clean") : problemCount(problems.size())) << '\n';
    return problems.isEmpty() ? 0 : 1;
}

int exportDeck(const QString& pml, const QString& deckFolder, QTextStream& out) {
    Deck deck;
    try {
        deck = PmlDeck::read(pml);
    } catch (const DataError& error) {
        out << error.message() << '\n';
        return 1;
    }
    QString error = DeckCsv::write(deck, deckFolder);
    QStringList missing;
    if (error.isEmpty())
        error = PmlDeck::copyMedia(deckMediaFiles(deck), QFileInfo(pml).absolutePath(), deckFolder,
                                   &missing);
    if (!error.isEmpty()) {
        out << error << '\n';
        return 1;
    }
    // The CSV files are what matters; a missing picture or voice is for the user to add.
    for (const QString& file : missing)
        out << pml << ": " << file << " is missing, not copied\n";
    out << deckFolder << ": " << summary(deck) << '\n';
    return 0;
}

} // namespace DeckCommands
