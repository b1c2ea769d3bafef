#include "deckeditor.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <dataerror.h>
#include <enginequery.h>
#include <mediapath.h>
#include <pmldeck.h>
#include <utility>
#include <worddatafile.h>
#include <worddataformat.h>

namespace {

// Numbers a sub-group passes through while two trade places: above any real one, and still
// within the table's check (a number of 1 or more).
constexpr qint64 parkedSubGroup = 1000000000;

QString keyList(const QList<qint64>& keys) {
    QStringList numbers;
    for (const qint64 key : keys)
        numbers << QString::number(key);
    return numbers.join(u',');
}

// A readable file name from a word: "ice cream" -> "ice_cream". Characters that cannot be in a
// plain name, or that trouble other systems' file names, are left out.
QString nameFrom(const QString& text) {
    static const QRegularExpression unwanted(QStringLiteral("[^\\w\\-]+"));
    QString name = text.trimmed().toLower();
    name.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral("_"));
    name.remove(unwanted);
    return name.left(40);
}

// A required text as a value the engine stores: a null QString would be bound as Null.
QVariant required(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

DeckEditor::DeckEditor(const QString& path)
    : path_(QFileInfo(path).absoluteFilePath()) {
    reload();
    if (WordDataFile::isReadOnly(path_))
        return;
    const QSqlDatabase db = WordDataFile::connection(path_);
    if (scalarSql(db, QStringLiteral("PRAGMA user_version")).toInt() <
        WordDataFormat::formatVersion)
        change([](const QSqlDatabase& db) { WordDataFormat::upgrade(db); });
    undo_.clear(); // the upgrade is not the parent's to take back
}

DeckEditor::~DeckEditor() {
    WordDataFile::close(path_);
}

void DeckEditor::create(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        throw DataError(DataError::Reason::Misuse, QStringLiteral("%1 already exists").arg(path));
    QDir folder = info.absoluteDir();
    for (const QString& media : {QStringLiteral("images"), QStringLiteral("voice")})
        if (!folder.mkpath(media))
            throw DataError(
                DataError::Reason::Engine,
                QStringLiteral("%1: cannot create the folder").arg(folder.filePath(media)));
    if (const QString error = PmlDeck::write(Deck{}, folder.path(), info.absoluteFilePath());
        !error.isEmpty())
        throw DataError(DataError::Reason::Engine, error);
}

Deck DeckEditor::deckWithHistory() const {
    Deck deck = deck_;
    if (QFileInfo(path_).isFile()) {
        deck.history = PmlDeck::readHistory(WordDataFile::connection(path_));
        nameHistory(deck.history, deck.words);
    }
    return deck;
}

QString DeckEditor::folder() const {
    return QFileInfo(path_).absolutePath() + QDir::separator();
}

void DeckEditor::reload() {
    WordDataFile::closeIfReplaced(path_);
    deck_ = PmlDeck::readRows(WordDataFile::connection(path_));
}

Deck DeckEditor::transact(const std::function<void(const QSqlDatabase&, const Deck&)>& work) {
    WordDataFile::closeIfReplaced(path_);
    Deck after;
    try {
        WordDataFile::inTransaction(path_, [&] {
            const QSqlDatabase db = WordDataFile::connection(path_);
            work(db, PmlDeck::readRows(db));
            after = PmlDeck::readRows(db);
        });
    } catch (const DataError&) {
        try {
            reload();
        } catch (const DataError&) { // the first failure says more
        }
        throw;
    }
    deck_ = after;
    return after;
}

void DeckEditor::change(const std::function<void(const QSqlDatabase&)>& work) {
    DeckUndo::Step step;
    Deck before;
    try {
        QList<DeckHistory> written;
        const Deck after = transact([&](const QSqlDatabase& db, const Deck& rows) {
            before = rows;
            const qint64 mark = DeckUndo::historyMark(db);
            work(db);
            written = PmlDeck::readHistory(db, mark);
        });
        step = DeckUndo::difference(before, after);
        step.history = written;
    } catch (const DataError&) {
        // The files replaced for this change get their content back with the rows.
        DeckUndo::exchangeFiles(std::exchange(kept_, {}));
        swaps_.clear();
        throw;
    }
    step.files = std::exchange(kept_, {});
    step.swaps = std::exchange(swaps_, {});
    if (step.isEmpty())
        return;
    undo_.push_back(std::move(step));
    ++stepsMade_;
    if (undo_.size() > UndoDepth)
        undo_.erase(undo_.begin());
    redo_.clear();
}

void DeckEditor::asOneChange(const std::function<void()>& work) {
    const std::size_t before = stepsMade_;
    const auto mergeNew = [&] {
        for (std::size_t n = std::min(stepsMade_ - before, undo_.size()); n > 1; --n) {
            DeckUndo::Step later = std::move(undo_.back());
            undo_.pop_back();
            undo_.back() = DeckUndo::merged(undo_.back(), later);
        }
    };
    try {
        work();
    } catch (...) {
        mergeNew();
        throw;
    }
    mergeNew();
}

void DeckEditor::undo() {
    takeStep(undo_, redo_, true);
}

void DeckEditor::redo() {
    takeStep(redo_, undo_, false);
}

void DeckEditor::takeStep(std::vector<DeckUndo::Step>& from, std::vector<DeckUndo::Step>& to,
                          bool back) {
    if (from.empty())
        return;
    const DeckUndo::Step& step = from.back();
    transact([&](const QSqlDatabase& db, const Deck& rows) {
        const qint64 mark = DeckUndo::historyMark(db);
        DeckUndo::apply(db, back ? step.after : step.before, back ? step.before : step.after, rows);
        DeckUndo::applyHistory(db, step, back, mark);
    });
    DeckUndo::exchangeFiles(step.files);
    to.push_back(std::move(from.back()));
    from.pop_back();
}

void DeckEditor::keepForUndo(const QString& file) {
    if (!QFileInfo(file).isFile())
        return;
    if (!keptFolder_)
        keptFolder_ = std::make_unique<QTemporaryDir>();
    const QString earlier =
        keptFolder_->filePath(QString::number(++keptCount_) + u'-' + QFileInfo(file).fileName());
    QFile::remove(earlier);
    if (QFile::copy(file, earlier))
        kept_ << DeckUndo::KeptFile{QFileInfo(file).absoluteFilePath(), earlier};
}

const DeckGroup* DeckEditor::group(qint64 group) const {
    for (const DeckGroup& g : deck_.groups)
        if (g.group == group)
            return &g;
    return nullptr;
}

const DeckSubGroup* DeckEditor::subGroup(qint64 group, qint64 sgroup) const {
    for (const DeckSubGroup& s : deck_.subGroups)
        if (s.group == group && s.sgroup == sgroup)
            return &s;
    return nullptr;
}

const DeckWord* DeckEditor::word(qint64 key) const {
    for (const DeckWord& w : deck_.words)
        if (w.key == key)
            return &w;
    return nullptr;
}

QList<DeckSubGroup> DeckEditor::subGroupsOf(qint64 group) const {
    QList<DeckSubGroup> rows;
    for (const DeckSubGroup& s : deck_.subGroups)
        if (s.group == group)
            rows << s;
    return rows;
}

QList<DeckWord> DeckEditor::wordsOf(qint64 group, qint64 sgroup) const {
    QList<DeckWord> rows;
    for (const DeckWord& w : deck_.words)
        if (w.group == group && w.sgroup == sgroup)
            rows << w;
    return rows;
}

int DeckEditor::wordCount(qint64 group) const {
    return int(std::count_if(deck_.words.cbegin(), deck_.words.cend(),
                             [&](const DeckWord& w) { return w.group == group; }));
}

int DeckEditor::wordCount(qint64 group, qint64 sgroup) const {
    return int(std::count_if(deck_.words.cbegin(), deck_.words.cend(), [&](const DeckWord& w) {
        return w.group == group && w.sgroup == sgroup;
    }));
}

qint64 DeckEditor::freeSlot() const {
    for (qint64 slot = WordDataFormat::firstGroup; slot <= WordDataFormat::lastGroup; ++slot)
        if (!group(slot))
            return slot;
    return 0;
}

qint64 DeckEditor::addGroup(const QString& title) {
    const qint64 slot = freeSlot();
    if (slot == 0)
        throw DataError(DataError::Reason::Misuse, QStringLiteral("all six groups are taken"));
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral("INSERT INTO \"tittle\" (\"group\", \"tittle\", \"ttlimage\","
                              " \"setmei\") VALUES (?, ?, '', '')"),
               {slot, required(title)});
    });
    return slot;
}

