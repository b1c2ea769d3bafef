#include "deckcommands.h"

#include "deckcsv.h"
#include "deckvalidator.h"
#include "pmldeck.h"
#include "recordsourcecheck.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <dataerror.h>
#include <mediapath.h>
#include <worddatafile.h>
#include <worddataformat.h>

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

// Opening a file may roll back a journal left beside it or fold a WAL file into it, so a
// check reads a copy (with those files) and leaves the deck byte for byte as it was.
QString copyForReading(const QString& pml, const QTemporaryDir& scratch) {
    const QString copy = scratch.filePath(QFileInfo(pml).fileName());
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-journal")})
        if (QFileInfo(pml + suffix).isFile() && !QFile::copy(pml + suffix, copy + suffix))
            return QString();
    return copy;
}

// The engine's full integrity check, the schema and the kept counts, each problem by name.
// A file that is no SQLite database at all gives none here: opening it says why.
DeckProblems damage(const QString& copy, const QString& pml) {
    DeckProblems problems;
    const QString name = QStringLiteral("pml-build-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(copy);
        try {
            if (db.open())
                for (const QString& text :
                     WordDataFormat::damage(db, WordDataFormat::Integrity::Full))
                    problems << DeckProblem{pml, 0, text};
        } catch (const DataError&) {
        }
    }
    QSqlDatabase::removeDatabase(name);
    return problems;
}

QStringList unplainMediaNames(const Deck& deck) {
    QStringList names;
    const auto check = [&](const QString& name) {
        if (!name.isEmpty() && !MediaPath::isPlainName(name) && !names.contains(name))
            names << name;
    };
    for (const DeckGroup& g : deck.groups)
        check(g.ttlimage);
    for (const DeckSubGroup& s : deck.subGroups)
        check(s.images);
    for (const DeckWord& w : deck.words) {
        check(w.images);
        check(w.voice);
    }
    return names;
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
    const QTemporaryDir scratch;
    const QString copy = copyForReading(pml, scratch);
    if (!scratch.isValid() || copy.isEmpty()) {
        out << pml << ": cannot be read\n";
        return 1;
    }
    const auto notUsable = [&](const QString& why) {
        out << QString(why).replace(copy, pml) << '\n' << pml << ": not a usable word-data file\n";
        return 1;
    };
    if (const DeckProblems damaged = damage(copy, pml); !damaged.isEmpty()) {
        QStringList lines;
        for (const DeckProblem& problem : damaged)
            lines << problem.toString();
        return notUsable(lines.join(u'\n'));
    }
    Deck deck;
    DeckProblems problems;
    try {
        deck = PmlDeck::read(copy);
        for (DeckProblem problem : RecordSourceCheck::run(copy)) {
            problem.file = pml;
            problems << problem;
        }
        WordDataFile::close(copy);
    } catch (const DataError& error) {
        WordDataFile::close(copy);
        return notUsable(error.message());
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
    // A name such as "../../x" would copy a file outside the deck folder: nothing is written.
    if (const QStringList names = unplainMediaNames(deck); !names.isEmpty()) {
        for (const QString& name : names)
            out << pml << ": media name \"" << name << "\" is not a plain file name\n";
        out << deckFolder << ": not written\n";
        return 1;
    }
    QString error = DeckCsv::write(deck, deckFolder);
    QStringList missing;
    if (error.isEmpty())
        error = PmlDeck::copyMedia(deck, QFileInfo(pml).absolutePath(), deckFolder, &missing);
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
