#include "makerwindow.h"

#include "deckeditor.h"
#include "deckforms.h"
#include "makertexts.h"
#include "mediapanels.h"
#include "rowlist.h"
#include "voicework.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <dataerror.h>
#include <mediapath.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>
#include <worddatafile.h>
#include <worddataformat.h>

using PMCM000::platform;

MakerWindow::MakerWindow(QWidget* parent)
    : QMainWindow(parent)
    , voiceWork_(std::make_unique<VoiceWork>())
    , groups_(new RowList(QStringLiteral("グループ"),
                          {QStringLiteral("番号・名前"), QStringLiteral("単語")}, false))
    , subGroups_(new RowList(QStringLiteral("小グループ"),
                             {QStringLiteral("番号"), QStringLiteral("単語")}, false))
    , words_(new RowList(QStringLiteral("単語"),
                         {QStringLiteral("英語"), QStringLiteral("意味"), QStringLiteral("レベル"),
                          QStringLiteral("回数")},
                         true))
    , forms_(new QStackedWidget)
    , groupForm_(new GroupForm)
    , subGroupForm_(new SubGroupForm)
    , wordForm_(new WordForm)
    , noDeck_(new QLabel(MakerTexts::NoDeck))
    , checks_(new QListWidget)
    , checksTitle_(new QLabel) {
    setWindowTitle(MakerTexts::Title);
    static_cast<QLabel*>(noDeck_)->setAlignment(Qt::AlignCenter);
    static_cast<QLabel*>(noDeck_)->setWordWrap(true);
    for (QWidget* form : {noDeck_, static_cast<QWidget*>(groupForm_),
                          static_cast<QWidget*>(subGroupForm_), static_cast<QWidget*>(wordForm_)})
        forms_->addWidget(form);
    checks_->setAccessibleName(QStringLiteral("チェック"));
    checksTitle_->setWordWrap(true);

    auto* lists = new QSplitter(Qt::Horizontal);
    lists->addWidget(groups_);
    lists->addWidget(subGroups_);
    lists->addWidget(words_);
    lists->setStretchFactor(2, 1);
    lists->setSizes({230, 130, 400}); // the words' list has the most columns
    auto* checks = new QWidget;
    auto* checksLayout = new QVBoxLayout(checks);
    checksLayout->setContentsMargins(0, 0, 0, 0);
    checksLayout->addWidget(checksTitle_);
    checksLayout->addWidget(checks_);
    auto* left = new QSplitter(Qt::Vertical);
    left->addWidget(lists);
    left->addWidget(checks);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 1);
    auto* whole = new QSplitter(Qt::Horizontal);
    whole->addWidget(left);
    whole->addWidget(forms_);
    whole->setStretchFactor(0, 3);
    whole->setStretchFactor(1, 2);
    setCentralWidget(whole);

    createMenus();
    connectLists();
    connectMedia();
    refresh();
    resize(1200, 760);
}

MakerWindow::~MakerWindow() = default;

bool MakerWindow::openDeck(const QString& path) {
    try {
        auto opened = std::make_unique<DeckEditor>(path);
        editor_ = std::move(opened);
    } catch (const DataError& error) {
        showError(MakerTexts::CannotOpen.arg(QFileInfo(path).fileName()), error);
        return false;
    }
    setWindowTitle(MakerTexts::Title + QStringLiteral(" ― ") + QFileInfo(path).fileName());
    groups_->setRows({}, {});
    shownKind_ = Kind::Group;
    goneReported_ = false;
    refresh();
    statusBar()->showMessage(WordDataFile::isReadOnly(editor_->path())
                                 ? MakerTexts::ReadOnlyStatus + QStringLiteral("  ") +
                                       editor_->path()
                                 : editor_->path());
    return true;
}

