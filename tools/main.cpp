// pml-build: builds a word-data file from a deck folder of CSV files and media, checks a
// word-data file, or writes one back as a deck folder.
#include "deckcommands.h"
#include "importcommand.h"
#include "suggestcommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pml-build"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIMLOTAN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a word-data file from a deck folder (groups.csv, subgroups.csv, words.csv,\n"
        "images/, voice/), checks a word-data file, or exports one back to a deck folder.\n"
        "\n"
        "  pml-build DECKDIR -o WORDS.pml        build (nothing is written on any problem)\n"
        "  pml-build --check WORDS.pml           check a word-data file and its media\n"
        "  pml-build --export WORDS.pml DECKDIR  write the CSV files and media back\n"
        "  pml-build --import OLD.pml -o NEW.pml convert an Access 2000-format word-data file\n"
        "  pml-build --suggest [--deck WORDS.pml] WORD...\n"
        "                                        suggest meanings and pictures for words\n"
        "\n"
        "Exit status: 0 done or clean, 1 problems found, 2 wrong arguments."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The word-data file to build."),
                                    QStringLiteral("WORDS.pml"));
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Check a word-data file and its media."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"), QStringLiteral("Write a word-data file back to a deck folder."));
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QStringLiteral("Convert an older (Access 2000-format) word-data file into a new one."));
    const QCommandLineOption suggestOption(
        QStringLiteral("suggest"),
        QStringLiteral("Print meaning and picture suggestions for each word, tab-separated."));
    const QCommandLineOption deckOption(
        QStringLiteral("deck"),
        QStringLiteral("With --suggest: also suggest this deck's pictures."),
        QStringLiteral("WORDS.pml"));
    parser.addOptions({output, check, exportOption, importOption, suggestOption, deckOption});
    parser.addPositionalArgument(QStringLiteral("DECKDIR | WORDS.pml"),
                                 QStringLiteral("See the forms above."));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto usageError = [&](const QString& message) {
        err << "pml-build: " << message << "\nTry 'pml-build --help'.\n";
        return 2;
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const QStringList args = parser.positionalArguments();
    if (int(parser.isSet(check)) + int(parser.isSet(exportOption)) +
            int(parser.isSet(importOption)) + int(parser.isSet(suggestOption)) >
        1)
        return usageError(
            QStringLiteral("--check, --export, --import and --suggest cannot be combined"));
    if (parser.isSet(deckOption) && !parser.isSet(suggestOption))
        return usageError(QStringLiteral("--deck goes with --suggest"));
    if (parser.isSet(suggestOption)) {
        if (args.isEmpty() || parser.isSet(output))
            return usageError(QStringLiteral("--suggest takes one or more words"));
        return DeckCommands::suggest(args, parser.value(deckOption), out);
    }
    if (parser.isSet(importOption)) {
        if (args.size() != 1 || !parser.isSet(output))
            return usageError(
                QStringLiteral("--import takes one older word-data file and -o NEW.pml"));
        return DeckCommands::importDeck(args.front(), parser.value(output), out);
    }
    if (parser.isSet(check)) {
        if (args.size() != 1 || parser.isSet(output))
            return usageError(QStringLiteral("--check takes one word-data file"));
        return DeckCommands::check(args.front(), out);
    }
    if (parser.isSet(exportOption)) {
        if (args.size() != 2 || parser.isSet(output))
            return usageError(QStringLiteral("--export takes a word-data file and a deck folder"));
        return DeckCommands::exportDeck(args.at(0), args.at(1), out);
    }
    if (args.size() != 1 || !parser.isSet(output))
        return usageError(QStringLiteral("give one deck folder and -o WORDS.pml"));
    return DeckCommands::build(args.front(), parser.value(output), out);
}
