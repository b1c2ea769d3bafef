// The practice drill's rules, run on small word-data files without widgets.
#include "deckfixture.h"
#include "practicedrill.h"
#include "worddatafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <set>

using Message = PracticeDrill::Message;

namespace {

struct RecordingEvents : PracticeDrill::Events {
    void showMessage(Message message, const QString& handler) override {
        messages.append({message, handler});
    }
    void playEffect(PracticeDrill::Effect effect) override {
        effects.append(effect);
        if (onEffect)
            onEffect();
    }
    std::function<void()> onEffect; // what the file holds when the sound starts
    QList<Message> kinds() const {
        QList<Message> result;
        for (const auto& [message, handler] : messages)
            result.append(message);
        return result;
    }
    QList<std::pair<Message, QString>> messages;
    QList<PracticeDrill::Effect> effects;
};

// A word's level and times as stored, "level times"; empty when the word is not there.
QString stored(const QString& path, int key) {
    return DeckFixture::scalar(
               path,
               QStringLiteral("SELECT level || ' ' || times FROM word WHERE key = %1").arg(key))
        .toString();
}

// select_word as the schema defines it, with one field's expression replaced, and its trigger.
QStringList redefinedSelectWord(const QString& field, const QString& expression) {
    QStringList columns{
        QStringLiteral("key"),     QStringLiteral("level"),   QStringLiteral("times"),
        QStringLiteral("word"),    QStringLiteral("meaning"), QStringLiteral("images"),
        QStringLiteral("voice"),   QStringLiteral("text1"),   QStringLiteral("text2"),
        QStringLiteral("filler1"), QStringLiteral("filler2"), QStringLiteral("filler3")};
    for (QString& column : columns)
        column = (column == field ? expression : QStringLiteral("w.\"%1\"").arg(column)) +
                 QStringLiteral(" AS \"%1\"").arg(column);
    return {
        QStringLiteral("DROP VIEW \"select_word\""),
        QStringLiteral("CREATE VIEW \"select_word\" AS SELECT ") +
            columns.join(QStringLiteral(", ")) +
            QStringLiteral(" FROM \"subgroup\" s CROSS JOIN \"word\" w ON w.\"group\" = s.\"group\""
                           " AND w.\"sgroup\" = s.\"sgroup\" WHERE s.\"select\" = 1"),
        QStringLiteral(
            "CREATE TRIGGER \"select_word_update\" INSTEAD OF UPDATE ON \"select_word\" BEGIN"
            " UPDATE \"word\" SET \"level\" = NEW.\"level\", \"times\" = NEW.\"times\""
            " WHERE \"key\" = OLD.\"key\"; END")};
}

} // namespace

