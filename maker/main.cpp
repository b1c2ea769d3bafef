// pimlotan-maker: makes and changes decks (word-data files) for the program.
#include "makerwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <platform/japanesetranslation.h>
#include <platform/platform.h>
#include <platform/qtprompter.h>
#include <platform/qtscreeninfo.h>
#include <platform/qtshell.h>
#include <platform/sdlsounddevice.h>
#include <platform/systemregistry.h>
#include <pmcm000.h>

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
    // --help and --version answer before the window system is reached.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("pimlotan-maker"));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("pimlotan-maker %s\n", PIMLOTAN_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("pimlotan-maker"));
    parser.process(app);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
    QApplication::setFont(font);
    loadJapaneseTranslation(app);

    QtPrompter prompter;
    SdlSoundDevice sound;
    QtShell shell;
    SystemRegistry registry;
    QtScreenInfo screen;
    Platform platform{&prompter, &sound, &shell, &registry, &screen};
    PMCM000::SetPlatform(&platform);
    PMCM000::ResolveDocumentsFolder();
    PMCM000::ResolveAppFolder();
    PMCM000::LocateSettingsFolder(); // for the voice volume; the maker writes no settings

    int status = 0;
    {
        MakerWindow window;
        window.show();
        if (!parser.positionalArguments().isEmpty())
            window.openDeck(parser.positionalArguments().first());
        status = QApplication::exec();
    }
    PMCM000::SetPlatform(nullptr);
    return status;
}
