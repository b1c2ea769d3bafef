// The maker's menus and the ファイル menu's work: make, open and save decks, and the CSV deck
// folder of pml-build, so that a deck can still be written in a spreadsheet.
#include "deckeditor.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "progresswindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <commonmenus.h>
#include <cstdio>
#include <dataerror.h>
#include <deckcsv.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <platform/shell.h>
#include <pmcm000.h>

using PMCM000::platform;

namespace {

QString startFolder(const DeckEditor* editor) {
    return editor ? editor->folder() : PMCM000::DocumentsFolder;
}

// A new deck gets a folder of its own named after it, so that its images/ and voice/ never mix
// with another deck's; a path already inside such a folder is kept.
QString deckPathFor(const QString& chosen) {
    QFileInfo info(chosen);
    QString name = info.completeBaseName();
    if (name.isEmpty())
        return {};
    if (info.dir().dirName() == name)
        return info.dir().filePath(name + QStringLiteral(".pml"));
    return info.dir().filePath(name + u'/' + name + QStringLiteral(".pml"));
}

// True when folder already holds a deck or pictures and voices: a deck written there would
// share (and overwrite) another deck's media.
bool holdsAnotherDeck(const QString& folder) {
    const QDir dir(folder);
    if (!dir.entryList({QStringLiteral("*.pml")}, QDir::Files).isEmpty())
        return true;
    for (const QString& media : {QStringLiteral("images"), QStringLiteral("voice")})
        if (!QDir(dir.filePath(media)).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
            return true;
    return false;
}

void tell(const QString& text, Prompter::Icon icon = Prompter::Icon::Information) {
    platform().prompter->message(text, MakerTexts::Title, icon);
}

// Whether a deck may be written at path, in a folder of its own; a message says why not.
bool placeIsFree(const QString& path) {
    if (QFileInfo::exists(path)) {
        tell(MakerTexts::Exists.arg(QDir::toNativeSeparators(path)), Prompter::Icon::Warning);
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (holdsAnotherDeck(folder)) {
        tell(MakerTexts::FolderTaken.arg(QDir::toNativeSeparators(folder)),
             Prompter::Icon::Warning);
        return false;
    }
    return true;
}

} // namespace

void MakerWindow::createMenus() {
    QMenu* file = fileMenu_ = menuBar()->addMenu(MakerTexts::FileMenu);
    const auto entry = [&](const QString& caption, void (MakerWindow::*handler)(),
                           const QKeySequence& keys = {}) {
        QAction* action = file->addAction(caption, this, handler);
        action->setShortcut(keys);
        return action;
    };
    entry(MakerTexts::NewDeckItem, &MakerWindow::newDeck, QKeySequence::New);
    entry(MakerTexts::OpenItem, &MakerWindow::chooseDeck, QKeySequence::Open);
    entry(MakerTexts::SaveAsItem, &MakerWindow::saveDeckAs, QKeySequence::SaveAs);
    file->addSeparator();
    entry(MakerTexts::ImportCsvItem, &MakerWindow::importCsv);
    entry(MakerTexts::ExportCsvItem, &MakerWindow::exportCsv);
    file->addSeparator();
    entry(MakerTexts::AddManyItem, &MakerWindow::chooseManyWords);
    entry(MakerTexts::ProgressItem, &MakerWindow::showProgress);
    file->addSeparator();
    recentEnd_ = file->addSeparator();
    file->addAction(MakerTexts::QuitItem, QKeySequence::Quit, this, &QWidget::close);
    refreshRecentDecks();

    QMenu* edit = menuBar()->addMenu(MakerTexts::EditMenu);
    undo_ = edit->addAction(MakerTexts::UndoItem, this, &MakerWindow::undo);
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = edit->addAction(MakerTexts::RedoItem, this, &MakerWindow::redo);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence::Redo});

    QMenu* options = menuBar()->addMenu(MakerTexts::SettingsMenu);
    speakNewWords_ = options->addAction(MakerTexts::SpeakNewWordsItem);
    speakNewWords_->setCheckable(true);
    speakNewWords_->setChecked(settings_.speakNewWords);
    connect(speakNewWords_, &QAction::toggled, this, &MakerWindow::setSpeakNewWords);

