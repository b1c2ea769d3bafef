// The deck maker and a practice open on one deck at once: whatever the maker changes between
// the practice's reading of a batch and its gradings, a grading reaches the word on the card
// or nothing is written.
#include "deckeditor.h"
#include "deckfixture.h"
#include "practicedrill.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <worddatafile.h>

using Change = std::function<void(DeckEditor&)>;
Q_DECLARE_METATYPE(Change)

namespace {

struct SilentEvents : PracticeDrill::Events {
    void showMessage(PracticeDrill::Message message, const QString&) override {
        messages.append(message);
    }
    void playEffect(PracticeDrill::Effect) override {}
    QList<PracticeDrill::Message> messages;
};

// "word:level/times" for every word of the file in key order, read as another program would.
QString gradings(const QString& path) {
    return DeckFixture::scalar(path, QStringLiteral("SELECT group_concat(word || ':' || level ||"
                                                    " '/' || times, ' ') FROM (SELECT * FROM"
                                                    " word ORDER BY key)"))
        .toString();
}

qint64 keyOf(const DeckEditor& editor, const QString& word) {
    for (const DeckWord& w : editor.deck().words)
        if (w.word == word)
            return w.key;
    return 0;
}

} // namespace

class TestMakerBesidePractice : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void cleanup() { WordDataFile::closeAll(); }

    void everyGradingReachesTheWordShown_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("expected");
        const auto move = [](const char* word, int step) {
            return Change([word, step](DeckEditor& d) {
                d.moveWord(keyOf(d, QString::fromLatin1(word)), step);
            });
        };
        // Every card is graded OK at level 0 (-> level 1, once).
        QTest::newRow("nothing changed")
            << Change([](DeckEditor&) {}) << QStringLiteral("ant:1/1 bee:1/1 cat:1/1 dog:1/1");
        QTest::newRow("a word moved down")
            << move("ant", +1) << QStringLiteral("bee:1/1 ant:1/1 cat:1/1 dog:1/1");
        QTest::newRow("a word moved up twice") << Change([move](DeckEditor& d) {
            move("dog", -1)(d);
            move("dog", -1)(d);
        }) << QStringLiteral("ant:1/1 dog:1/1 bee:1/1 cat:1/1");
        QTest::newRow("a word removed")
            << Change([](DeckEditor& d) { d.removeWords({keyOf(d, QStringLiteral("bee"))}); })
            << QStringLiteral("ant:1/1 cat:1/1 dog:1/1");
        QTest::newRow("a word removed, the next moved onto its place")
            << Change([move](DeckEditor& d) {
                   d.removeWords({keyOf(d, QStringLiteral("bee"))});
                   move("cat", -1)(d);
               })
            << QStringLiteral("cat:1/1 ant:1/1 dog:1/1");
        QTest::newRow("a word added") << Change([](DeckEditor& d) {
            d.addWord(1, 1, {QStringLiteral("elk"), {}, {}, {}});
        }) << QStringLiteral("ant:1/1 bee:1/1 cat:1/1 dog:1/1 elk:0/0");
        // An edited word is not the word the card shows: its grading is not written.
        QTest::newRow("a word's spelling changed") << Change([](DeckEditor& d) {
            d.setWordTexts(keyOf(d, QStringLiteral("cat")), {QStringLiteral("cow"), {}, {}, {}});
        }) << QStringLiteral("ant:1/1 bee:1/1 cow:0/0 dog:1/1");
        QTest::newRow("two sub-groups traded places")
            << Change([](DeckEditor& d) { d.moveSubGroup(1, 1, +1); })
            << QStringLiteral("ant:1/1 bee:1/1 cat:1/1 dog:1/1");
    }
    void everyGradingReachesTheWordShown() {
        QFETCH(Change, change);
        QFETCH(QString, expected);
        const QString path =
            dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pml"));
        DeckEditor::create(path);
        DeckEditor maker(path);
        maker.addGroup(QStringLiteral("animals"));
        maker.addSubGroup(1);
        maker.addSubGroup(1);
        for (const char* word : {"ant", "bee", "cat", "dog"})
            maker.addWord(1, 1, {QString::fromLatin1(word), {}, {}, {}});
        DeckFixture::execute(path, {QStringLiteral("UPDATE subgroup SET \"select\" = 1")});

        qint16 level = 0;
        bool chosen = false, keyOrder = true, dialog = false;
        SilentEvents events;
        PracticeDrill drill({path, level, chosen, keyOrder, dialog}, events, 1u);
        drill.Form_Load();
        drill.Form_Activate();
        drill.BT_level_Click(0);
        QCOMPARE(drill.state().BatchCount, 4);
        QStringList shown;
        for (int p = 0; p < 4; ++p)
            shown << drill.state().ScreenCards[p].word;

        maker.reload();
        change(maker);
        for (int p = 0; p < 4; ++p)
            drill.BT_OK_Click(p);

        QCOMPARE(gradings(path), expected);
        QCOMPARE(events.messages, QList{PracticeDrill::Message::LevelFinished});
        // Every card cleared, whether its word was written or is gone.
        QCOMPARE(drill.state().CardsOnScreen, 0);
        for (int p = 0; p < 4; ++p)
            QCOMPARE(drill.state().ScreenCards[p].word, shown.at(p));
    }
};

QTEST_GUILESS_MAIN(TestMakerBesidePractice)
#include "tst_makerbesidepractice.moc"
