#include "deckchoice.h"
#include "dialogforms.h"
#include "forms.h"
#include "platform/japanesetranslation.h"
#include "pmcm000.h"
#include "pml0000.h"
#include "pml0010.h"
#include "pml0020.h"
#include "pml0030.h"
#include "programstart.h"
#include "startupprobe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

namespace {
void registerForms() {
    Forms::registerFactory(Forms::Id::MainMenu, [] { return new Pml0010(DeckChoice::ask); });
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

    if (const auto answered =
            ProgramStart::answerHelpOrVersion(parser, help, version, argc, argv, "pimlotan"))
        return *answered;

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("pimlotan"));
    parser.process(app); // the window system's own options are gone from the arguments now
    ProgramStart::useJapaneseFont();
    if (!loadJapaneseTranslation(app))
        std::fputs("pimlotan: Qt's Japanese translations are not installed "
                   "(qt6-translations-l10n); the standard dialogs stay in English\n",
                   stderr);
    StartupProbe::install(app, "PML0000", "Pml0010");

    const ProgramStart::DesktopPlatform platform;
    registerForms();

    auto* startup = new PML0000;
    startup->setAttribute(Qt::WA_DeleteOnClose);
    if (!parser.positionalArguments().isEmpty())
        startup->setCommandLineDeck(parser.positionalArguments().first());
    startup->setFirstDeck(parser.value(firstDeck));
    if (!startup->Form_Load()) {
        delete startup;
        return 1;
    }
    return QApplication::exec();
}
