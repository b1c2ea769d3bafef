#include "makersession.h"

#include "makertexts.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <deckcsv.h>
#include <deckvalidator.h>
#include <mediapath.h>
#include <pmldeck.h>
#include <utility>
#include <worddataformat.h>

MakerSession::MakerSession() = default;
MakerSession::~MakerSession() = default;

void MakerSession::open(const QString& path) {
    auto opened = std::make_unique<DeckEditor>(path);
    editor_ = std::move(opened);
    slot_ = 0;
    sgroup_ = 0;
    keys_.clear();
    shown_ = Kind::Group;
    settle();
}

void MakerSession::reload() {
    if (!editor_)
        return;
    // Settled also when the file cannot be read: the rows held stay, the choice with them.
    struct Settle {
        MakerSession* session;
        ~Settle() { session->settle(); }
    } settleAfter{this};
    editor_->reload();
}

void MakerSession::chooseSlot(qint64 slot) {
    slot_ = slot;
    settle();
}

void MakerSession::chooseSubGroup(qint64 sgroup) {
    sgroup_ = sgroup;
    settle();
}

void MakerSession::chooseWords(const QList<qint64>& keys) {
    keys_ = keys;
    settle();
}

void MakerSession::chooseRow(Kind kind, qint64 group, qint64 sgroup, qint64 key) {
    slot_ = group;
    sgroup_ = kind == Kind::Group ? sgroup_ : sgroup;
    keys_ = kind == Kind::Word ? QList<qint64>{key} : keys_;
    shown_ = kind;
    settle();
}

void MakerSession::settle() {
    if (!editor_)
        return;
    if (slot_ < WordDataFormat::firstGroup || slot_ > WordDataFormat::lastGroup)
        slot_ = WordDataFormat::firstGroup;
    const QList<DeckSubGroup> subGroups = editor_->subGroupsOf(chosenGroup());
    if (subGroups.isEmpty())
        sgroup_ = 0;
    else if (!editor_->subGroup(slot_, sgroup_))
        sgroup_ = subGroups.first().sgroup;
    const QList<DeckWord> words = editor_->wordsOf(chosenGroup(), sgroup_);
    QList<qint64> kept;
    for (const qint64 key : std::as_const(keys_))
        if (std::any_of(words.cbegin(), words.cend(),
                        [&](const DeckWord& w) { return w.key == key; }))
            kept << key;
    if (kept.isEmpty() && !words.isEmpty())
        kept << words.first().key;
    keys_ = kept;
}

qint64 MakerSession::chosenGroup() const {
    return editor_ && editor_->group(slot_) ? slot_ : 0;
}

qint64 MakerSession::chosenSubGroup() const {
    const qint64 group = chosenGroup();
    return group && editor_->subGroup(group, sgroup_) ? sgroup_ : 0;
}

QList<qint64> MakerSession::chosenWords() const {
    QList<qint64> keys;
    if (!chosenSubGroup())
        return keys;
    for (const qint64 key : keys_)
        if (editor_->word(key))
            keys << key;
    return keys;
}

std::optional<MakerSession::Kind> MakerSession::shownKind() const {
    Kind kind = shown_;
    if (kind == Kind::Word && chosenWords().isEmpty())
        kind = Kind::SubGroup;
    if (kind == Kind::SubGroup && !chosenSubGroup())
        kind = Kind::Group;
    if (!chosenGroup())
        return std::nullopt;
    return kind;
}

qint64 MakerSession::add(Kind kind) {
    if (!editor_)
        return 0;
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    qint64 added = 0;
    switch (kind) {
    case Kind::Group:
        if (!editor_->freeSlot())
            return 0;
        added = slot_ = editor_->addGroup(MakerTexts::NewGroup);
        break;
    case Kind::SubGroup:
        if (!group)
            return 0;
        added = sgroup_ = editor_->addSubGroup(group);
        break;
    case Kind::Word:
        if (!sgroup)
            return 0;
        added = editor_->addWord(group, sgroup, {});
        keys_ = {added};
        break;
    }
    shown_ = kind;
    settle();
    return added;
}

QString MakerSession::removeQuestion(Kind kind) const {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    switch (kind) {
    case Kind::Group:
        return group ? MakerTexts::RemoveGroup.arg(editor_->group(group)->tittle)
                           .arg(editor_->subGroupsOf(group).size())
                           .arg(editor_->wordCount(group))
                     : QString();
    case Kind::SubGroup:
        return sgroup ? MakerTexts::RemoveSubGroup.arg(group).arg(sgroup).arg(
                            editor_->wordCount(group, sgroup))
                      : QString();
    case Kind::Word:
        if (keys.size() > 1)
            return MakerTexts::RemoveWords.arg(keys.size());
        if (keys.size() == 1) {
            // A word not spelt yet is named by its meaning.
            const DeckWord* w = editor_->word(keys.first());
            return MakerTexts::RemoveWord.arg(!w->word.trimmed().isEmpty() ? w->word
                                              : !w->meaning.trimmed().isEmpty()
                                                  ? w->meaning
                                                  : MakerTexts::Unnamed);
        }
        return {};
    }
    return {};
}

