#include "practicedrill.h"

#include "dataerror.h"
#include "statements.h"
#include "worddatafile.h"
#include "worddataformat.h"

#include <QSet>
#include <limits>

// Names the handler that messages are reported under; nested calls keep the outer name. Not a
// try/catch guard as the main menu's and the show's are (see Pml0010::guarded): the drill
// catches each failure where it happens, because a failed grading must not stop the practice.
class PracticeDrill::HandlerScope {
  public:
    HandlerScope(PracticeDrill* drill, const QString& name)
        : drill_(drill)
        , outer_(drill->handler_.isEmpty()) {
        if (outer_)
            drill_->handler_ = name;
    }
    ~HandlerScope() {
        if (outer_)
            drill_->handler_.clear();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

  private:
    PracticeDrill* drill_;
    bool outer_;
};

namespace {

constexpr int lowestLevel = WordDataFormat::lowestLevel;
constexpr int highestLevel = WordDataFormat::highestLevel;

bool validLevel(int level) {
    return level >= lowestLevel && level <= highestLevel;
}

// A required 32-bit integer field; nullopt for a Null or anything that is not one.
std::optional<qint32> intField(const DataSource& data, const QString& name) {
    const QVariant value = data.field(name);
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(number);
}

std::optional<QString> requiredText(const DataSource& data, const QString& name) {
    const QVariant value = data.field(name);
    if (value.isNull())
        return std::nullopt;
    return value.toString();
}

QString optionalText(const DataSource& data, const QString& name) {
    const QVariant value = data.field(name);
    return value.isNull() ? QString() : value.toString();
}

// Reads the current row of a batch; false when a required field is Null or not a number.
bool readCard(const DataSource& data, PracticeCard& card) {
    const auto key = intField(data, QStringLiteral("key"));
    const auto times = intField(data, QStringLiteral("times"));
    const auto word = requiredText(data, QStringLiteral("word"));
    const auto images = requiredText(data, QStringLiteral("images"));
    const auto voice = requiredText(data, QStringLiteral("voice"));
    if (key)
        card.key = *key;
    if (!key || *key <= 0 || !times || *times < 0 || !word || !images || !voice)
        return false;
    card.times = *times;
    card.word = *word;
    card.images = *images;
    card.voice = *voice;
    card.meaning = optionalText(data, QStringLiteral("meaning"));
    card.text1 = optionalText(data, QStringLiteral("text1"));
    card.text2 = optionalText(data, QStringLiteral("text2"));
    return true;
}

// True when two reads show the same word: every text the card shows or plays.
bool sameWord(const PracticeCard& a, const PracticeCard& b) {
    return a.word == b.word && a.meaning == b.meaning && a.images == b.images &&
           a.voice == b.voice && a.text1 == b.text1 && a.text2 == b.text2;
}

// True when the current row of data holds the card's word.
bool sameWord(const DataSource& data, const PracticeCard& card) {
    PracticeCard row;
    return readCard(data, row) && sameWord(row, card);
}

} // namespace

PracticeDrill::PracticeDrill(Shared shared, Events& events, quint32 seed)
    : shared_(shared)
    , events_(events)
    , random_(seed) {
    s_.ScreenOrder.fill(-1);
    s_.Faces.fill(Face::Picture);
}

int PracticeDrill::NextLevel(int level, bool ok, qint32 times) {
    switch (level) {
    case 0:
        return ok ? 1 : 5;
    case 1:
        return ok ? 1 : 2;
    case 2:
        return ok ? 1 : 3;
    case 3:
        return ok ? 2 : 4;
    case 4:
        return ok ? 3 : 5;
    case 5:
        return ok ? (times == 1 ? 1 : 4) : 5;
    default:
        return level;
    }
}

void PracticeDrill::Form_Load() {
    s_.LastKey = 0;
    ResetLevelButtons();
    ClearCards();
}

bool PracticeDrill::Form_Activate() {
    if (shared_.DialogOpen) {
        shared_.DialogOpen = false;
        return false;
    }
    HandlerScope scope(this, QStringLiteral("Form_Activate"));
    WordDataFile::closeIfReplaced(shared_.DataFilePath); // a deck rebuilt meanwhile is read anew
    ResetLevelButtons();
    ClearCards();
    s_.LevelCounts.fill(0);
    LoadLevelTallies();
    if (shared_.LevelChosen)
        BT_level_Click(shared_.SelectedLevel);
    return true;
}

void PracticeDrill::ResetLevelButtons() {
    s_.LevelEnabled.fill(false);
    s_.LevelCountShown.fill(false);
    s_.HighlightedLevel = -1;
    s_.NextShown = false;
}

void PracticeDrill::ClearCards() {
    s_.ScreenCards.fill(PracticeCard());
    s_.ScreenOrder.fill(-1);
    s_.GradedFlags.fill(false);
    s_.Faces.fill(Face::Picture);
}

void PracticeDrill::LoadLevelTallies() {
    HandlerScope scope(this, QStringLiteral("LoadLevelTallies"));
    std::array<int, LevelCount> counts{};
    std::array<bool, LevelCount> present{};
    bool wrongRow = false;
    try {
        Data1.setDatabaseName(shared_.DataFilePath);
        Data1.setRecordSource(QString(WordDataFormat::RecordSource::syukei2));
        Data1.Refresh();
        while (!Data1.Eof()) {
            const auto level = intField(Data1, QStringLiteral("level"));
            const auto count = intField(Data1, QStringLiteral("count"));
            if (level && validLevel(*level) && count && *count >= 0) {
                counts[*level] += *count;
                present[*level] = true;
            } else {
                wrongRow = true; // skipped; the other levels still count
            }
            Data1.MoveNext();
        }
    } catch (const DataError&) {
        report(Message::WrongData); // the tallies stay as they were
        return;
    }
    s_.LevelCounts = counts;
    s_.LevelEnabled = present;
    s_.LevelCountShown = present;
    if (wrongRow)
        report(Message::WrongData);
}

void PracticeDrill::BT_level_Click(int index) {
    HandlerScope scope(this, QStringLiteral("BT_level_Click"));
    if (!validLevel(index))
        return;
    s_.LastKey = 0;
    shared_.LevelChosen = true;
    shared_.SelectedLevel = static_cast<qint16>(index);
    s_.RemainingInLevel = s_.LevelCounts[index];
    s_.FinishShown = false;
    s_.SaveFailureShown = false;
    s_.NextShown = false;
    s_.HighlightedLevel = index;
    LoadBatch();
    // Cards of the level chosen before must not stay: they would be graded from this level.
    if (s_.BatchCount == 0)
        ClearCards();
    else
        LayOutBatch();
}

void PracticeDrill::LoadBatch() {
    HandlerScope scope(this, QStringLiteral("LoadBatch"));
    std::array<PracticeCard, BatchSize> batch{};
    int count = 0;
    int skipped = 0;
    qint32 lastKey = s_.LastKey;
    try {
        Data2.setDatabaseName(shared_.DataFilePath);
        Data2.setRecordSource(Statements::levelWordsAfter(shared_.SelectedLevel, s_.LastKey));
        Data2.Refresh();
        while (count < BatchSize && !Data2.Eof()) {
            PracticeCard card;
            const bool good = readCard(Data2, card);
            if (card.key > lastKey)
                lastKey = card.key;
            if (good)
                batch[count++] = card;
            else
                ++skipped; // the row leaves this pass ungraded
            Data2.MoveNext();
        }
    } catch (const DataError&) {
        report(Message::WrongData);
        ClearCards();
        s_.BatchCount = 0;
        s_.CardsOnScreen = 0;
        return;
    }
    batchAfterKey_ = s_.LastKey;
    s_.LastKey = lastKey;
    s_.RemainingInLevel -= skipped;
    if (skipped > 0)
        report(Message::WrongData);
    s_.BatchCount = count;
    s_.CardsOnScreen = count;
    if (count == 0) {
        // The cards on screen, if any, keep their words so that they can still be restored.
        report(Message::LevelFinished);
        return;
    }
    s_.LoadedBatch = batch;
    s_.ShufflePool.fill(PracticeCard());
    s_.GradedFlags.fill(false);
}

void PracticeDrill::LayOutBatch() {
    const int n = s_.BatchCount;
    if (n == 0)
        return;
    ClearCards();
    std::array<int, BatchSize> pool{};
    for (int i = 0; i < n; ++i) {
        pool[i] = i;
        s_.ShufflePool[i] = s_.LoadedBatch[i];
    }
    if (shared_.PracticeMode) {
        for (int p = 0; p < n; ++p)
            s_.ScreenOrder[p] = p;
    } else {
        // Take a random card out of the pool for each position in turn. One generator, seeded
        // once: reseeding from the clock for every draw would give nearly equal draws.
        int left = n;
        for (int p = 0; p < n; ++p) {
            const int i = qMin(static_cast<int>(random_.generateDouble() * left), left - 1);
            s_.ScreenOrder[p] = pool[i];
            for (int j = i; j < left - 1; ++j) {
                pool[j] = pool[j + 1];
                s_.ShufflePool[j] = s_.ShufflePool[j + 1];
            }
            --left;
        }
    }
    for (int p = 0; p < n; ++p) {
        s_.ScreenCards[p] = s_.LoadedBatch[s_.ScreenOrder[p]];
        s_.GradedFlags[p] = s_.ScreenCards[p].graded;
    }
}

void PracticeDrill::BT_next_Click() {
    HandlerScope scope(this, QStringLiteral("BT_next_Click"));
    LoadBatch();
    LayOutBatch();
    s_.NextShown = false;
}

void PracticeDrill::BT_mode_Click(int index) {
    HandlerScope scope(this, QStringLiteral("BT_mode_Click"));
    if (index != modeButton())
        return; // the other button is hidden
    shared_.PracticeMode = (index == 1);
    if (shared_.LevelChosen)
        LayOutBatch();
}

bool PracticeDrill::isOpen(int position) const {
    return position >= 0 && position < BatchSize && s_.ScreenOrder[position] >= 0;
}

void PracticeDrill::setMark(int position, qint32 mark) {
    s_.ScreenCards[position].mark = mark;
    s_.LoadedBatch[s_.ScreenOrder[position]].mark = mark;
}

void PracticeDrill::setCleared(int position, bool cleared) {
    s_.ScreenCards[position].cleared = cleared;
    s_.LoadedBatch[s_.ScreenOrder[position]].cleared = cleared;
}

void PracticeDrill::BT_OK_Click(int position) {
    HandlerScope scope(this, QStringLiteral("BT_OK_Click"));
    if (!isOpen(position))
        return;
    if (s_.ScreenCards[position].cleared) {
        // Brought back: the word labels come up over the picture, as the card was graded.
        setCleared(position, false);
        s_.Faces[position] = Face::Word;
        ++s_.CardsOnScreen;
        return;
    }
    setCleared(position, true);
    setMark(position, PracticeCard::OkMark);
    // Written first: loading a slow sound file must never delay or lose the grading.
    if (!s_.GradedFlags[position])
        grade(position, true);
    events_.playEffect(Effect::Ok);
    --s_.CardsOnScreen;
    if (s_.CardsOnScreen < 1 && s_.RemainingInLevel > 0)
        s_.NextShown = true;
    if (s_.RemainingInLevel <= 0 && !s_.FinishShown && s_.CardsOnScreen == 0) {
        report(Message::LevelFinished);
        LoadLevelTallies();
        s_.FinishShown = true;
    }
}

void PracticeDrill::BT_NG_Click(int position) {
    HandlerScope scope(this, QStringLiteral("BT_NG_Click"));
    if (!isOpen(position) || s_.ScreenCards[position].mark == PracticeCard::OkMark)
        return; // no NG button on a card cleared or brought back
    s_.Faces[position] = Face::Picture;
    setMark(position, PracticeCard::NgMark);
    if (!s_.GradedFlags[position])
        grade(position, false);
    events_.playEffect(Effect::Ng);
}

void PracticeDrill::Im_word_Click(int position) {
    if (cardView(position).picture)
        s_.Faces[position] = Face::Word;
}

void PracticeDrill::LB_word_Click(int position) {
    if (cardView(position).wordLabels)
        s_.Faces[position] = Face::Picture;
}

void PracticeDrill::grade(int position, bool ok) {
    const PracticeCard card = s_.ScreenCards[position];
    const int level = shared_.SelectedLevel;
    const int newLevel = NextLevel(level, ok, card.times);
    const Written written = writeGrading(position, newLevel);
    if (written != Written::WordGone)
        s_.SaveFailing = written == Written::Failed;
    // A failed write moves nothing: the tallies and the words left show what the file holds,
    // and the card is not marked graded, so a later click on it tries the write again.
    if (written == Written::Failed)
        return;
    // A word that is no longer in the file moves no tally but leaves the pass.
    if (written == Written::Yes && newLevel != level) {
        ++s_.LevelCounts[newLevel];
        --s_.LevelCounts[level];
        s_.LevelCountShown[newLevel] = true;
        s_.LevelCountShown[level] = true;
        s_.LevelEnabled[newLevel] = true;
        if (s_.LevelCounts[level] < 1)
            s_.LevelEnabled[level] = false;
    }
    --s_.RemainingInLevel;
    s_.GradedFlags[position] = true;
    s_.ScreenCards[position].graded = true;
    s_.LoadedBatch[s_.ScreenOrder[position]].graded = true;
}

// Writes the word's new level (when it changes) and times to the word the card shows. The
// deck maker may have moved words (two words trade keys), changed or removed them since the
// batch was read: the row under the card's key is checked to be the card's word first.
PracticeDrill::Written PracticeDrill::writeGrading(int position, int newLevel) {
    DataSource* data = &Data2;
    try {
        if (s_.ScreenCards[position].gone)
            return Written::WordGone;
        // The batch only: reading the rest of the level before the write took milliseconds.
        Data2.setRecordSource(
            Statements::levelWordsBetween(shared_.SelectedLevel, batchAfterKey_, s_.LastKey));
        Data2.Refresh();
        Data2.FindFirst(QStringLiteral("key = %1").arg(s_.ScreenCards[position].key));
        if (Data2.NoMatch() || !sameWord(Data2, s_.ScreenCards[position])) {
            findBatchWordsAgain();
            const PracticeCard& card = s_.ScreenCards[position];
            if (card.gone)
                return Written::WordGone;
            data = &levelWords_;
            levelWords_.FindFirst(QStringLiteral("key = %1").arg(card.key));
            if (levelWords_.NoMatch())
                return Written::WordGone;
        }
        const PracticeCard& card = s_.ScreenCards[position];
        data->Edit();
        if (newLevel != shared_.SelectedLevel)
            data->setField(QStringLiteral("level"), newLevel);
        const qint64 times =
            qMin<qint64>(qint64(card.times) + 1, std::numeric_limits<qint32>::max());
        data->setField(QStringLiteral("times"), times);
        data->Update();
        return Written::Yes;
    } catch (const DataError&) {
        if (data->isEditing())
            data->CancelUpdate();
        if (!s_.SaveFailureShown) {
            s_.SaveFailureShown = true;
            report(Message::SaveFailed);
        }
        return Written::Failed;
    }
}

// Reads the chosen level again and gives every ungraded card of the batch the key its word
// has now, or marks it gone when the word is no longer there as it was read. Of two equal
// words, the one with the card's count is taken first.
void PracticeDrill::findBatchWordsAgain() {
    levelWords_.setDatabaseName(shared_.DataFilePath);
    levelWords_.setRecordSource(Statements::levelWordsAfter(shared_.SelectedLevel, 0));
    levelWords_.Refresh();
    QSet<QString> batchWords;
    for (int i = 0; i < s_.BatchCount; ++i)
        batchWords.insert(s_.LoadedBatch[i].word);
    QList<PracticeCard> candidates;
    while (!levelWords_.Eof()) {
        PracticeCard row;
        if (batchWords.contains(levelWords_.field(QStringLiteral("word")).toString()) &&
            readCard(levelWords_, row))
            candidates.append(row);
        levelWords_.MoveNext();
    }
    QSet<qint32> taken;
    const auto find = [&](const PracticeCard& card, bool sameTimes) -> const PracticeCard* {
        for (const PracticeCard& row : candidates)
            if (!taken.contains(row.key) && sameWord(row, card) &&
                (!sameTimes || row.times == card.times))
                return &row;
        return nullptr;
    };
    for (int i = 0; i < s_.BatchCount; ++i) {
        PracticeCard& card = s_.LoadedBatch[i];
        if (card.graded || card.gone)
            continue;
        const PracticeCard* row = find(card, true);
        if (!row)
            row = find(card, false);
        if (row) {
            card.key = row->key;
            card.times = row->times;
            taken.insert(row->key);
        } else {
            card.gone = true;
        }
    }
    for (int p = 0; p < BatchSize; ++p) {
        if (s_.ScreenOrder[p] < 0)
            continue;
        const PracticeCard& loaded = s_.LoadedBatch[s_.ScreenOrder[p]];
        s_.ScreenCards[p].key = loaded.key;
        s_.ScreenCards[p].times = loaded.times;
        s_.ScreenCards[p].gone = loaded.gone;
    }
}

void PracticeDrill::report(Message message) {
    events_.showMessage(message, handler_);
}

PracticeDrill::CardView PracticeDrill::cardView(int position) const {
    CardView view;
    if (!isOpen(position))
        return view;
    const PracticeCard& card = s_.ScreenCards[position];
    view.present = true;
    view.okButton = true;
    if (card.cleared) {
        view.fill = Fill::Ok;
        return view;
    }
    view.picture = s_.Faces[position] == Face::Picture;
    view.wordLabels = !view.picture;
    view.details = true;
    view.voiceButton = true;
    view.ngButton = card.mark != PracticeCard::OkMark;
    view.fill = card.mark == PracticeCard::OkMark   ? Fill::Ok
                : card.mark == PracticeCard::NgMark ? Fill::Ng
                                                    : Fill::None;
    return view;
}
