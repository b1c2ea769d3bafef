// The deck maker without the mouse and with it: the keys of every list, dragging rows within
// a list and words onto a sub-group, and taking changes back from the 編集 menu.
#include "deckeditor.h"
#include "makertestwindow.h"
#include "rowlist.h"
#include "testmain.h"
#include "userclick.h"

#include <QAction>
#include <QDir>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <worddatafile.h>

using namespace Qt::StringLiterals;

namespace {

// The rows of a list as shown, by their numbers.
QList<qint64> rowsOf(RowList* list) {
    QList<qint64> ids;
    for (int i = 0; i < list->list()->topLevelItemCount(); ++i)
        ids << list->list()->topLevelItem(i)->data(0, Qt::UserRole).toLongLong();
    return ids;
}

void press(RowList* list, QKeyCombination key) {
    list->list()->setFocus();
    QTest::keyClick(list->list(), key.key(), key.keyboardModifiers());
}

} // namespace

class TestMakerKeys : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MakerWindow> window;

    QList<qint64> wordKeys() const { return rowsOf(window->words()); }
    QStringList wordTexts() const {
        QStringList texts;
        for (const qint64 key : wordKeys())
            texts << window->editor()->word(key)->word;
        return texts;
    }

  private slots:
    // A deck with a group, two sub-groups and the words a, b, c in the first.
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        window = makerTestWindow();
        window->activateWindow(); // keys reach shortcuts only in the active window
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        makeNewDeck(*fake, *window, u"keys"_s);
        DeckEditor* d = window->editor();
        d->addGroup(u"g"_s);
        d->addSubGroup(1);
        d->addSubGroup(1);
        for (const QString& w : {u"a"_s, u"b"_s, u"c"_s})
            d->addWord(1, 1, {w, {}, {}, {}});
        QVERIFY(window->openDeck(d->path()));
        window->words()->choose(wordKeys().first());
        emit window->words()->chosenChanged();
    }
    void cleanup() {
        window.reset();
        WordDataFile::closeAll();
        fake.reset();
    }

    void keyMap_data() {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("Insert adds")
            << QKeyCombination(Qt::Key_Insert) << QStringList{u"a"_s, u"b"_s, u"c"_s, u""_s};
        QTest::newRow("Ctrl+Enter adds") << QKeyCombination(Qt::CTRL | Qt::Key_Return)
                                         << QStringList{u"a"_s, u"b"_s, u"c"_s, u""_s};
        QTest::newRow("Alt+Down moves down")
            << QKeyCombination(Qt::ALT | Qt::Key_Down) << QStringList{u"b"_s, u"a"_s, u"c"_s};
        QTest::newRow("Alt+Up at the top does nothing")
            << QKeyCombination(Qt::ALT | Qt::Key_Up) << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("Delete asks; no keeps")
            << QKeyCombination(Qt::Key_Delete) << QStringList{u"a"_s, u"b"_s, u"c"_s};
    }
    void keyMap() {
        QFETCH(QKeyCombination, key);
        QFETCH(QStringList, words);
        press(window->words(), key);
        QCOMPARE(wordTexts(), words);
    }

    // Delete asks with no as the answer Enter gives; yes removes.
    void deleteAsksWithNoAsDefault() {
        press(window->words(), QKeyCombination(Qt::Key_Delete));
        QCOMPARE(fake->prompter.messages.size(), 1);
        QCOMPARE(fake->prompter.messages.last().buttons, Prompter::Buttons::YesNoDefaultNo);
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        press(window->words(), QKeyCombination(Qt::Key_Delete));
        QCOMPARE(wordTexts(), (QStringList{u"b"_s, u"c"_s}));
    }

    // A drag within a list moves the row to where it is dropped, as one step to take back.
    void dragWithinAList() {
        RowList* words = window->words();
        const QList<qint64> keys = wordKeys();
        std::unique_ptr<QMimeData> data(words->dragData());
        QVERIFY(words->drop(*data, keys.last()));
        QCOMPARE(wordTexts(), (QStringList{u"b"_s, u"c"_s, u"a"_s}));
        window->undo();
        QCOMPARE(wordTexts(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    }

    // A word dropped on another sub-group moves there with its key; groups refuse words.
    void wordOntoASubGroup() {
        const qint64 key = wordKeys().first();
        std::unique_ptr<QMimeData> data(window->words()->dragData());
        QVERIFY(!window->groups()->drop(*data, 1));
        QVERIFY(window->subGroups()->drop(*data, 2));
        QCOMPARE(window->editor()->word(key)->sgroup, 2);
        QCOMPARE(window->session().chosenSubGroup(), 2);
        QCOMPARE(wordKeys(), QList<qint64>{key});
    }

    // 編集 takes a removal back, rows and all, and gives it again.
    void undoAndRedoFromTheMenu() {
        QVERIFY(!window->redoAction()->isEnabled());
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        QVERIFY(clickAsUser(window->subGroups()->removeButton()));
        QCOMPARE(rowsOf(window->subGroups()), QList<qint64>{2});
        QVERIFY(window->undoAction()->isEnabled());
        window->undoAction()->trigger();
        QCOMPARE(rowsOf(window->subGroups()), (QList<qint64>{1, 2}));
        QCOMPARE(window->editor()->wordsOf(1, 1).size(), 3);
        QVERIFY(window->redoAction()->isEnabled());
        window->redoAction()->trigger();
        QCOMPARE(rowsOf(window->subGroups()), QList<qint64>{2});
    }
};

PIMLOTAN_TEST_MAIN(TestMakerKeys)
#include "tst_makerkeys.moc"
