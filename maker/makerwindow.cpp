#include "makerwindow.h"

#include "deckforms.h"
#include "makertexts.h"
#include "mediapanels.h"
#include "progresswindow.h"
#include "rowlist.h"
#include "voicework.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <dataerror.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>
#include <worddatafile.h>

using PMCM000::platform;

MakerWindow::MakerWindow(QWidget* parent)
    : QMainWindow(parent)
    , voiceWork_(std::make_unique<VoiceWork>())
    , groups_(new RowList(MakerTexts::GroupsList, MakerTexts::GroupsColumns, false))
    , subGroups_(new RowList(MakerTexts::SubGroupsList, MakerTexts::SubGroupsColumns, false))
    , words_(new RowList(MakerTexts::WordsList, MakerTexts::WordsColumns, true))
    , forms_(new QStackedWidget)
    , groupForm_(new GroupForm)
    , subGroupForm_(new SubGroupForm)
    , wordForm_(new WordForm)
    , noDeck_(new QLabel(MakerTexts::NoDeck))
    , checks_(new QListWidget)
    , checksTitle_(new QLabel) {
    if (!PMCM000::SettingsFolder.isEmpty()) {
        settingsPath_ = PMCM000::SettingsFolder + MakerSettings::fileName();
        settings_ = MakerSettings::read(settingsPath_);
    }
    createControls();
    createMenus();
    connectLists();
    connectMedia();
    connectSuggestions();
    refresh();
    loadSuggestions();
    fitScreen();
}

MakerWindow::~MakerWindow() = default;

bool MakerWindow::openDeck(const QString& chosen) {
    const QString path = chosen; // chosen may be the open deck's own path, which goes now
    try {
        session_.open(path);
    } catch (const DataError& error) {
        showError(MakerTexts::CannotOpen.arg(QFileInfo(path).fileName()), error);
        if (!QFileInfo::exists(path)) {
            settings_.forget(path);
            saveSettings();
            refreshRecentDecks();
        }
        return false;
    }
    settings_.remember(path);
    saveSettings();
    refreshRecentDecks();
    setWindowTitle(MakerTexts::Title + QStringLiteral(" ― ") + QFileInfo(path).fileName());
    goneReported_ = false;
    refresh();
    statusBar()->showMessage(WordDataFile::isReadOnly(path)
                                 ? MakerTexts::ReadOnlyStatus + QStringLiteral("  ") +
                                       editor()->path()
                                 : editor()->path());
    return true;
}

bool MakerWindow::deckGone() {
    if (!editor() || QFileInfo(editor()->path()).isFile())
        return false;
    if (goneReported_)
        return true;
    goneReported_ = true;
    statusBar()->showMessage(MakerTexts::DeckGoneStatus);
    if (platform().prompter->message(
            MakerTexts::DeckGone.arg(QDir::toNativeSeparators(editor()->path())), MakerTexts::Title,
            Prompter::Icon::Warning, Prompter::Buttons::YesNo) == Prompter::Answer::Yes)
        saveDeckAs();
    return true;
}

void MakerWindow::showError(const QString& what, const std::exception& error) {
    const auto* data = dynamic_cast<const DataError*>(&error);
    // The engine's own (English) words go to stderr; the parent reads the reason in Japanese.
    std::fprintf(stderr, "pimlotan-maker: %s\n", error.what());
    using Reason = DataError::Reason;
    const Reason reason = data ? data->reason() : Reason::Engine;
    QString why;
    if (reason == Reason::Busy)
        why = MakerTexts::Locked;
    else if (reason == Reason::Engine && editor() && WordDataFile::isReadOnly(editor()->path()))
        why = MakerTexts::ReadOnly;
    else
        why = MakerTexts::reasonText(reason);
    platform().prompter->message(what + u'\n' + why, MakerTexts::Title, Prompter::Icon::Warning);
}

// The maker's one handler guard: unlike the screens' (which report under the handler's name and
// go on), a refused change here must also put the fields back to what the file holds.
bool MakerWindow::changing(const std::function<void()>& work) {
    // A field left for the message box about a refused change finishes its edit once more:
    // that is not a second change.
    if (changing_)
        return false;
    const QScopedValueRollback busy(changing_, true);
    if (!editor() || deckGone()) {
        refreshForm(); // a refused edit's field shows what the deck holds again
        return false;
    }
    bool done = true;
    try {
        work();
    } catch (const DataError& error) {
        showError(MakerTexts::NotWritten, error);
        done = false;
    }
    refresh();
    if (!done)
        refreshForm(); // the fields show what the file holds, not the refused edit
    return done;
}

void MakerWindow::changeEvent(QEvent* event) {
    // The program may have graded words, or another maker changed the deck, meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && editor() && !deckGone()) {
        try {
            session_.reload();
        } catch (const DataError& error) {
            showError(MakerTexts::CannotRead, error);
        }
        refresh();
    }
    QMainWindow::changeEvent(event);
}

void MakerWindow::closeEvent(QCloseEvent* event) {
    if (!leavingWithFaultsAccepted()) {
        event->ignore();
        return;
    }
    session_.endTake(); // a take still running is dropped
    voiceWork_->stopRecording();
    // きろく is a window of its own; the maker ending ends it too.
    if (progress_)
        progress_->close();
    event->accept();
}

