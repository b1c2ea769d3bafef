// What the maker's window shows of the deck: the three lists, the form of the row chosen last
// and the checks, all from the rows the file holds.
#include "deckeditor.h"
#include "deckforms.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "rowlist.h"
#include "suggestionchoices.h"

#include <QAction>
#include <QColor>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>
#include <levelcaption.h>
#include <mediapath.h>
#include <worddataformat.h>

void MakerWindow::refresh() {
    if (refreshing_)
        return;
    refreshing_ = true;
    refreshLists();
    refreshForm();
    refreshChecks();
    undo_->setEnabled(editor() && editor()->canUndo());
    redo_->setEnabled(editor() && editor()->canRedo());
    refreshing_ = false;
}

void MakerWindow::refreshLists() {
    const DeckEditor* deck = editor();
    for (RowList* list : {groups_, subGroups_, words_}) {
        list->setEnabled(deck != nullptr);
        if (!deck)
            list->setRows({}, {});
    }
    if (!deck)
        return;
    // Every slot is listed, so that a group's place on the main menu is plain to see and a
    // group can be moved into an empty one.
    QList<RowList::Row> slotRows;
    for (qint64 slot = WordDataFormat::firstGroup; slot <= WordDataFormat::lastGroup; ++slot) {
        const DeckGroup* group = deck->group(slot);
        slotRows << RowList::Row{
            slot,
            {QStringLiteral("%1  %2").arg(slot).arg(group ? group->tittle : MakerTexts::EmptySlot),
             group ? QString::number(deck->wordCount(slot)) : QString()}};
    }
    groups_->setRows(slotRows, {session_.chosenSlot()});
    groups_->setAddEnabled(deck->freeSlot() != 0);
    const qint64 group = session_.chosenGroup();
    groups_->removeButton()->setEnabled(group != 0);
    if (!group) {
        groups_->upButton()->setEnabled(false);
        groups_->downButton()->setEnabled(false);
    }

    QList<RowList::Row> subGroups;
    for (const DeckSubGroup& s : deck->subGroupsOf(group))
        subGroups << RowList::Row{s.sgroup,
                                  {QStringLiteral("%1-%2").arg(s.group).arg(s.sgroup),
                                   QString::number(deck->wordCount(s.group, s.sgroup))}};
    subGroups_->setRows(subGroups, {session_.chosenSubGroup()});
    subGroups_->setAddEnabled(group != 0);

    const qint64 sgroup = session_.chosenSubGroup();
    QList<RowList::Row> words;
    for (const DeckWord& w : deck->wordsOf(group, sgroup))
        words << RowList::Row{
            w.key, {w.word, w.meaning, levelCaption(int(w.level)), QString::number(w.times)}};
    words_->setRows(words, session_.chosenWords());
    words_->setAddEnabled(sgroup != 0);
}

void MakerWindow::refreshForm() {
    const DeckEditor* deck = editor();
    const std::optional<Kind> kind = session_.shownKind();
    if (!kind) {
        forms_->setCurrentWidget(noDeck_);
        static_cast<QLabel*>(noDeck_)->setText(deck ? MakerTexts::AddAGroup : MakerTexts::NoDeck);
        return;
    }
    const qint64 group = session_.chosenGroup();
    const qint64 sgroup = session_.chosenSubGroup();
    const QString folder = deck->folder();
    // Another row: what was searched and said for the one before does not belong to it.
    const QList<qint64> row{qint64(*kind), group, sgroup,
                            *kind == Kind::Word ? session_.chosenWords().first() : 0};
    if (row != shownRow_) {
        shownRow_ = row;
        for (PicturePanel* panel :
             {groupForm_->picture(), subGroupForm_->picture(), wordForm_->picture()})
            panel->choices()->search()->clear();
        wordForm_->voice()->setStatus({});
    }
    switch (*kind) {
    case Kind::Group: {
        const DeckGroup* g = deck->group(group);
        groupForm_->show(g->group, g->tittle, g->setmei);
        groupForm_->picture()->show(MediaPath::findPicture(folder, g->ttlimage), g->tittle, {});
        forms_->setCurrentWidget(groupForm_);
        break;
    }
    case Kind::SubGroup: {
        const DeckSubGroup* s = deck->subGroup(group, sgroup);
        subGroupForm_->show(group, sgroup, deck->wordCount(group, sgroup));
        subGroupForm_->picture()->show(MediaPath::findPicture(folder, s->images),
                                       QStringLiteral("No. %1").arg(sgroup), {});
        forms_->setCurrentWidget(subGroupForm_);
        break;
    }
    case Kind::Word: {
        const QList<qint64> keys = session_.chosenWords();
        const DeckWord* w = deck->word(keys.first());
        wordForm_->show({w->word, w->meaning, w->text1, w->text2}, w->level, w->times,
                        int(keys.size()));
        wordForm_->picture()->show(MediaPath::findPicture(folder, w->images), w->word, w->meaning);
        wordForm_->voice()->setStored(QFileInfo(MediaPath::findVoice(folder, w->voice)).isFile());
        forms_->setCurrentWidget(wordForm_);
        break;
    }
    }
    refreshSuggestions();
}

void MakerWindow::refreshChecks() {
    shownChecks_ = editor() ? checkDeck(editor()->deck(), editor()->folder()) : QList<DeckCheck>();
    checks_->clear();
    for (const DeckCheck& check : shownChecks_) {
        checks_->addItem(check.text);
        checks_->item(checks_->count() - 1)->setToolTip(check.text);
        if (check.refused)
            checks_->item(checks_->count() - 1)->setForeground(QColor(0xc0, 0, 0));
    }
    const int faults = faultCount();
    checksTitle_->setText(!editor()                ? QString()
                          : shownChecks_.isEmpty() ? MakerTexts::NoProblems
                          : faults > 0 ? MakerTexts::Faults.arg(shownChecks_.size()).arg(faults)
                                       : MakerTexts::Problems.arg(shownChecks_.size()));
}

int MakerWindow::faultCount() const {
    return int(std::count_if(shownChecks_.cbegin(), shownChecks_.cend(),
                             [](const DeckCheck& check) { return check.refused; }));
}
