// pimlotan-maker: makes and changes decks (word-data files) for the program.
#include "makerwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <platform/japanesetranslation.h>
#include <pmcm000.h>
#include <programstart.h>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("pimlotan-maker"));
    QApplication::setApplicationVersion(QStringLiteral(PIMLOTAN_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes and changes decks of English word cards for pimlotan."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Word-data file (.pml) to open."),
                                 QStringLiteral("[FILE.pml]"));
    if (const auto answered =
            ProgramStart::answerHelpOrVersion(parser, help, version, argc, argv, "pimlotan-maker"))
        return *answered;

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("pimlotan-maker"));
    parser.process(app);
    ProgramStart::useJapaneseFont();
    loadJapaneseTranslation(app);

    const ProgramStart::DesktopPlatform platform;
    PMCM000::ResolveDocumentsFolder();
    PMCM000::ResolveAppFolder();
    // For the voice volume, and the maker's own small file (last decks, its options).
    PMCM000::LocateSettingsFolder();

    int status = 0;
    {
        MakerWindow window;
        window.show();
        if (!parser.positionalArguments().isEmpty())
            window.openDeck(parser.positionalArguments().first());
        else
            window.openLastDeck();
        status = QApplication::exec();
    }
    return status;
}