void DeckEditor::setGroupTexts(qint64 group, const QString& title, const QString& description) {
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral(
                   "UPDATE \"tittle\" SET \"tittle\" = ?, \"setmei\" = ? WHERE \"group\" = ?"),
               {required(title), required(description), group});
    });
}

void DeckEditor::setGroupPicture(qint64 group, const QString& name) {
    change([&](const QSqlDatabase& db) {
        runSql(db, QStringLiteral("UPDATE \"tittle\" SET \"ttlimage\" = ? WHERE \"group\" = ?"),
               {required(name), group});
    });
}

void DeckEditor::removeGroup(qint64 group) {
    change([&](const QSqlDatabase& db) {
        for (const QLatin1StringView table :
             {WordDataFormat::wordTable, WordDataFormat::subGroupTable, WordDataFormat::groupTable})
            runSql(db, QStringLiteral("DELETE FROM %1 WHERE \"group\" = ?").arg(quoted(table)),
                   {group});
    });
}

qint64 DeckEditor::moveGroup(qint64 from, int step) {
    const qint64 to = from + (step < 0 ? -1 : 1);
    if (!group(from) || to < WordDataFormat::firstGroup || to > WordDataFormat::lastGroup)
        return from;
    const bool trade = group(to) != nullptr;
    change([&](const QSqlDatabase& db) {
        // The slot is the group table's key, checked to lie in 1..6: two groups trade their
        // texts rather than their numbers.
        if (trade) {
            const QString texts = QStringLiteral(
                "SELECT \"tittle\", \"ttlimage\", \"setmei\" FROM \"tittle\" WHERE \"group\" = ?");
            const QString write =
                QStringLiteral("UPDATE \"tittle\" SET \"tittle\" = ?,"
                               " \"ttlimage\" = ?, \"setmei\" = ? WHERE \"group\" = ?");
            QSqlQuery first = runSql(db, texts, {from});
            QSqlQuery second = runSql(db, texts, {to});
            if (!first.next() || !second.next())
                throw DataError(DataError::Reason::NoCurrentRow,
                                QStringLiteral("group %1 or %2 is gone").arg(from).arg(to));
            const QVariantList fromTexts{first.value(0), first.value(1), first.value(2)};
            const QVariantList toTexts{second.value(0), second.value(1), second.value(2)};
            first.finish();
            second.finish();
            runSql(db, write, toTexts + QVariantList{from});
            runSql(db, write, fromTexts + QVariantList{to});
        } else {
            runSql(db, QStringLiteral("UPDATE \"tittle\" SET \"group\" = ? WHERE \"group\" = ?"),
                   {to, from});
        }
        // Sub-groups are keyed by (group, number): the moving group's are parked above every
        // real number first.
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"sgroup\" = \"sgroup\" + ?,"
                              " \"group\" = ? WHERE \"group\" = ?"),
               {parkedSubGroup, to, from});
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"group\" = ? WHERE \"group\" = ?"
                              " AND \"sgroup\" < ?"),
               {from, to, parkedSubGroup});
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"sgroup\" = \"sgroup\" - ?"
                              " WHERE \"group\" = ? AND \"sgroup\" > ?"),
               {parkedSubGroup, to, parkedSubGroup});
        runSql(db,
               QStringLiteral("UPDATE \"word\" SET \"group\" = CASE \"group\" WHEN ? THEN ?"
                              " ELSE ? END WHERE \"group\" IN (?, ?)"),
               {from, to, from, from, to});
    });
    return to;
}