void MakerSession::remove(Kind kind) {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    switch (kind) {
    case Kind::Group:
        if (group)
            editor_->removeGroup(group);
        break;
    case Kind::SubGroup:
        if (sgroup)
            editor_->removeSubGroup(group, sgroup);
        break;
    case Kind::Word:
        if (!keys.isEmpty()) {
            // The word after the removed ones is chosen next (the one before at the end), so
            // that a parent removing words one by one stays where they were.
            const QList<DeckWord> words = editor_->wordsOf(group, sgroup);
            qsizetype at = 0;
            while (at < words.size() && !keys.contains(words.at(at).key))
                ++at;
            editor_->removeWords(keys);
            const QList<DeckWord> left = editor_->wordsOf(group, sgroup);
            keys_.clear();
            if (!left.isEmpty())
                keys_ = {left.at(std::min(at, left.size() - 1)).key};
        }
        break;
    }
    settle();
}

qint64 MakerSession::move(Kind kind, int step) {
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    const QList<qint64> keys = chosenWords();
    qint64 now = 0;
    switch (kind) {
    case Kind::Group:
        if (group)
            now = slot_ = editor_->moveGroup(group, step);
        break;
    case Kind::SubGroup:
        if (sgroup)
            now = sgroup_ = editor_->moveSubGroup(group, sgroup, step);
        break;
    case Kind::Word:
        if (keys.size() == 1) {
            now = editor_->moveWord(keys.first(), step);
            keys_ = {now};
        }
        break;
    }
    if (now)
        shown_ = kind;
    settle();
    return now;
}

qint64 MakerSession::moveBy(Kind kind, int steps) {
    qint64 now = 0;
    editor_->asOneChange([&] {
        for (int i = 0; i < std::abs(steps); ++i) {
            const qint64 moved = move(kind, steps < 0 ? -1 : +1);
            if (!moved || moved == now)
                break; // at an end
            now = moved;
        }
    });
    return now;
}

void MakerSession::moveWordsTo(qint64 group, qint64 sgroup) {
    const QList<qint64> keys = chosenWords();
    if (keys.isEmpty())
        return;
    editor_->moveWordsTo(keys, group, sgroup);
    slot_ = group;
    sgroup_ = sgroup;
    keys_ = keys;
    shown_ = Kind::Word;
    settle();
}

MakerSession::PictureTarget MakerSession::pictureTarget() const {
    using Media = DeckEditor::Media;
    const std::optional<Kind> kind = shownKind();
    const qint64 group = chosenGroup();
    const qint64 sgroup = chosenSubGroup();
    if (!kind)
        return {};
    switch (*kind) {
    case Kind::Word: {
        const DeckWord* w = editor_->word(chosenWords().first());
        return {Kind::Word, editor_->mediaNameFor(Media::Picture, w->images, w->word)};
    }
    case Kind::SubGroup:
        return {Kind::SubGroup,
                editor_->mediaNameFor(Media::Picture, editor_->subGroup(group, sgroup)->images,
                                      QStringLiteral("sub%1-%2").arg(group).arg(sgroup))};
    case Kind::Group:
        break;
    }
    return {Kind::Group, editor_->mediaNameFor(Media::Picture, editor_->group(group)->ttlimage,
                                               QStringLiteral("group%1").arg(group))};
}

void MakerSession::undo() {
    editor_->undo();
    settle();
}

void MakerSession::redo() {
    editor_->redo();
    settle();
}

void MakerSession::setPicture(const PictureTarget& target) {
    switch (target.kind) {
    case Kind::Group:
        editor_->setGroupPicture(chosenGroup(), target.name);
        break;
    case Kind::SubGroup:
        editor_->setSubGroupPicture(chosenGroup(), chosenSubGroup(), target.name);
        break;
    case Kind::Word:
        editor_->setWordPicture(chosenWords().first(), target.name);
        break;
    }
    settle();
}

QString MakerSession::voiceNameFor(qint64 key) const {
    const DeckWord* w = editor_->word(key);
    return editor_->mediaNameFor(DeckEditor::Media::Voice, w->voice, w->word);
}

void MakerSession::beginTake(qint64 key) {
    takeKey_ = key;
    takeDeck_ = editor_ ? editor_->path() : QString();
}

qint64 MakerSession::endTake() {
    const qint64 key = std::exchange(takeKey_, 0);
    const QString deck = std::exchange(takeDeck_, {});
    return key && editor_ && editor_->path() == deck && editor_->word(key) ? key : 0;
}

QString MakerSession::saveCopy(const QString& path) {
    // A deck whose file is gone is saved from the rows held.
    if (QFileInfo(editor_->path()).isFile())
        editor_->reload();
    return PmlDeck::write(editor_->deckWithHistory(), editor_->folder(), path);
}

QString MakerSession::exportCsv(const QString& folder, QStringList& missing) {
    if (QFileInfo(editor_->path()).isFile())
        editor_->reload();
    // A media name such as "../../x" would copy a file outside the folder: nothing is written.
    for (const DeckProblem& problem : validateDeck(editor_->deck(), DeckOrigin{}, {}))
        if (problem.kind == DeckProblem::Kind::NotPlainName)
            return MakerTexts::UnplainMediaName.arg(problem.media);
    if (const QString error = DeckCsv::write(editor_->deckWithHistory(), folder); !error.isEmpty())
        return error;
    return PmlDeck::copyMedia(editor_->deck(), editor_->folder(), folder, &missing);
}

DeckProblems MakerSession::buildFromCsv(const QString& folder, const QString& path,
                                        QString& error) {
    const DeckCsv::ReadResult source = DeckCsv::read(folder);
    if (source.problems.isEmpty())
        error = PmlDeck::write(source.deck, folder, path);
    return source.problems;
}