    QMenu* help = menuBar()->addMenu(MakerTexts::HelpMenu);
    help->addAction(MakerTexts::ManualItem, QKeySequence::HelpContents, this, [] {
        // The maker's own chapter; the whole manual when it is not there (a build without it).
        QString folder = PMCM000::AppFolder;
        if (!folder.isEmpty() && !folder.endsWith(u'/'))
            folder += u'/';
        if (!QFileInfo::exists(folder + MakerTexts::ManualFile) ||
            !platform().shell->openDocument(folder + MakerTexts::ManualFile))
            CommonMenus::openManual();
    });
    help->addAction(MakerTexts::VersionItem, this, [] {
        tell(MakerTexts::VersionText.arg(QCoreApplication::applicationVersion()));
    });
}

void MakerWindow::showProgress() {
    if (!editor() || deckGone())
        return;
    if (!progress_ || progress_->deckPath() != editor()->path()) {
        progress_ = std::make_unique<ProgressWindow>(editor()->path());
        // Quitting works from きろく too.
        auto* quit = new QAction(progress_.get());
        quit->setShortcut(QKeySequence::Quit);
        connect(quit, &QAction::triggered, this, &QWidget::close);
        progress_->addAction(quit);
    }
    progress_->show();
    progress_->raise();
    progress_->activateWindow();
}

void MakerWindow::undo() {
    if (editor() && editor()->canUndo() && !deckGone())
        changing([&] { session_.undo(); });
}

void MakerWindow::redo() {
    if (editor() && editor()->canRedo() && !deckGone())
        changing([&] { session_.redo(); });
}

void MakerWindow::refreshRecentDecks() {
    for (QAction* action : std::as_const(recentActions_))
        fileMenu_->removeAction(action);
    qDeleteAll(recentActions_);
    recentActions_.clear();
    for (qsizetype i = 0; i < settings_.recentDecks.size(); ++i) {
        const QString path = settings_.recentDecks.at(i);
        auto* action = new QAction(
            MakerTexts::RecentItem.arg(i + 1).arg(QFileInfo(path).fileName()), fileMenu_);
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (leavingWithFaultsAccepted())
                openDeck(path);
        });
        fileMenu_->insertAction(recentEnd_, action);
        recentActions_ << action;
    }
    recentEnd_->setVisible(!recentActions_.isEmpty());
}

void MakerWindow::saveSettings() {
    if (!settingsPath_.isEmpty() && !settings_.write(settingsPath_))
        std::fprintf(stderr, "pimlotan-maker: cannot write %s\n", qPrintable(settingsPath_));
}

void MakerWindow::setSpeakNewWords(bool on) {
    settings_.speakNewWords = on;
    if (speakNewWords_->isChecked() != on)
        speakNewWords_->setChecked(on);
    saveSettings();
}

bool MakerWindow::openLastDeck() {
    return !settings_.recentDecks.isEmpty() && QFileInfo(settings_.recentDecks.first()).isFile() &&
           openDeck(settings_.recentDecks.first());
}

void MakerWindow::newDeck() {
    if (!leavingWithFaultsAccepted())
        return;
    const QString chosen = platform().prompter->saveFile(
        MakerTexts::DeckFilter, QDir(startFolder(nullptr)).filePath(QStringLiteral("mydeck.pml")),
        MakerTexts::NewDeckName);
    const QString path = deckPathFor(chosen);
    if (path.isEmpty() || !placeIsFree(path))
        return;
    try {
        DeckEditor::create(path);
    } catch (const DataError& error) {
        showError(MakerTexts::CannotCreate, error);
        return;
    }
    openDeck(path);
}

void MakerWindow::chooseDeck() {
    if (!leavingWithFaultsAccepted())
        return;
    const QString path = platform().prompter->openFile(MakerTexts::DeckFilter,
                                                       startFolder(editor()), MakerTexts::OpenDeck);
    if (!path.isEmpty())
        openDeck(path);
}