qint64 DeckEditor::addSubGroup(qint64 group) {
    qint64 number = 1;
    for (const DeckSubGroup& s : subGroupsOf(group))
        number = std::max(number, s.sgroup + 1);
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral("INSERT INTO \"subgroup\" (\"group\", \"sgroup\", \"images\")"
                              " VALUES (?, ?, '')"),
               {group, number});
    });
    return number;
}

void DeckEditor::setSubGroupPicture(qint64 group, qint64 sgroup, const QString& name) {
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"images\" = ? WHERE \"group\" = ?"
                              " AND \"sgroup\" = ?"),
               {required(name), group, sgroup});
    });
}

void DeckEditor::removeSubGroup(qint64 group, qint64 sgroup) {
    change([&](const QSqlDatabase& db) {
        for (const QLatin1StringView table :
             {WordDataFormat::wordTable, WordDataFormat::subGroupTable})
            runSql(db,
                   QStringLiteral("DELETE FROM %1 WHERE \"group\" = ? AND \"sgroup\" = ?")
                       .arg(quoted(table)),
                   {group, sgroup});
    });
}

qint64 DeckEditor::moveSubGroup(qint64 group, qint64 sgroup, int step) {
    const QList<DeckSubGroup> rows = subGroupsOf(group);
    const auto at = std::find_if(rows.cbegin(), rows.cend(),
                                 [&](const DeckSubGroup& s) { return s.sgroup == sgroup; });
    if (at == rows.cend())
        return sgroup;
    const qsizetype index = (at - rows.cbegin()) + (step < 0 ? -1 : 1);
    if (index < 0 || index >= rows.size())
        return sgroup;
    const qint64 other = rows.at(index).sgroup;
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"sgroup\" = \"sgroup\" + ?"
                              " WHERE \"group\" = ? AND \"sgroup\" IN (?, ?)"),
               {parkedSubGroup, group, sgroup, other});
        runSql(db,
               QStringLiteral("UPDATE \"subgroup\" SET \"sgroup\" = CASE \"sgroup\" WHEN ? THEN ?"
                              " ELSE ? END WHERE \"group\" = ? AND \"sgroup\" > ?"),
               {sgroup + parkedSubGroup, other, sgroup, group, parkedSubGroup});
        runSql(db,
               QStringLiteral("UPDATE \"word\" SET \"sgroup\" = CASE \"sgroup\" WHEN ? THEN ?"
                              " ELSE ? END WHERE \"group\" = ? AND \"sgroup\" IN (?, ?)"),
               {sgroup, other, sgroup, group, sgroup, other});
    });
    return other;
}

