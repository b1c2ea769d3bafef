#include "forms.h"
#include "platform/platform.h"
#include "platform/qtprompter.h"
#include "platform/qtscreeninfo.h"
#include "platform/qtshell.h"
#include "platform/sdlsounddevice.h"
#include "platform/systemregistry.h"
#include "pmcm000.h"
#include "pml0000.h"
#include "pml0010.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>

namespace {
void useJapaneseFont() {
    // Noto Sans CJK draws the kana and kanji of every screen the same on every desktop.
    const QString family = QStringLiteral("Noto Sans CJK JP");
    if (QFontDatabase::families().contains(family)) {
        QFont font = QApplication::font();
        font.setFamily(family);
        QApplication::setFont(font);
    }
}

void registerForms() {
    Forms::registerFactory(Forms::Id::MainMenu, [] { return new Pml0010; });
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pimlotan"));
    QApplication::setApplicationVersion(QStringLiteral(PIMLOTAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pimlotan"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("English word cards for children: practice and slide show."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption firstDeck(
        QStringLiteral("first-deck"),
        QStringLiteral("Open <file> when no word-data file is remembered yet."),
        QStringLiteral("file"));
    parser.addOption(firstDeck);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Word-data file (.pml) to open and remember."),
                                 QStringLiteral("[FILE.pml]"));
    parser.process(app);

    useJapaneseFont();

    QtPrompter prompter;
    SdlSoundDevice sound;
    QtShell shell;
    SystemRegistry registry;
    QtScreenInfo screen;
    Platform platform{&prompter, &sound, &shell, &registry, &screen};
    PMCM000::SetPlatform(&platform);
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
    const int status = QApplication::exec();
    PMCM000::SetPlatform(nullptr);
    return status;
}