bool MakerWindow::deckGone() {
    if (!editor_ || QFileInfo(editor_->path()).isFile())
        return false;
    if (goneReported_)
        return true;
    goneReported_ = true;
    statusBar()->showMessage(MakerTexts::DeckGoneStatus);
    if (platform().prompter->message(
            MakerTexts::DeckGone.arg(QDir::toNativeSeparators(editor_->path())), MakerTexts::Title,
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
    else if (reason == Reason::Engine && editor_ && WordDataFile::isReadOnly(editor_->path()))
        why = MakerTexts::ReadOnly;
    else
        why = MakerTexts::reasonText(reason);
    platform().prompter->message(what + u'\n' + why, MakerTexts::Title, Prompter::Icon::Warning);
}

bool MakerWindow::changing(const std::function<void()>& work) {
    // A field left for the message box about a refused change finishes its edit once more:
    // that is not a second change.
    if (changing_)
        return false;
    const QScopedValueRollback busy(changing_, true);
    if (!editor_ || deckGone()) {
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && editor_ && !deckGone()) {
        try {
            editor_->reload();
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
    voiceWork_->cancel();
    event->accept();
}

qint64 MakerWindow::chosenGroup() const {
    const qint64 slot = groups_->current();
    return editor_ && editor_->group(slot) ? slot : 0;
}

qint64 MakerWindow::chosenSubGroup() const {
    const qint64 group = chosenGroup();
    const qint64 sgroup = subGroups_->current();
    return group && editor_->subGroup(group, sgroup) ? sgroup : 0;
}

QList<qint64> MakerWindow::chosenWords() const {
    QList<qint64> keys;
    if (!chosenSubGroup())
        return keys;
    for (const qint64 key : words_->chosen())
        if (editor_->word(key))
            keys << key;
    return keys;
}

void MakerWindow::connectLists() {
    connect(groups_, &RowList::chosenChanged, this, [this] {
        refresh();
        choose(Kind::Group);
    });
    connect(subGroups_, &RowList::chosenChanged, this, [this] {
        refresh();
        choose(Kind::SubGroup);
    });
    connect(words_, &RowList::chosenChanged, this, [this] {
        refreshForm();
        choose(Kind::Word);
    });
    // Clicking a row already chosen shows its form again.
    connect(groups_->list(), &QTreeWidget::itemClicked, this, [this] { choose(Kind::Group); });
    connect(subGroups_->list(), &QTreeWidget::itemClicked, this,
            [this] { choose(Kind::SubGroup); });
    connect(words_->list(), &QTreeWidget::itemClicked, this, [this] { choose(Kind::Word); });
    const std::array<std::pair<RowList*, Kind>, 3> lists{
        {{groups_, Kind::Group}, {subGroups_, Kind::SubGroup}, {words_, Kind::Word}}};
    for (const auto& [list, kind] : lists) {
        connect(list, &RowList::addClicked, this, [this, kind] { addRow(kind); });
        connect(list, &RowList::removeClicked, this, [this, kind] { removeRows(kind); });
        connect(list, &RowList::moveClicked, this, [this, kind](int step) { moveRow(kind, step); });
    }
    connect(groupForm_, &GroupForm::textsEdited, this,
            [this](const QString& title, const QString& description) {
                const DeckGroup* group = editor_ ? editor_->group(chosenGroup()) : nullptr;
                if (group && (group->tittle != title || group->setmei != description))
                    changing([&] { editor_->setGroupTexts(group->group, title, description); });
            });
    connect(wordForm_, &WordForm::textsEdited, this, [this](const WordForm::Texts& texts) {
        const QList<qint64> keys = chosenWords();
        const DeckWord* w = keys.isEmpty() ? nullptr : editor_->word(keys.first());
        if (w && (w->word != texts.word || w->meaning != texts.meaning || w->text1 != texts.text1 ||
                  w->text2 != texts.text2))
            changing([&] {
                editor_->setWordTexts(keys.first(),
                                      {texts.word, texts.meaning, texts.text1, texts.text2});
            });
    });
    connect(wordForm_, &WordForm::resetClicked, this, [this] {
        const QList<qint64> keys = chosenWords();
        if (!keys.isEmpty())
            changing([&] { editor_->resetWords(keys); });
    });
    connect(checks_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = checks_->row(item);
        // After the click is done: showing the row rebuilds this list, item and all.
        if (row >= 0 && row < shownChecks_.size())
            QTimer::singleShot(0, this, [this, check = shownChecks_.at(row)] { jumpTo(check); });
    });
}

void MakerWindow::choose(Kind kind) {
    shownKind_ = kind;
    refreshForm();
}

void MakerWindow::addRow(Kind kind) {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    qint64 added = 0;
    const bool done = changing([&] {
        switch (kind) {
        case Kind::Group:
            added = editor_->addGroup(MakerTexts::NewGroup);
            break;
        case Kind::SubGroup:
            added = editor_->addSubGroup(group);
            break;
        case Kind::Word:
            added = editor_->addWord(group, sgroup, {});
            break;
        }
    });
    if (!done)
        return;
    RowList* list = kind == Kind::Group ? groups_ : kind == Kind::SubGroup ? subGroups_ : words_;
    list->choose(added);
    refresh();
    choose(kind);
    QLineEdit* first = kind == Kind::Group  ? groupForm_->title()
                       : kind == Kind::Word ? wordForm_->word()
                                            : nullptr;
    if (first) {
        first->setFocus();
        first->selectAll();
    }
}

void MakerWindow::removeRows(Kind kind) {
    if (!editor_)
        return;
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    QString question;
    switch (kind) {
    case Kind::Group:
        if (!group)
            return;
        question = MakerTexts::RemoveGroup.arg(editor_->group(group)->tittle)
                       .arg(editor_->subGroupsOf(group).size())
                       .arg(editor_->wordCount(group));
        break;
    case Kind::SubGroup:
        if (!sgroup)
            return;
        question = MakerTexts::RemoveSubGroup.arg(group).arg(sgroup).arg(
            editor_->wordCount(group, sgroup));
        break;
    case Kind::Word:
        if (keys.isEmpty())
            return;
        if (keys.size() == 1) {
            // A word not spelt yet is named by its meaning.
            const DeckWord* w = editor_->word(keys.first());
            const QString name = !w->word.trimmed().isEmpty()      ? w->word
                                 : !w->meaning.trimmed().isEmpty() ? w->meaning
                                                                   : MakerTexts::Unnamed;
            question = MakerTexts::RemoveWord.arg(name);
        } else {
            question = MakerTexts::RemoveWords.arg(keys.size());
        }
        break;
    }
    if (platform().prompter->message(question, MakerTexts::Title, Prompter::Icon::Question,
                                     Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    changing([&] {
        switch (kind) {
        case Kind::Group:
            editor_->removeGroup(group);
            break;
        case Kind::SubGroup:
            editor_->removeSubGroup(group, sgroup);
            break;
        case Kind::Word:
            editor_->removeWords(keys);
            break;
        }
    });
}

void MakerWindow::moveRow(Kind kind, int step) {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    qint64 now = 0;
    RowList* list = kind == Kind::Group ? groups_ : kind == Kind::SubGroup ? subGroups_ : words_;
    const bool done = changing([&] {
        switch (kind) {
        case Kind::Group:
            if (group)
                now = editor_->moveGroup(group, step);
            break;
        case Kind::SubGroup:
            if (sgroup)
                now = editor_->moveSubGroup(group, sgroup, step);
            break;
        case Kind::Word:
            if (keys.size() == 1)
                now = editor_->moveWord(keys.first(), step);
            break;
        }
    });
    if (done && now) {
        list->choose(now);
        refresh();
        choose(kind);
    }
}

void MakerWindow::jumpTo(const DeckCheck& check) {
    groups_->choose(check.group);
    refresh();
    if (check.row == DeckCheck::Row::Group) {
        choose(Kind::Group);
        return;
    }
    subGroups_->choose(check.sgroup);
    refresh();
    if (check.row == DeckCheck::Row::SubGroup) {
        choose(Kind::SubGroup);
        return;
    }
    words_->choose(check.key);
    choose(Kind::Word);
}