qint64 DeckEditor::addWord(qint64 group, qint64 sgroup, const WordTexts& texts) {
    if (!subGroup(group, sgroup))
        throw DataError(DataError::Reason::NoCurrentRow,
                        QStringLiteral("sub-group %1-%2 is gone").arg(group).arg(sgroup));
    qint64 key = 0;
    change([&](const QSqlDatabase& db) {
        key = WordDataFormat::nextKey(db);
        const auto optional = [](const QString& text) {
            return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
        };
        runSql(db,
               QStringLiteral("INSERT INTO \"word\" (\"key\", \"group\", \"sgroup\", \"word\","
                              " \"meaning\", \"images\", \"voice\", \"text1\", \"text2\")"
                              " VALUES (?, ?, ?, ?, ?, '', '', ?, ?)"),
               {key, group, sgroup, required(texts.word), optional(texts.meaning),
                optional(texts.text1), optional(texts.text2)});
    });
    return key;
}

void DeckEditor::setWordTexts(qint64 key, const WordTexts& texts) {
    change([&](const QSqlDatabase& db) {
        // Empty optional texts are stored as Null, as every writer of the format does.
        runSql(db,
               QStringLiteral("UPDATE \"word\" SET \"word\" = ?, \"meaning\" = nullif(?, ''),"
                              " \"text1\" = nullif(?, ''), \"text2\" = nullif(?, '')"
                              " WHERE \"key\" = ?"),
               {required(texts.word), texts.meaning, texts.text1, texts.text2, key});
    });
}

void DeckEditor::setWordPicture(qint64 key, const QString& name) {
    change([&](const QSqlDatabase& db) {
        runSql(db, QStringLiteral("UPDATE \"word\" SET \"images\" = ? WHERE \"key\" = ?"),
               {required(name), key});
    });
}

