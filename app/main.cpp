#include "dialogforms.h"
#include "forms.h"
#include "olderdeckconverter.h"
#include "platform/japanesetranslation.h"
#include "platform/platform.h"
#include "platform/qtprompter.h"
#include "platform/qtscreeninfo.h"
#include "platform/qtshell.h"
#include "platform/sdlsounddevice.h"
#include "platform/systemregistry.h"
#include "pmcm000.h"
#include "pml0000.h"
#include "pml0010.h"
#include "pml0020.h"
#include "pml0030.h"
#include "startupprobe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

namespace {
void useJapaneseFont() {
    // Noto Sans CJK draws the kana and kanji of every screen the same on every desktop. The
    // family is asked for without listing the font database first, which would cost start-up
    // time; where it is missing the font matcher falls back to another font.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
    QApplication::setFont(font);
}

void registerForms() {
    Forms::registerFactory(Forms::Id::MainMenu, [] { return new Pml0010; });
    Forms::registerFactory(Forms::Id::Practice, [] { return new PML0020; });
    Forms::registerFactory(Forms::Id::SlideShow, [] { return new PML0030; });
    registerDialogForms();
}

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("pimlotan"));
    QApplication::setApplicationVersion(QStringLiteral(PIMLOTAN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("English word cards for children: practice and slide show."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption firstDeck(
        QStringLiteral("first-deck"),
        QStringLiteral("Open <file> when no word-data file is remembered yet."),
        QStringLiteral("file"));
    parser.addOption(firstDeck);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Word-data file (.pml) to open and remember."),
                                 QStringLiteral("[FILE.pml]"));

    // --help and --version answer before the window system is reached, so they work anywhere.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("pimlotan"));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("pimlotan %s\n", PIMLOTAN_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("pimlotan"));
    parser.process(app); // the window system's own options are gone from the arguments now
    useJapaneseFont();
    if (!loadJapaneseTranslation(app))
        std::fputs("pimlotan: Qt's Japanese translations are not installed "
                   "(qt6-translations-l10n); the standard dialogs stay in English\n",
                   stderr);
    StartupProbe::install(app, "PML0000", "Pml0010");

    QtPrompter prompter;
    SdlSoundDevice sound;
    QtShell shell;
    SystemRegistry registry;
    QtScreenInfo screen;
    Platform platform{&prompter, &sound, &shell, &registry, &screen};
    PMCM000::SetPlatform(&platform);
    registerForms();
    installOlderDeckConverter();

    auto* startup = new PML0000;
    startup->setAttribute(Qt::WA_DeleteOnClose);
    if (!parser.positionalArguments().isEmpty())
        startup->setCommandLineDeck(parser.positionalArguments().first());
    startup->setFirstDeck(parser.value(firstDeck));
    if (!startup->Form_Load()) {
        delete startup;
        return 1;
    }
    const int status = QApplication::exec();
    PMCM000::SetPlatform(nullptr);
    return status;
}
