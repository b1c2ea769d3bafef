// What the maker's window shows of the deck: the three lists, the form of the row chosen last
// and the checks, all from the rows the file holds.
#include "deckeditor.h"
#include "deckforms.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "rowlist.h"

#include <QColor>
#include <QFileInfo>
#include <QLabel>
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
    if (!editor_) {
        for (RowList* list : {groups_, subGroups_, words_}) {
            list->setRows({}, {});
            list->setEnabled(false);
        }
    } else {
        for (RowList* list : {groups_, subGroups_, words_})
            list->setEnabled(true);
        // Every slot is listed, so that a group's place on the main menu is plain to see and a
        // group can be moved into an empty one.
        QList<RowList::Row> slotRows;
        for (qint64 slot = WordDataFormat::firstGroup; slot <= WordDataFormat::lastGroup; ++slot) {
            const DeckGroup* group = editor_->group(slot);
            slotRows << RowList::Row{
                slot,
                {QStringLiteral("%1  %2").arg(slot).arg(group ? group->tittle
                                                              : MakerTexts::EmptySlot),
                 group ? QString::number(editor_->wordCount(slot)) : QString()}};
        }
        groups_->setRows(slotRows, {groups_->current()});
        groups_->setAddEnabled(editor_->freeSlot() != 0);
        const qint64 group = chosenGroup();
        groups_->removeButton()->setEnabled(group != 0);
        if (!group) {
            groups_->upButton()->setEnabled(false);
            groups_->downButton()->setEnabled(false);
        }

        QList<RowList::Row> subGroups;
        for (const DeckSubGroup& s : editor_->subGroupsOf(group))
            subGroups << RowList::Row{s.sgroup,
                                      {QStringLiteral("%1-%2").arg(s.group).arg(s.sgroup),
                                       QString::number(editor_->wordCount(s.group, s.sgroup))}};
        subGroups_->setRows(subGroups, {subGroups_->current()});
        subGroups_->setAddEnabled(group != 0);

        const qint64 sgroup = chosenSubGroup();
        QList<RowList::Row> words;
        for (const DeckWord& w : editor_->wordsOf(group, sgroup))
            words << RowList::Row{
                w.key, {w.word, w.meaning, levelCaption(int(w.level)), QString::number(w.times)}};
        words_->setRows(words, words_->chosen());
        words_->setAddEnabled(sgroup != 0);
    }
    refreshForm();
    refreshChecks();
    refreshing_ = false;
}

void MakerWindow::refreshForm() {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    Kind kind = shownKind_;
    if (kind == Kind::Word && keys.isEmpty())
        kind = Kind::SubGroup;
    if (kind == Kind::SubGroup && !sgroup)
        kind = Kind::Group;
    if (!editor_ || (kind == Kind::Group && !group)) {
        forms_->setCurrentWidget(noDeck_);
        static_cast<QLabel*>(noDeck_)->setText(
            editor_ ? QStringLiteral("「追加」で グループを 作ってください。")
                    : MakerTexts::NoDeck);
        return;
    }
    const QString folder = editor_->folder();
    switch (kind) {
    case Kind::Group: {
        const DeckGroup* g = editor_->group(group);
        groupForm_->show(g->group, g->tittle, g->setmei);
        groupForm_->picture()->show(MediaPath::findPicture(folder, g->ttlimage), g->tittle, {});
        forms_->setCurrentWidget(groupForm_);
        break;
    }
    case Kind::SubGroup: {
        const DeckSubGroup* s = editor_->subGroup(group, sgroup);
        subGroupForm_->show(group, sgroup, editor_->wordCount(group, sgroup));
        subGroupForm_->picture()->show(MediaPath::findPicture(folder, s->images),
                                       QStringLiteral("No. %1").arg(sgroup), {});
        forms_->setCurrentWidget(subGroupForm_);
        break;
    }
    case Kind::Word: {
        const DeckWord* w = editor_->word(keys.first());
        wordForm_->show({w->word, w->meaning, w->text1, w->text2}, w->level, w->times,
                        int(keys.size()));
        wordForm_->picture()->show(MediaPath::findPicture(folder, w->images), w->word, w->meaning);
        wordForm_->voice()->setStored(QFileInfo(MediaPath::findVoice(folder, w->voice)).isFile());
        forms_->setCurrentWidget(wordForm_);
        break;
    }
    }
}

void MakerWindow::refreshChecks() {
    shownChecks_ = editor_ ? checkDeck(editor_->deck(), editor_->folder()) : QList<DeckCheck>();
    checks_->clear();
    for (const DeckCheck& check : shownChecks_) {
        checks_->addItem(check.text);
        if (check.refused)
            checks_->item(checks_->count() - 1)->setForeground(QColor(0xc0, 0, 0));
    }
    const int faults = faultCount();
    checksTitle_->setText(!editor_                 ? QString()
                          : shownChecks_.isEmpty() ? MakerTexts::NoProblems
                          : faults > 0 ? MakerTexts::Faults.arg(shownChecks_.size()).arg(faults)
                                       : MakerTexts::Problems.arg(shownChecks_.size()));
}

int MakerWindow::faultCount() const {
    return int(std::count_if(shownChecks_.cbegin(), shownChecks_.cend(),
                             [](const DeckCheck& check) { return check.refused; }));
}