void MakerWindow::saveDeckAs() {
    if (!editor())
        return;
    // A deck whose file is gone has lost its pictures with it: that was said already.
    const bool gone = !QFileInfo(editor()->path()).isFile();
    if (!gone && !leavingWithFaultsAccepted())
        return;
    const QString chosen =
        platform().prompter->saveFile(MakerTexts::DeckFilter, editor()->path(), MakerTexts::SaveAs);
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).absoluteFilePath() == editor()->path())
        return; // every change is saved already
    // A folder of its own, as for a new deck: a copy never shares pictures with another deck.
    const QString path = deckPathFor(chosen);
    if (path.isEmpty() || !placeIsFree(path))
        return;
    QString error;
    try {
        error = session_.saveCopy(path);
    } catch (const DataError& failure) {
        std::fprintf(stderr, "pimlotan-maker: %s\n", failure.what());
        error = MakerTexts::reasonText(failure.reason());
    }
    if (!error.isEmpty()) {
        tell(MakerTexts::NotSaved + error, Prompter::Icon::Warning);
        return;
    }
    openDeck(path);
}

namespace {
// The first problems of a CSV deck folder, one per line.
QString problemLines(const DeckProblems& problems) {
    QStringList lines;
    for (qsizetype i = 0; i < std::min<qsizetype>(problems.size(), 10); ++i)
        lines << problems.at(i).toString();
    if (problems.size() > 10)
        lines << MakerTexts::MoreProblems.arg(problems.size() - 10);
    return lines.join(u'\n');
}
} // namespace

void MakerWindow::importCsv() {
    const QString folder =
        platform().prompter->chooseFolder(startFolder(editor()), MakerTexts::CsvFolder);
    if (folder.isEmpty())
        return;
    // Said before a name is asked for: a folder with problems makes nothing.
    if (const DeckProblems problems = DeckCsv::read(folder).problems; !problems.isEmpty()) {
        tell(MakerTexts::CsvHasProblems + problemLines(problems), Prompter::Icon::Warning);
        return;
    }
    const QString chosen = platform().prompter->saveFile(
        MakerTexts::DeckFilter,
        QDir(folder).filePath(QDir(folder).dirName() + QStringLiteral(".pml")),
        MakerTexts::BuiltDeckName);
    if (chosen.isEmpty())
        return;
    const QString path =
        QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".pml") : chosen;
    if (QFileInfo::exists(path) &&
        platform().prompter->message(MakerTexts::Replace.arg(QDir::toNativeSeparators(path)),
                                     MakerTexts::Title, Prompter::Icon::Question,
                                     Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    QString error;
    if (const DeckProblems problems = MakerSession::buildFromCsv(folder, path, error);
        !problems.isEmpty()) {
        tell(MakerTexts::CsvHasProblems + problemLines(problems), Prompter::Icon::Warning);
        return;
    }
    if (!error.isEmpty()) {
        tell(MakerTexts::NotBuilt + error, Prompter::Icon::Warning);
        return;
    }
    openDeck(path);
}

void MakerWindow::exportCsv() {
    if (!editor())
        return;
    const QString folder =
        platform().prompter->chooseFolder(startFolder(editor()), MakerTexts::ExportFolder);
    if (folder.isEmpty())
        return;
    QStringList missing;
    QString error;
    try {
        error = session_.exportCsv(folder, missing);
    } catch (const DataError& failure) {
        std::fprintf(stderr, "pimlotan-maker: %s\n", failure.what());
        error = MakerTexts::reasonText(failure.reason());
    }
    if (!error.isEmpty())
        tell(MakerTexts::NotExported + error, Prompter::Icon::Warning);
    else
        tell(MakerTexts::Exported.arg(QDir::toNativeSeparators(folder)) +
             (missing.isEmpty() ? QString() : MakerTexts::MissingNotCopied + missing.join(u'\n')));
}

bool MakerWindow::leavingWithFaultsAccepted() {
    const int faults = editor() ? faultCount() : 0;
    return faults == 0 ||
           platform().prompter->message(MakerTexts::LeaveWithFaults.arg(faults), MakerTexts::Title,
                                        Prompter::Icon::Question,
                                        Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}