void DeckEditor::setWordVoice(qint64 key, const QString& name) {
    change([&](const QSqlDatabase& db) {
        runSql(db, QStringLiteral("UPDATE \"word\" SET \"voice\" = ? WHERE \"key\" = ?"),
               {required(name), key});
    });
}

void DeckEditor::removeWords(const QList<qint64>& keys) {
    if (keys.isEmpty())
        return;
    change([&](const QSqlDatabase& db) {
        runSql(db, QStringLiteral("DELETE FROM \"word\" WHERE \"key\" IN (%1)").arg(keyList(keys)));
    });
}

qint64 DeckEditor::moveWord(qint64 key, int step) {
    const DeckWord* moving = word(key);
    if (!moving)
        return key;
    const QList<DeckWord> rows = wordsOf(moving->group, moving->sgroup);
    const auto at =
        std::find_if(rows.cbegin(), rows.cend(), [&](const DeckWord& w) { return w.key == key; });
    const qsizetype index = (at - rows.cbegin()) + (step < 0 ? -1 : 1);
    if (index < 0 || index >= rows.size())
        return key;
    const qint64 other = rows.at(index).key;
    change([&](const QSqlDatabase& db) {
        // Parked on a key no word or record has held (a removed word's history keeps its key):
        // an update changes no key mark.
        const qint64 parked = WordDataFormat::nextKey(db);
        const QString rekey = QStringLiteral("UPDATE \"word\" SET \"key\" = ? WHERE \"key\" = ?");
        runSql(db, rekey, {parked, key});
        runSql(db, rekey, {key, other});
        runSql(db, rekey, {other, parked});
        swaps_ << DeckUndo::KeySwap{key, other};
    });
    return other;
}

void DeckEditor::moveWordsTo(const QList<qint64>& keys, qint64 group, qint64 sgroup) {
    if (keys.isEmpty())
        return;
    if (!subGroup(group, sgroup))
        throw DataError(DataError::Reason::Misuse,
                        QStringLiteral("%1: no sub-group %2-%3").arg(path_).arg(group).arg(sgroup));
    change([&](const QSqlDatabase& db) {
        runSql(db,
               QStringLiteral("UPDATE \"word\" SET \"group\" = ?, \"sgroup\" = ?"
                              " WHERE \"key\" IN (%1)")
                   .arg(keyList(keys)),
               {group, sgroup});
    });
}

void DeckEditor::resetWords(const QList<qint64>& keys) {
    if (keys.isEmpty())
        return;
    change([&](const QSqlDatabase& db) {
        WordDataFormat::ensureHistory(db);
        runSql(db, QStringLiteral("UPDATE \"word\" SET \"level\" = 0, \"times\" = 0"
                                  " WHERE \"key\" IN (%1)")
                       .arg(keyList(keys)));
    });
}

QString DeckEditor::mediaNameFor(Media media, const QString& current, const QString& base) const {
    QSet<QString> used;
    int usersOfCurrent = 0;
    const auto note = [&](const QString& name) {
        used.insert(name.toLower());
        if (name == current)
            ++usersOfCurrent;
    };
    for (const DeckWord& w : deck_.words)
        note(media == Media::Picture ? w.images : w.voice);
    if (media == Media::Picture) {
        for (const DeckGroup& g : deck_.groups)
            note(g.ttlimage);
        for (const DeckSubGroup& s : deck_.subGroups)
            note(s.images);
    }
    if (MediaPath::isPlainName(current) && usersOfCurrent == 1)
        return current;
    QString stem = nameFrom(base);
    if (stem.isEmpty())
        stem = media == Media::Picture ? QStringLiteral("picture") : QStringLiteral("voice");
    const auto fileOf = [&](const QString& name) {
        return media == Media::Picture ? MediaPath::findPicture(folder(), name)
                                       : MediaPath::findVoice(folder(), name);
    };
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(n);
        if (!used.contains(name.toLower()) && !QFileInfo::exists(fileOf(name)))
            return name;
    }
}