class TestPracticeDrill : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path_;
    qint16 selectedLevel_ = 0;
    bool levelChosen_ = false;
    bool practiceMode_ = true;
    bool dialogOpen_ = false;
    RecordingEvents events_;
    std::unique_ptr<PracticeDrill> drill_;

    // A deck whose marked sub-group holds the given words; a second, unmarked sub-group holds
    // words that the drill must never see or touch.
    void writeDeck(const QList<DeckFixture::Word>& words) {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2, false);
        for (const DeckFixture::Word& word : words)
            deck.word(word);
        deck.words(1, 2, 0, 3, 1000);
        deck.write(path_);
    }
    void writeLevel(int level, int count) {
        QList<DeckFixture::Word> words;
        for (int key = 1; key <= count; ++key)
            words.append({.key = key, .level = level});
        writeDeck(words);
    }
    PracticeDrill& start() {
        drill_ = std::make_unique<PracticeDrill>(
            PracticeDrill::Shared{path_, selectedLevel_, levelChosen_, practiceMode_, dialogOpen_},
            events_, 20240611u);
        drill_->Form_Load();
        drill_->Form_Activate();
        return *drill_;
    }
    const PracticeDrill::State& state() const { return drill_->state(); }
    int positionOf(int key) const {
        for (int p = 0; p < PracticeDrill::BatchSize; ++p)
            if (drill_->cardView(p).present && state().ScreenCards[p].key == key)
                return p;
        return -1;
    }
    QList<int> screenKeys() const {
        QList<int> keys;
        for (int p = 0; p < PracticeDrill::BatchSize; ++p)
            if (drill_->cardView(p).present)
                keys.append(state().ScreenCards[p].key);
        return keys;
    }

  private slots:
    void init() {
        path_ =
            dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                          QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pml"));
        QFile::remove(path_);
        selectedLevel_ = 0;
        levelChosen_ = false;
        practiceMode_ = true;
        dialogOpen_ = false;
        events_ = {};
    }
    void cleanup() {
        drill_.reset();
        WordDataFile::closeAll();
    }

    void grading_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("times");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("newLevel");
        QTest::newRow("0 OK") << 0 << 0 << true << 1;
        QTest::newRow("0 NG") << 0 << 0 << false << 5;
        QTest::newRow("1 OK stays") << 1 << 2 << true << 1;
        QTest::newRow("1 NG") << 1 << 2 << false << 2;
        QTest::newRow("2 OK") << 2 << 2 << true << 1;
        QTest::newRow("2 NG") << 2 << 2 << false << 3;
        QTest::newRow("3 OK") << 3 << 2 << true << 2;
        QTest::newRow("3 NG") << 3 << 2 << false << 4;
        QTest::newRow("4 OK") << 4 << 2 << true << 3;
        QTest::newRow("4 NG") << 4 << 2 << false << 5;
        QTest::newRow("5 OK, seen once") << 5 << 1 << true << 1;
        QTest::newRow("5 OK, seen twice") << 5 << 2 << true << 4;
        QTest::newRow("5 OK, never graded") << 5 << 0 << true << 4;
        QTest::newRow("5 NG stays") << 5 << 1 << false << 5;
    }
    // One grading: the file, the tallies and the level buttons follow the transition table.
    void grading() {
        QFETCH(int, level);
        QFETCH(int, times);
        QFETCH(bool, ok);
        QFETCH(int, newLevel);
        writeDeck({{.key = 7, .level = level, .times = times}});
        PracticeDrill& drill = start();
        drill.BT_level_Click(level);
        // The grading is in the file before its sound starts: a slow sound never delays it.
        QString atSound;
        events_.onEffect = [&] { atSound = stored(path_, 7); };
        ok ? drill.BT_OK_Click(0) : drill.BT_NG_Click(0);
        events_.onEffect = nullptr;
        QCOMPARE(atSound, QStringLiteral("%1 %2").arg(newLevel).arg(times + 1));
        QCOMPARE(stored(path_, 7), QStringLiteral("%1 %2").arg(newLevel).arg(times + 1));
        QCOMPARE(stored(path_, 1000), QStringLiteral("0 0")); // an unmarked word is untouched
        QCOMPARE(state().RemainingInLevel, 0);
        QCOMPARE(state().LevelCounts[level], newLevel == level ? 1 : 0);
        QCOMPARE(state().LevelCounts[newLevel], 1);
        QVERIFY(state().LevelEnabled[newLevel] && state().LevelCountShown[newLevel]);
        // The emptied level's button goes off.
        QCOMPARE(state().LevelEnabled[level], newLevel == level);
    }

    // Ten words: nine cards, "Next ⇒" when they are all cleared, then one card and the end.
    void batchOfTen() {
        writeLevel(0, 10);
        PracticeDrill& drill = start();
        drill.BT_level_Click(0);
        QCOMPARE(state().BatchCount, 9);
        QCOMPARE(screenKeys(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QCOMPARE(state().LastKey, 9);
        for (int p = 0; p < 9; ++p) {
            QVERIFY(!state().NextShown);
            drill.BT_OK_Click(p);
            QCOMPARE(state().CardsOnScreen, 8 - p);
        }
        QVERIFY(state().NextShown);
        QVERIFY(events_.messages.isEmpty());

        drill.BT_next_Click();
        QVERIFY(!state().NextShown);
        QCOMPARE(screenKeys(), QList<int>{10});
        QVERIFY(!drill.cardView(1).present);
        drill.BT_OK_Click(0);
        QCOMPARE(events_.kinds(), QList<Message>{Message::LevelFinished});
        QCOMPARE(events_.messages.first().second, QStringLiteral("BT_OK_Click"));
        QVERIFY(!state().NextShown);
        QVERIFY(state().FinishShown);
        // The tallies were read again from the file.
        QCOMPARE(state().LevelCounts[0], 0);
        QCOMPARE(state().LevelCounts[1], 10);
        QVERIFY(!state().LevelEnabled[0]);
        QCOMPARE(state().HighlightedLevel, 0);

        // Brought back and cleared again: no second message, no "Next ⇒".
        drill.BT_OK_Click(0);
        QCOMPARE(state().CardsOnScreen, 1);
        QVERIFY(!drill.cardView(0).ngButton);
        drill.BT_OK_Click(0);
        QCOMPARE(state().CardsOnScreen, 0);
        QCOMPARE(events_.messages.size(), 1);
        QVERIFY(!state().NextShown);
        QCOMPARE(stored(path_, 10), QStringLiteral("1 1"));
    }

    // NG grades but never clears; the OK after it clears without a second write.
    void ngNeverEndsABatch() {
        writeLevel(0, 2);
        PracticeDrill& drill = start();
        drill.BT_level_Click(0);
        drill.BT_OK_Click(0);
        drill.BT_NG_Click(1); // grades the last ungraded word
        QCOMPARE(state().RemainingInLevel, 0);
        QCOMPARE(state().CardsOnScreen, 1);
        QVERIFY(!state().NextShown);
        QVERIFY(events_.messages.isEmpty());
        drill.BT_NG_Click(1);
        QCOMPARE(events_.effects.size(), 3); // every press sounds
        drill.BT_OK_Click(1);
        QCOMPARE(stored(path_, 2), QStringLiteral("5 1"));
        QCOMPARE(events_.kinds(), QList<Message>{Message::LevelFinished});
    }

    void cardStates_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("shown"); // P picture, W word labels, D details, O K N V buttons
        QTest::addColumn<int>("fill");
        const int none = int(PracticeDrill::Fill::None), ok = int(PracticeDrill::Fill::Ok),
                  ng = int(PracticeDrill::Fill::Ng);
        QTest::newRow("open") << QStringLiteral("") << QStringLiteral("PDOKNV") << none;
        QTest::newRow("open, word side") << QStringLiteral("p") << QStringLiteral("WDOKNV") << none;
        QTest::newRow("turned back") << QStringLiteral("pl") << QStringLiteral("PDOKNV") << none;
        QTest::newRow("NG from word side")
            << QStringLiteral("pn") << QStringLiteral("PDOKNV") << ng;
        QTest::newRow("NG, word side") << QStringLiteral("npp") << QStringLiteral("WDOKNV") << ng;
        QTest::newRow("cleared") << QStringLiteral("o") << QStringLiteral("OK") << ok;
        QTest::newRow("cleared after NG") << QStringLiteral("no") << QStringLiteral("OK") << ok;
        QTest::newRow("cleared: picture does nothing")
            << QStringLiteral("op") << QStringLiteral("OK") << ok;
        QTest::newRow("cleared: NG does nothing")
            << QStringLiteral("on") << QStringLiteral("OK") << ok;
        QTest::newRow("restored") << QStringLiteral("oo") << QStringLiteral("WDOKV") << ok;
        QTest::newRow("restored, picture side")
            << QStringLiteral("ool") << QStringLiteral("PDOKV") << ok;
        QTest::newRow("restored, NG does nothing")
            << QStringLiteral("oon") << QStringLiteral("WDOKV") << ok;
        QTest::newRow("cleared again") << QStringLiteral("ooo") << QStringLiteral("OK") << ok;
    }
    // What a card shows after a sequence of clicks: p picture, l label, o OK, n NG.
    void cardStates() {
        QFETCH(QString, events);
        QFETCH(QString, shown);
        QFETCH(int, fill);
        writeLevel(1, 1);
        PracticeDrill& drill = start();
        drill.BT_level_Click(1);
        for (const QChar event : events) {
            if (event == u'p')
                drill.Im_word_Click(0);
            else if (event == u'l')
                drill.LB_word_Click(0);
            else if (event == u'o')
                drill.BT_OK_Click(0);
            else
                drill.BT_NG_Click(0);
        }
        const PracticeDrill::CardView view = drill.cardView(0);
        QString actual;
        actual += view.picture ? QStringLiteral("P") : QString();
        actual += view.wordLabels ? QStringLiteral("W") : QString();
        actual += view.details ? QStringLiteral("D") : QString();
        actual += view.okButton ? QStringLiteral("OK") : QString();
        actual += view.ngButton ? QStringLiteral("N") : QString();
        actual += view.voiceButton ? QStringLiteral("V") : QString();
        QCOMPARE(actual, shown);
        QCOMPARE(int(view.fill), fill);
    }

    // Every word once per layout; over many layouts every word reaches every position.
    void shuffledOrder() {
        writeLevel(2, 9);
        practiceMode_ = false;
        PracticeDrill& drill = start();
        drill.BT_level_Click(2);
        std::array<std::set<int>, 9> seenAt;
        for (int round = 0; round < 300; ++round) {
            drill.LayOutBatch();
            QList<int> keys = screenKeys();
            for (int p = 0; p < 9; ++p)
                seenAt[p].insert(keys[p]);
            std::sort(keys.begin(), keys.end());
            QCOMPARE(keys, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        }
        for (const std::set<int>& keys : seenAt)
            QCOMPARE(int(keys.size()), 9);
    }

    // The order button mid-batch: each card keeps its mark, clearing and grading.
    void relayoutKeepsMarksWithWords() {
        writeLevel(3, 9);
        PracticeDrill& drill = start();
        drill.BT_level_Click(3);
        drill.BT_NG_Click(0); // key 1: NG, level 4
        drill.BT_OK_Click(4); // key 5: cleared, level 2
        drill.BT_OK_Click(6); // key 7: cleared ...
        drill.BT_OK_Click(6); // ... and brought back
        const auto counts = state().LevelCounts;
        QCOMPARE(state().CardsOnScreen, 8);

        drill.BT_mode_Click(0); // to shuffled order
        QVERIFY(!practiceMode_);
        QCOMPARE(drill.modeButton(), 1);
        QVERIFY(screenKeys() != (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        const int ng = positionOf(1), cleared = positionOf(5), restored = positionOf(7);
        QCOMPARE(drill.cardView(ng).fill, PracticeDrill::Fill::Ng);
        QVERIFY(drill.cardView(ng).ngButton);
        QVERIFY(drill.cardView(cleared).present && !drill.cardView(cleared).picture);
        QCOMPARE(drill.cardView(cleared).fill, PracticeDrill::Fill::Ok);
        QVERIFY(drill.cardView(restored).details && !drill.cardView(restored).ngButton);

        // Graded words are not graded again in the new order.
        drill.BT_NG_Click(ng);
        drill.BT_OK_Click(ng);
        QCOMPARE(stored(path_, 1), QStringLiteral("4 1"));
        QCOMPARE(state().LevelCounts, counts);
        QCOMPARE(state().RemainingInLevel, 6);

        drill.BT_mode_Click(1); // back to key order
        QCOMPARE(screenKeys(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        for (const int p : {1, 2, 3, 5, 6, 7, 8})
            drill.BT_OK_Click(p);
        QCOMPARE(state().CardsOnScreen, 0);
        QCOMPARE(events_.kinds(), QList<Message>{Message::LevelFinished});
        QCOMPARE(stored(path_, 9), QStringLiteral("2 1"));
    }

    // Activation with a chosen level that has no words left: the message at once, no cards.
    void chosenLevelWithoutWords() {
        writeLevel(1, 3);
        levelChosen_ = true;
        selectedLevel_ = 4;
        PracticeDrill& drill = start();
        QCOMPARE(events_.kinds(), QList<Message>{Message::LevelFinished});
        QVERIFY(screenKeys().isEmpty());
        QVERIFY(!state().FinishShown);
        QCOMPARE(state().HighlightedLevel, 4);
        QCOMPARE(state().LevelCounts[1], 3);

        // A chosen level with words starts again from its first word; after a dialog the
        // drill stays as it was.
        selectedLevel_ = 1;
        drill.Form_Activate();
        QCOMPARE(screenKeys(), (QList<int>{1, 2, 3}));
        drill.BT_OK_Click(0);
        dialogOpen_ = true;
        QVERIFY(!drill.Form_Activate());
        QVERIFY(!dialogOpen_);
        QCOMPARE(state().CardsOnScreen, 2);
        QVERIFY(drill.Form_Activate());
        QCOMPARE(state().CardsOnScreen, 3);
        QCOMPARE(state().ScreenCards[0].times, 1);
    }

    void wrongData_data() {
        QTest::addColumn<QStringList>("alteration");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("handler");
        QTest::newRow("Null word")
            << redefinedSelectWord(
                   QStringLiteral("word"),
                   QStringLiteral("CASE WHEN w.\"key\" = 2 THEN NULL ELSE w.\"word\" END"))
            << QList<int>{1, 3} << QStringLiteral("BT_level_Click");
        QTest::newRow("Null voice")
            << redefinedSelectWord(
                   QStringLiteral("voice"),
                   QStringLiteral("CASE WHEN w.\"key\" = 3 THEN NULL ELSE w.\"voice\" END"))
            << QList<int>{1, 2} << QStringLiteral("BT_level_Click");
        QTest::newRow("Null times")
            << redefinedSelectWord(
                   QStringLiteral("times"),
                   QStringLiteral("CASE WHEN w.\"key\" = 1 THEN NULL ELSE w.\"times\" END"))
            << QList<int>{2, 3} << QStringLiteral("BT_level_Click");
        QTest::newRow("level 7 in the tallies")
            << QStringList{QStringLiteral("DROP VIEW \"syukei2\""),
                           QStringLiteral(
                               "CREATE VIEW \"syukei2\" AS SELECT 0 AS \"level\", 3 AS \"count\""
                               " UNION ALL SELECT 7, 2")}
            << QList<int>{1, 2, 3} << QStringLiteral("Form_Activate");
    }
    // A bad row is reported under the handler's name and skipped; the drill goes on.
    void wrongData() {
        QFETCH(QStringList, alteration);
        QFETCH(QList<int>, keys);
        QFETCH(QString, handler);
        writeLevel(0, 3);
        // Opening refuses a file whose views are not ours: this one is changed once open.
        WordDataFile::connection(path_);
        DeckFixture::execute(path_, alteration);
        WordDataFile::noteWritten(path_);
        PracticeDrill& drill = start();
        drill.BT_level_Click(0);
        QCOMPARE(events_.kinds(), QList<Message>{Message::WrongData});
        QCOMPARE(events_.messages.first().second, handler);
        QCOMPARE(screenKeys(), keys);
        QCOMPARE(state().LevelCounts[0], 3);
        // The skipped word leaves the pass: clearing the others ends the level.
        for (int p = 0; p < keys.size(); ++p)
            drill.BT_OK_Click(p);
        QCOMPARE(events_.kinds().count(Message::LevelFinished), 1);
        QVERIFY(!state().NextShown);
    }

    void failedWrites_data() {
        QTest::addColumn<bool>("vanished");
        QTest::newRow("read-only") << false;
        QTest::newRow("vanished") << true;
    }
    // One message per level choice, the drill goes on, the file stays as it was, and the
    // tallies and the words left say what the file holds.
    void failedWrites() {
        QFETCH(bool, vanished);
        writeLevel(0, 3);
        const QString kept = vanished ? path_ + QStringLiteral(".moved") : path_;
        if (!vanished)
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        PracticeDrill& drill = start();
        drill.BT_level_Click(0);
        if (vanished)
            QVERIFY(QFile::rename(path_, kept));
        drill.BT_NG_Click(0);
        drill.BT_OK_Click(1);
        QCOMPARE(events_.kinds(), QList<Message>{Message::SaveFailed});
        QCOMPARE(events_.messages.first().second, QStringLiteral("BT_NG_Click"));
        QCOMPARE(state().LevelCounts[0], 3);
        QCOMPARE(state().LevelCounts[5], 0);
        QCOMPARE(state().LevelCounts[1], 0);
        QVERIFY(!state().LevelEnabled[1] && !state().LevelCountShown[5]);
        QCOMPARE(state().RemainingInLevel, 3);
        QCOMPARE(state().CardsOnScreen, 2); // the OK card still clears
        for (int key = 1; key <= 3; ++key)
            QCOMPARE(stored(kept, key), QStringLiteral("0 0"));
        // Later failures are not said again, but stay on show until a write succeeds.
        QVERIFY(state().SaveFailing);
        if (vanished)
            return;
        drill.BT_level_Click(0);
        QVERIFY(state().SaveFailing);
        drill.BT_OK_Click(0);
        QCOMPARE(events_.kinds(), (QList<Message>{Message::SaveFailed, Message::SaveFailed}));
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
        WordDataFile::closeAll(); // the file is opened writable again at the next use
        drill.BT_OK_Click(1);
        QVERIFY(!state().SaveFailing);
        QCOMPARE(stored(path_, 2), QStringLiteral("1 1"));
    }

    // A word gone from the file: nothing is written, the card still counts as graded.
    void gradingFindsNoRow() {
        writeLevel(1, 3);
        PracticeDrill& drill = start();
        drill.BT_level_Click(1);
        DeckFixture::execute(path_, {QStringLiteral("DELETE FROM \"word\" WHERE \"key\" = 2")});
        drill.BT_NG_Click(1);
        QVERIFY(events_.messages.isEmpty());
        QCOMPARE(state().LevelCounts[1], 3);
        QCOMPARE(state().LevelCounts[2], 0);
        QCOMPARE(state().RemainingInLevel, 2);
        QCOMPARE(drill.cardView(1).fill, PracticeDrill::Fill::Ng);
        for (const int key : {1, 3})
            QCOMPARE(stored(path_, key), QStringLiteral("1 0"));
        QCOMPARE(stored(path_, 2), QString());
    }
};

QTEST_GUILESS_MAIN(TestPracticeDrill)
#include "tst_practicedrill.moc"
