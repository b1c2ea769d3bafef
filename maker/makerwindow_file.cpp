// The maker's ファイル menu: make, open and save decks, and the CSV deck folder of pml-build,
// so that a deck can still be written in a spreadsheet.
#include "deckeditor.h"
#include "makertexts.h"
#include "makerwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTextStream>
#include <dataerror.h>
#include <deckcommands.h>
#include <deckcsv.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>
#include <pmldeck.h>

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
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    const auto entry = [&](const QString& caption, void (MakerWindow::*handler)(),
                           const QKeySequence& keys = {}) {
        QAction* action = file->addAction(caption, this, handler);
        action->setShortcut(keys);
        return action;
    };
    entry(QStringLiteral("新しい単語データ…"), &MakerWindow::newDeck, QKeySequence::New);
    entry(QStringLiteral("開く…"), &MakerWindow::chooseDeck, QKeySequence::Open);
    entry(QStringLiteral("別の名前で保存…"), &MakerWindow::saveDeckAs, QKeySequence::SaveAs);
    file->addSeparator();
    entry(QStringLiteral("CSV フォルダから作る…"), &MakerWindow::importCsv);
    entry(QStringLiteral("CSV フォルダに書き出す…"), &MakerWindow::exportCsv);
    file->addSeparator();
    file->addAction(QStringLiteral("終わる"), QKeySequence::Quit, this, &QWidget::close);
}

void MakerWindow::newDeck() {
    if (!leavingWithFaultsAccepted())
        return;
    const QString chosen = platform().prompter->saveFile(
        MakerTexts::DeckFilter, QDir(startFolder(nullptr)).filePath(QStringLiteral("mydeck.pml")),
        QStringLiteral("新しい単語データの 名前"));
    const QString path = deckPathFor(chosen);
    if (path.isEmpty() || !placeIsFree(path))
        return;
    try {
        DeckEditor::create(path);
    } catch (const DataError& error) {
        showError(QStringLiteral("新しい単語データを 作れませんでした。"), error);
        return;
    }
    openDeck(path);
}

void MakerWindow::chooseDeck() {
    if (!leavingWithFaultsAccepted())
        return;
    const QString path = platform().prompter->openFile(
        MakerTexts::DeckFilter, startFolder(editor_.get()), QStringLiteral("単語データを 開く"));
    if (!path.isEmpty())
        openDeck(path);
}

void MakerWindow::saveDeckAs() {
    if (!editor_)
        return;
    // A deck whose file is gone has lost its pictures with it: that was said already.
    const bool gone = !QFileInfo(editor_->path()).isFile();
    if (!gone && !leavingWithFaultsAccepted())
        return;
    const QString chosen = platform().prompter->saveFile(MakerTexts::DeckFilter, editor_->path(),
                                                         QStringLiteral("別の名前で保存"));
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).absoluteFilePath() == editor_->path())
        return; // every change is saved already
    // A folder of its own, as for a new deck: a copy never shares pictures with another deck.
    const QString path = deckPathFor(chosen);
    if (path.isEmpty() || !placeIsFree(path))
        return;
    // The copy is built whole beside the new path and renamed into place, with the pictures
    // and voices the deck names.
    QString error;
    try {
        // A deck whose file is gone is saved from what the window holds.
        if (!gone)
            editor_->reload();
        error = PmlDeck::write(editor_->deck(), editor_->folder(), path);
    } catch (const DataError& failure) {
        error = failure.message();
    }
    if (!error.isEmpty()) {
        tell(QStringLiteral("保存できませんでした。\n") + error, Prompter::Icon::Warning);
        return;
    }
    openDeck(path);
}

void MakerWindow::importCsv() {
    const QString folder = platform().prompter->chooseFolder(
        startFolder(editor_.get()), QStringLiteral("groups.csv などの ある フォルダ"));
    if (folder.isEmpty())
        return;
    const DeckCsv::ReadResult source = DeckCsv::read(folder);
    if (!source.problems.isEmpty()) {
        QStringList lines;
        for (qsizetype i = 0; i < std::min<qsizetype>(source.problems.size(), 10); ++i)
            lines << source.problems.at(i).toString();
        if (source.problems.size() > 10)
            lines << QStringLiteral("…ほか %1件").arg(source.problems.size() - 10);
        tell(QStringLiteral("CSV に 直すところが あるので、作りませんでした。\n\n") +
                 lines.join(u'\n'),
             Prompter::Icon::Warning);
        return;
    }
    const QString chosen = platform().prompter->saveFile(
        MakerTexts::DeckFilter,
        QDir(folder).filePath(QDir(folder).dirName() + QStringLiteral(".pml")),
        QStringLiteral("作る単語データの 名前"));
    if (chosen.isEmpty())
        return;
    const QString path =
        QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".pml") : chosen;
    if (QFileInfo::exists(path) &&
        platform().prompter->message(MakerTexts::Replace.arg(QDir::toNativeSeparators(path)),
                                     MakerTexts::Title, Prompter::Icon::Question,
                                     Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    if (const QString error = PmlDeck::write(source.deck, folder, path); !error.isEmpty()) {
        tell(QStringLiteral("作れませんでした。\n") + error, Prompter::Icon::Warning);
        return;
    }
    openDeck(path);
}

void MakerWindow::exportCsv() {
    if (!editor_)
        return;
    const QString folder = platform().prompter->chooseFolder(startFolder(editor_.get()),
                                                             QStringLiteral("書き出す フォルダ"));
    if (folder.isEmpty())
        return;
    QString report;
    QTextStream out(&report);
    const int status = DeckCommands::exportDeck(editor_->path(), folder, out);
    out.flush();
    if (status == 0)
        tell(QStringLiteral("書き出しました。\n") + folder);
    else
        tell(QStringLiteral("書き出せませんでした。\n") + report, Prompter::Icon::Warning);
}

bool MakerWindow::leavingWithFaultsAccepted() {
    const int faults = editor_ ? faultCount() : 0;
    return faults == 0 ||
           platform().prompter->message(MakerTexts::LeaveWithFaults.arg(faults), MakerTexts::Title,
                                        Prompter::Icon::Question,
                                        Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}