RowList* MakerWindow::listOf(Kind kind) const {
    return kind == Kind::Group ? groups_ : kind == Kind::SubGroup ? subGroups_ : words_;
}

void MakerWindow::connectLists() {
    connect(groups_, &RowList::chosenChanged, this, [this] {
        session_.chooseSlot(groups_->current());
        session_.show(Kind::Group);
        refresh();
    });
    connect(subGroups_, &RowList::chosenChanged, this, [this] {
        session_.chooseSubGroup(subGroups_->current());
        session_.show(Kind::SubGroup);
        refresh();
    });
    connect(words_, &RowList::chosenChanged, this, [this] {
        session_.chooseWords(words_->chosen());
        session_.show(Kind::Word);
        refreshForm();
    });
    for (const Kind kind : {Kind::Group, Kind::SubGroup, Kind::Word}) {
        RowList* list = listOf(kind);
        // Clicking a row already chosen shows its form again.
        connect(list->list(), &QTreeWidget::itemClicked, this, [this, kind] {
            session_.show(kind);
            refreshForm();
        });
        connect(list, &RowList::addClicked, this, [this, kind] { addRow(kind); });
        connect(list, &RowList::removeClicked, this, [this, kind] { removeRows(kind); });
        connect(list, &RowList::moveClicked, this, [this, kind](int step) { moveRow(kind, step); });
        connect(list, &RowList::rowsDropped, this,
                [this, kind](const QString& from, qint64 onto) { dropRows(kind, from, onto); });
    }
    connect(groupForm_, &GroupForm::textsEdited, this,
            [this](const QString& title, const QString& description) {
                const DeckGroup* group =
                    editor() ? editor()->group(session_.chosenGroup()) : nullptr;
                if (group && (group->tittle != title || group->setmei != description))
                    changing([&] { editor()->setGroupTexts(group->group, title, description); });
            });
    connect(wordForm_, &WordForm::textsEdited, this, [this](const WordForm::Texts& texts) {
        const QList<qint64> keys = session_.chosenWords();
        const DeckWord* w = keys.isEmpty() ? nullptr : editor()->word(keys.first());
        if (w && (w->word != texts.word || w->meaning != texts.meaning || w->text1 != texts.text1 ||
                  w->text2 != texts.text2))
            if (changing([&] {
                    editor()->setWordTexts(keys.first(),
                                           {texts.word, texts.meaning, texts.text1, texts.text2});
                }))
                speakIfVoiceless();
    });
    connect(wordForm_, &WordForm::resetClicked, this, [this] {
        const QList<qint64> keys = session_.chosenWords();
        if (!keys.isEmpty())
            changing([&] { editor()->resetWords(keys); });
    });
    connect(checks_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = checks_->row(item);
        // After the click is done: showing the row rebuilds this list, item and all.
        if (row >= 0 && row < shownChecks_.size())
            QTimer::singleShot(0, this, [this, check = shownChecks_.at(row)] { jumpTo(check); });
    });
}

void MakerWindow::addRow(Kind kind) {
    qint64 added = 0;
    if (!changing([&] { added = session_.add(kind); }) || !added)
        return;
    QLineEdit* first = kind == Kind::Group  ? groupForm_->title()
                       : kind == Kind::Word ? wordForm_->word()
                                            : nullptr;
    if (first) {
        first->setFocus();
        first->selectAll();
    }
}

void MakerWindow::removeRows(Kind kind) {
    if (!editor())
        return;
    const QString question = session_.removeQuestion(kind);
    if (question.isEmpty() ||
        platform().prompter->message(question, MakerTexts::Title, Prompter::Icon::Question,
                                     Prompter::Buttons::YesNoDefaultNo) != Prompter::Answer::Yes)
        return;
    changing([&] { session_.remove(kind); });
    // The question had the focus; the list gets it back, so that keys (Delete, Ctrl+Z) go on.
    listOf(kind)->list()->setFocus();
}

void MakerWindow::moveRow(Kind kind, int step) {
    changing([&] { session_.move(kind, step); });
}

void MakerWindow::dropRows(Kind kind, const QString& from, qint64 onto) {
    RowList* list = listOf(kind);
    if (!editor())
        return;
    if (kind == Kind::SubGroup && from == words_->name()) {
        if (onto && onto != session_.chosenSubGroup())
            changing([&] { session_.moveWordsTo(session_.chosenGroup(), onto); });
        return;
    }
    if (from != list->name())
        return;
    // Dropped on a row: to its place; below the rows: to the end.
    QList<qint64> order;
    for (int i = 0; i < list->list()->topLevelItemCount(); ++i)
        order << list->list()->topLevelItem(i)->data(0, Qt::UserRole).toLongLong();
    const qsizetype here = order.indexOf(list->current());
    const qsizetype there = onto ? order.indexOf(onto) : order.size() - 1;
    if (here >= 0 && there >= 0 && here != there)
        changing([&] { session_.moveBy(kind, int(there - here)); });
}

void MakerWindow::jumpTo(const DeckCheck& check) {
    const Kind kind = check.row == DeckCheck::Row::Group      ? Kind::Group
                      : check.row == DeckCheck::Row::SubGroup ? Kind::SubGroup
                                                              : Kind::Word;
    session_.chooseRow(kind, check.group, check.sgroup, check.key);
    refresh();
}
