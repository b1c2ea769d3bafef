// Taking changes back and giving them again on a real file: every kind of change comes back to
// the rows it started from, deletes with their levels, counts and media names; a grading the
// program wrote since is kept; a series of moves is one step; a replaced picture comes back.
#include "deckeditor.h"
#include "deckfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <worddatafile.h>

using Edit = std::function<void(DeckEditor&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// Groups 1 (two sub-groups) and 2; words 1..3 in 1-1 (word 2 graded to level 3, 4 times, with
// a picture and a voice), word 4 in 1-2, word 5 in 2-1.
void startingDeck(DeckEditor& d) {
    d.addGroup(QStringLiteral("a"));
    d.addGroup(QStringLiteral("b"));
    d.addSubGroup(1);
    d.addSubGroup(1);
    d.addSubGroup(2);
    for (const QString& w : {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("fox")})
        d.addWord(1, 1, {w, QStringLiteral("m"), {}, {}});
    d.addWord(1, 2, {QStringLiteral("egg"), {}, {}, {}});
    d.addWord(2, 1, {QStringLiteral("sun"), {}, {}, {}});
    d.setWordPicture(2, QStringLiteral("dog"));
    d.setWordVoice(2, QStringLiteral("dog"));
    DeckFixture::execute(d.path(), {QStringLiteral("UPDATE word SET level = 3, times = 4"
                                                   " WHERE key = 2")});
    d.reload();
}

// What the program does between two of the maker's changes: grades word key.
void grade(DeckEditor& d, qint64 key, int level, int times) {
    DeckFixture::execute(d.path(), {QStringLiteral("UPDATE word SET level = %1, times = %2"
                                                   " WHERE key = %3")
                                        .arg(level)
                                        .arg(times)
                                        .arg(key)});
    d.reload();
}

} // namespace

class TestDeckUndo : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<DeckEditor> editor;

  private slots:
    void init() {
        const QString path = dir.filePath(QStringLiteral("deck.pml"));
        QFile::remove(path);
        DeckEditor::create(path);
        editor = std::make_unique<DeckEditor>(path);
        startingDeck(*editor);
    }
    void cleanup() {
        editor.reset();
        WordDataFile::closeAll();
    }

    void undoThenRedo_data() {
        QTest::addColumn<Edit>("edit");
        const auto row = [](const char* name, Edit edit) { QTest::newRow(name) << edit; };
        row("add a group", [](DeckEditor& d) { d.addGroup(QStringLiteral("c")); });
        row("group texts",
            [](DeckEditor& d) { d.setGroupTexts(1, QStringLiteral("x"), QStringLiteral("y")); });
        row("group picture", [](DeckEditor& d) { d.setGroupPicture(2, QStringLiteral("p")); });
        row("remove a group with its rows", [](DeckEditor& d) { d.removeGroup(1); });
        row("move a group", [](DeckEditor& d) { d.moveGroup(1, +1); });
        row("move a group to an empty slot", [](DeckEditor& d) { d.moveGroup(2, +1); });
        row("add a sub-group", [](DeckEditor& d) { d.addSubGroup(2); });
        row("sub-group picture",
            [](DeckEditor& d) { d.setSubGroupPicture(1, 2, QStringLiteral("s")); });
        row("remove a sub-group", [](DeckEditor& d) { d.removeSubGroup(1, 1); });
        row("move a sub-group", [](DeckEditor& d) { d.moveSubGroup(1, 1, +1); });
        row("add a word", [](DeckEditor& d) {
            d.addWord(2, 1, {QStringLiteral("moon"), {}, {}, {}});
        });
        row("word texts", [](DeckEditor& d) {
            d.setWordTexts(2, {QStringLiteral("puppy"), {}, QStringLiteral("t"), {}});
        });
        row("word voice", [](DeckEditor& d) { d.setWordVoice(1, QStringLiteral("v")); });
        row("remove graded words", [](DeckEditor& d) { d.removeWords({1, 2}); });
        row("move a graded word", [](DeckEditor& d) { d.moveWord(2, +1); });
        row("reset a graded word", [](DeckEditor& d) { d.resetWords({2}); });
        row("words to another sub-group", [](DeckEditor& d) { d.moveWordsTo({2, 3}, 2, 1); });
        row("several moves as one", [](DeckEditor& d) {
            d.asOneChange([&] {
                const qint64 key = d.moveWord(1, +1);
                d.moveWord(key, +1);
            });
        });
    }
    void undoThenRedo() {
        QFETCH(Edit, edit);
        const Deck before = editor->deck();
        edit(*editor);
        const Deck after = editor->deck();
        QVERIFY(after != before);
        QVERIFY(editor->canUndo());
        editor->undo();
        QCOMPARE(editor->deck(), before);
        QVERIFY(editor->canRedo());
        editor->redo();
        QCOMPARE(editor->deck(), after);
        QVERIFY(!editor->canRedo());
    }

    // Taking a change back keeps the level and count the program wrote since.
    void gradingsSinceAreKept_data() {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("texts") << Edit([](DeckEditor& d) {
            d.setWordTexts(2, {QStringLiteral("puppy"), {}, {}, {}});
        });
        QTest::newRow("reset") << Edit([](DeckEditor& d) { d.resetWords({2}); });
    }
    void gradingsSinceAreKept() {
        QFETCH(Edit, edit);
        edit(*editor);
        grade(*editor, 2, 1, 9);
        editor->undo();
        const DeckWord* w = editor->word(2);
        QCOMPARE(w->word, QStringLiteral("dog"));
        QCOMPARE(w->level, 1);
        QCOMPARE(w->times, 9);
    }

    // A new change drops what was taken back.
    void newChangeDropsRedo() {
        editor->setGroupTexts(1, QStringLiteral("x"), {});
        editor->undo();
        editor->setGroupTexts(2, QStringLiteral("z"), {});
        QVERIFY(!editor->canRedo());
    }

    // A replaced picture's content comes back with the change, and goes again with it.
    void replacedFileComesBack() {
        const QString file = editor->folder() + QStringLiteral("images/dog.jpg");
        const auto write = [&](const QByteArray& bytes) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        };
        const auto read = [&] {
            QFile in(file);
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        };
        write("old");
        editor->keepForUndo(file);
        write("new");
        editor->setWordPicture(2, QStringLiteral("dog")); // the same name, a new picture
        editor->undo();
        QCOMPARE(read(), QByteArray("old"));
        editor->redo();
        QCOMPARE(read(), QByteArray("new"));
    }

    // Nothing to take back on a deck just opened.
    void openedDeckHasNoHistory() {
        const QString path = editor->path();
        editor = std::make_unique<DeckEditor>(path);
        QVERIFY(!editor->canUndo());
        QVERIFY(!editor->canRedo());
    }
};

QTEST_GUILESS_MAIN(TestDeckUndo)
#include "tst_deckundo.moc"
