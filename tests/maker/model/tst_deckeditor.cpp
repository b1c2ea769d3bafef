// The deck maker's rules on a real file: what each change leaves in the file, the keys it
// gives, what it keeps of gradings made meanwhile, and the checks it shows.
#include "deckchecks.h"
#include "deckeditor.h"
#include "deckfixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <dataerror.h>
#include <deckcommands.h>
#include <deckvalidator.h>
#include <functional>
#include <worddatafile.h>
#include <worddataformat.h>

using namespace Qt::StringLiterals;

using Edit = std::function<void(DeckEditor&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// The deck as one line: "slot:title[number:key/word/level/times ...] ...".
QString summary(const DeckEditor& editor) {
    QStringList groups;
    for (const DeckGroup& g : editor.deck().groups) {
        QStringList subGroups;
        for (const DeckSubGroup& s : editor.subGroupsOf(g.group)) {
            QStringList words;
            for (const DeckWord& w : editor.wordsOf(g.group, s.sgroup))
                words << QStringLiteral("%1/%2/%3/%4")
                             .arg(w.key)
                             .arg(w.word)
                             .arg(w.level)
                             .arg(w.times);
            subGroups << QStringLiteral("%1:%2").arg(s.sgroup).arg(words.join(u' '));
        }
        groups << QStringLiteral("%1:%2[%3]").arg(g.group).arg(g.tittle, subGroups.join(u';'));
    }
    return groups.join(u' ');
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// A deck like the program's: groups 1 (a, two sub-groups) and 2 (b), words 1..3 in 1-1 (word 2
// graded to level 3, 4 times), word 4 in 1-2, word 5 in 2-1.
void startingDeck(DeckEditor& d) {
    d.addGroup(QStringLiteral("a"));
    d.addGroup(QStringLiteral("b"));
    d.addSubGroup(1);
    d.addSubGroup(1);
    d.addSubGroup(2);
    for (const QString& w : {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("fox")})
        d.addWord(1, 1, {w, {}, {}, {}});
    d.addWord(1, 2, {QStringLiteral("egg"), {}, {}, {}});
    d.addWord(2, 1, {QStringLiteral("sun"), {}, {}, {}});
    DeckFixture::execute(d.path(), {QStringLiteral("UPDATE word SET level = 3, times = 4"
                                                   " WHERE key = 2")});
    d.reload();
}

} // namespace

class TestDeckEditor : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    int serial_ = 0;

    QString newDeck() {
        const QString path = dir_.filePath(QStringLiteral("d%1/deck.pml").arg(++serial_));
        DeckEditor::create(path);
        return path;
    }

  private slots:
    void cleanup() { WordDataFile::closeAll(); }

    void edits_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");
        const QString start = QStringLiteral("1:a[1:1/cat/0/0 2/dog/3/4 3/fox/0/0;2:4/egg/0/0] "
                                             "2:b[1:5/sun/0/0]");
        QTest::newRow("as made") << Edit([](DeckEditor&) {}) << start;
        QTest::newRow("group into a free slot")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveGroup(2, +1), 3); })
            << QStringLiteral("1:a[1:1/cat/0/0 2/dog/3/4 3/fox/0/0;2:4/egg/0/0] 3:b[1:5/sun/0/0]");
        QTest::newRow("groups trade slots")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveGroup(1, +1), 2); })
            << QStringLiteral("1:b[1:5/sun/0/0] "
                              "2:a[1:1/cat/0/0 2/dog/3/4 3/fox/0/0;2:4/egg/0/0]");
        QTest::newRow("first group stays first")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveGroup(1, -1), 1); }) << start;
        QTest::newRow("freed slot taken first") << Edit([](DeckEditor& d) {
            d.removeGroup(1);
            QCOMPARE(d.addGroup(QStringLiteral("c")), 1);
        }) << QStringLiteral("1:c[] 2:b[1:5/sun/0/0]");
        QTest::newRow("seventh group refused") << Edit([](DeckEditor& d) {
            for (int i = 3; i <= 6; ++i)
                d.addGroup(QStringLiteral("x"));
            QVERIFY_THROWS_EXCEPTION(DataError, d.addGroup(QStringLiteral("y")));
            for (int i = 3; i <= 6; ++i)
                d.removeGroup(i);
        }) << start;
        QTest::newRow("sub-groups trade numbers, words follow")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveSubGroup(1, 2, -1), 1); })
            << QStringLiteral("1:a[1:4/egg/0/0;2:1/cat/0/0 2/dog/3/4 3/fox/0/0] "
                              "2:b[1:5/sun/0/0]");
        QTest::newRow("last sub-group stays last")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveSubGroup(1, 2, +1), 2); }) << start;
        QTest::newRow("sub-group removed with its words, next number after the last")
            << Edit([](DeckEditor& d) {
                   d.removeSubGroup(1, 1);
                   QCOMPARE(d.addSubGroup(1), 3);
               })
            << QStringLiteral("1:a[2:4/egg/0/0;3:] 2:b[1:5/sun/0/0]");
        QTest::newRow("word moved up keeps its grading")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveWord(2, -1), 1); })
            << QStringLiteral("1:a[1:1/dog/3/4 2/cat/0/0 3/fox/0/0;2:4/egg/0/0] "
                              "2:b[1:5/sun/0/0]");
        QTest::newRow("word moves within its sub-group only")
            << Edit([](DeckEditor& d) { QCOMPARE(d.moveWord(3, +1), 3); }) << start;
        QTest::newRow("a removed key is not given again")
            << Edit([](DeckEditor& d) {
                   d.removeWords({5});
                   QCOMPARE(d.addWord(2, 1, {QStringLiteral("sky"), {}, {}, {}}), 6);
               })
            << QStringLiteral("1:a[1:1/cat/0/0 2/dog/3/4 3/fox/0/0;2:4/egg/0/0] "
                              "2:b[1:6/sky/0/0]");
        QTest::newRow("new word in an earlier sub-group comes last in it")
            << Edit([](DeckEditor& d) {
                   d.addWord(1, 1, {QStringLiteral("ant"), {}, {}, {}});
               })
            << QStringLiteral("1:a[1:1/cat/0/0 2/dog/3/4 3/fox/0/0 6/ant/0/0;2:4/egg/0/0] "
                              "2:b[1:5/sun/0/0]");
        QTest::newRow("reset") << Edit([](DeckEditor& d) {
            d.resetWords({2, 3});
        })
                               << QStringLiteral("1:a[1:1/cat/0/0 2/dog/0/0 3/fox/0/0;2:4/egg/0/0]"
                                                 " 2:b[1:5/sun/0/0]");
        QTest::newRow("texts") << Edit([](DeckEditor& d) {
            d.setWordTexts(1, {QStringLiteral("kitten"), QStringLiteral("こねこ"), {}, {}});
            QCOMPARE(d.word(1)->meaning, QStringLiteral("こねこ"));
            d.setWordTexts(1, {QStringLiteral("kitten"), {}, {}, {}});
            QCOMPARE(DeckFixture::scalar(d.path(), QStringLiteral("SELECT meaning IS NULL FROM"
                                                                  " word WHERE key = 1"))
                         .toBool(),
                     true);
        }) << QString(start).replace(QStringLiteral("cat"), QStringLiteral("kitten"));
    }

    // Each change leaves the rows expected, the kept counts right and a file that opens.
    void edits() {
        QFETCH(Edit, edit);
        QFETCH(QString, expected);
        const QString path = newDeck();
        {
            DeckEditor editor(path);
            startingDeck(editor);
            edit(editor);
            QCOMPARE(summary(editor), expected);
        }
        QCOMPARE(DeckFixture::damage(path), QStringList());
        QCOMPARE(summary(DeckEditor(path)), expected); // as read again from the file
    }

    // The history stays with its word when words trade keys; もとに もどす writes a reset row
    // per word; a copy saved elsewhere keeps it.
    void historyFollowsTheWord() {
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor); // dog (key 2) graded to level 3 by hand: no history yet
        editor.resetWords({2});
        const auto rows = [&](int key) {
            return DeckFixture::scalar(path, QStringLiteral("SELECT group_concat(\"before\" || "
                                                            "'>' || \"after\") FROM history "
                                                            "WHERE key = %1")
                                                 .arg(key))
                .toString();
        };
        QCOMPARE(rows(2), QStringLiteral("3>0"));
        QCOMPARE(editor.moveWord(2, +1), 3); // dog and fox trade keys
        QCOMPARE(rows(3), QStringLiteral("3>0"));
        QCOMPARE(rows(2), QString());
        QCOMPARE(DeckFixture::damage(path), QStringList());
        QCOMPARE(editor.deckWithHistory().history.size(), 1);
    }

    // Taking changes back and giving them again keeps each word's record its own and writes
    // no gradings; a removed word's record stays its own when others trade keys.
    void undoKeepsTheHistoryRight() {
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor); // dog (key 2) at level 3
        const auto history = [&] {
            return DeckFixture::scalar(path, QStringLiteral("SELECT group_concat(key || ':' ||"
                                                            " \"before\" || '>' || \"after\", ' ')"
                                                            " FROM (SELECT * FROM history"
                                                            " ORDER BY key, rowid)"))
                .toString();
        };
        const QList<std::pair<std::function<void()>, QString>> steps{
            {[&] {
                 editor.resetWords({2, 5});
             },
             u"2:3>0 5:0>0"_s},
            {[&] { editor.removeWords({5}); }, u"2:3>0 5:0>0"_s},
            {[&] { editor.moveWord(2, +1); }, u"3:3>0 5:0>0"_s}, // dog now key 3
            {[&] { editor.moveWord(1, +1); }, u"3:3>0 5:0>0"_s}, // cat and fox
            {[&] { editor.undo(); }, u"3:3>0 5:0>0"_s},
            {[&] { editor.undo(); }, u"2:3>0 5:0>0"_s},
            {[&] { editor.undo(); }, u"2:3>0 5:0>0"_s}, // sun back
            {[&] { editor.undo(); }, QString()},        // the reset taken back: no record
            {[&] { editor.redo(); }, u"2:3>0 5:0>0"_s},
            {[&] { editor.redo(); }, u"2:3>0 5:0>0"_s},
            {[&] { editor.redo(); }, u"3:3>0 5:0>0"_s},
        };
        for (const auto& [step, expected] : steps) {
            step();
            QCOMPARE(history(), expected);
        }
        QCOMPARE(editor.word(3)->level, 0); // dog, reset
        QCOMPARE(DeckFixture::damage(path), QStringList());
    }

    void keysAreNotReusedAcrossOpenings() {
        const QString path = newDeck();
        {
            DeckEditor editor(path);
            startingDeck(editor);
            editor.removeWords({4, 5});
        }
        DeckEditor editor(path);
        QCOMPARE(editor.addWord(1, 2, {QStringLiteral("owl"), {}, {}, {}}), 6);
    }

    // A file written before keys were marked is upgraded on opening and keeps its rows.
    void versionOneDeckIsUpgraded() {
        const QString path = dir_.filePath(QStringLiteral("old.pml"));
        DeckFixture().group(1).subGroup(1, 1).words(1, 1, 2, 3, 7).write(path);
        DeckFixture::execute(path, {QStringLiteral("DROP TRIGGER word_keymark"),
                                    QStringLiteral("DROP TABLE keymark"),
                                    QStringLiteral("PRAGMA user_version = 1")});
        {
            DeckEditor editor(path);
            editor.removeWords({9});
            QCOMPARE(editor.addWord(1, 1, {QStringLiteral("new"), {}, {}, {}}), 10);
        }
        QCOMPARE(DeckFixture::scalar(path, QStringLiteral("PRAGMA user_version")).toInt(), 2);
        QCOMPARE(DeckFixture::damage(path), QStringList());
    }

    // The program grades a word between two changes of the maker: the grading stays.
    void gradingMadeMeanwhileIsKept() {
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor);
        DeckFixture::execute(path, {QStringLiteral("UPDATE subgroup SET \"select\" = 1"),
                                    QStringLiteral("UPDATE select_word SET level = 2, times = 1"
                                                   " WHERE key = 1")});
        editor.setWordTexts(1, {QStringLiteral("cat"), QStringLiteral("ねこ"), {}, {}});
        editor.moveWord(3, -1);
        QCOMPARE(editor.word(1)->level, 2);
        QCOMPARE(editor.word(1)->times, 1);
        QCOMPARE(editor.word(2)->word, QStringLiteral("fox"));
        QCOMPARE(editor.word(3)->level, 3);
    }

    // Another program holds the file: the change fails within a few seconds and leaves the
    // file as it was.
    void lockedDeckFailsSoon() {
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor);
        const QString name = QStringLiteral("other program");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QElapsedTimer clock;
            clock.start();
            try {
                editor.addGroup(QStringLiteral("c"));
                QFAIL("written beside another program's lock");
            } catch (const DataError& error) {
                QCOMPARE(error.reason(), DataError::Reason::Busy);
            }
            QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(name);
        QCOMPARE(editor.deck().groups.size(), 2);
        editor.addGroup(QStringLiteral("c")); // and works once the file is free
        QCOMPARE(editor.deck().groups.size(), 3);
    }

    void mediaNames_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no name yet")
            << QString() << QStringLiteral("Ice cream") << QStringLiteral("ice_cream");
        QTest::newRow("own name kept")
            << QStringLiteral("mine") << QStringLiteral("cat") << QStringLiteral("mine");
        QTest::newRow("shared name left alone")
            << QStringLiteral("shared") << QStringLiteral("cat") << QStringLiteral("cat-2");
        QTest::newRow("file of that name present")
            << QString() << QStringLiteral("dog") << QStringLiteral("dog-2");
        QTest::newRow("nothing usable in the word")
            << QString() << QStringLiteral("///") << QStringLiteral("picture");
        QTest::newRow("name that is not plain replaced")
            << QStringLiteral("../x") << QStringLiteral("sun") << QStringLiteral("sun");
    }

    void mediaNames() {
        QFETCH(QString, current);
        QFETCH(QString, base);
        QFETCH(QString, expected);
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor);
        editor.setWordPicture(1, QStringLiteral("cat")); // "cat" is taken by a row
        editor.setWordPicture(2, QStringLiteral("shared"));
        editor.setWordPicture(3, QStringLiteral("shared"));
        editor.setWordPicture(4, QStringLiteral("mine"));
        editor.setWordPicture(5, current == QStringLiteral("mine") ? QString() : current);
        touch(editor.folder() + QStringLiteral("images/dog.jpg")); // "dog" is taken by a file
        QCOMPARE(editor.mediaNameFor(DeckEditor::Media::Picture, current, base), expected);
    }

    void checks_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("expected"); // "row: text"
        QTest::newRow("complete") << Edit([](DeckEditor&) {}) << QStringList();
        // A deck made on Windows: the check finds what the preview and the screens find.
        QTest::newRow("media in other case") << Edit([](DeckEditor& d) {
            QFile::rename(d.folder() + QStringLiteral("images/w1.jpg"),
                          d.folder() + QStringLiteral("images/W1.JPG"));
            QFile::rename(d.folder() + QStringLiteral("voice/v1.wav"),
                          d.folder() + QStringLiteral("voice/V1.Wav"));
        }) << QStringList();
        QTest::newRow("empty texts")
            << Edit([](DeckEditor& d) {
                   d.setGroupTexts(1, QStringLiteral(" "), QString());
                   d.setWordTexts(1, {QString(), QStringLiteral("ねこ"), {}, {}});
               })
            << QStringList{QStringLiteral("group 1: グループ 1の 名前が ありません"),
                           QStringLiteral("group 1: グループ 1の 説明が ありません"),
                           QStringLiteral("word 1: 単語（1-1）の 英語が ありません")};
        QTest::newRow("media missing, empty, unnamed")
            << Edit([](DeckEditor& d) {
                   QFile::remove(d.folder() + QStringLiteral("images/s1-1.jpg"));
                   QFile(d.folder() + QStringLiteral("voice/v1.wav")).resize(0);
                   d.setWordPicture(2, QString());
                   d.setWordVoice(2, QStringLiteral("a/b"));
               })
            << QStringList{
                   QStringLiteral("sub 1-1: ✖ 小グループ 1-1の 絵の ファイルが 見つかりません"
                                  "（s1-1.jpg） … プログラムは「単語データが違います。」と 出して、"
                                  "この小グループから 先を 出しません"),
                   QStringLiteral("word 1: 「cat」の 音声の ファイルが 空です（v1.wav）"),
                   QStringLiteral("word 2: 「dog」の 絵が ありません"),
                   QStringLiteral("word 2: 「dog」の 音声の ファイル名「a/b」が 使えません")};
        // What the main menu refuses comes first, whatever its row.
        QTest::newRow("group picture unreadable, texts too long")
            << Edit([](DeckEditor& d) {
                   d.setWordTexts(1, {QString(41, u'a'), QString(25, u'ね'), {}, {}});
                   touch(d.folder() + QStringLiteral("images/g2.jpg"));
               })
            << QStringList{
                   QStringLiteral("group 2: ✖ グループ 2の 絵の ファイルが 絵として 読めません"
                                  "（g2.jpg） … プログラムは「単語データが違います。」と 出して、"
                                  "このグループから 先を 出しません"),
                   QStringLiteral("word 1: 「aaaaaaaaaaaaaaaaaaa…」の 英語が 長すぎて、カードに "
                                  "入りきりません"),
                   QStringLiteral("word 1: 「aaaaaaaaaaaaaaaaaaa…」の 意味が 長すぎて、カードに "
                                  "入りきりません")};
        QTest::newRow("word twice, whatever the case") << Edit([](DeckEditor& d) {
            d.setWordTexts(4, {QStringLiteral("Cat "), {}, {}, {}});
        }) << QStringList{QStringLiteral("word 4: 「Cat」は 小グループ 1-1 にも あります")};
    }

    // The window's list of problems, and that it flags every row the deck tool's check flags.
    void checks() {
        QFETCH(Edit, edit);
        QFETCH(QStringList, expected);
        const QString path = newDeck();
        DeckEditor editor(path);
        startingDeck(editor);
        editor.setGroupTexts(1, QStringLiteral("a"), QStringLiteral("about a"));
        editor.setGroupTexts(2, QStringLiteral("b"), QStringLiteral("about b"));
        // Real pictures where the main menu reads them; the other files need only be there.
        const auto media = [&](const QString& file) {
            if (file.startsWith(QStringLiteral("images/g")) ||
                file.startsWith(QStringLiteral("images/s"))) {
                QImage picture(8, 8, QImage::Format_RGB32);
                picture.fill(Qt::red);
                picture.save(editor.folder() + file, "JPEG");
            } else {
                touch(editor.folder() + file);
            }
            return QFileInfo(file).completeBaseName();
        };
        const Deck rows = editor.deck(); // each change reads the rows anew
        for (const DeckGroup& g : rows.groups)
            editor.setGroupPicture(g.group, media(QStringLiteral("images/g%1.jpg").arg(g.group)));
        for (const DeckSubGroup& s : rows.subGroups)
            editor.setSubGroupPicture(
                s.group, s.sgroup,
                media(QStringLiteral("images/s%1-%2.jpg").arg(s.group).arg(s.sgroup)));
        for (const DeckWord& w : rows.words) {
            editor.setWordPicture(w.key, media(QStringLiteral("images/w%1.jpg").arg(w.key)));
            editor.setWordVoice(w.key, media(QStringLiteral("voice/v%1.wav").arg(w.key)));
        }
        edit(editor);
        editor.reload();

        QStringList shown;
        QSet<QString> shownRows;
        for (const DeckCheck& check : checkDeck(editor.deck(), editor.folder())) {
            const QString row = check.row == DeckCheck::Row::Group
                                    ? QStringLiteral("group %1").arg(check.group)
                                : check.row == DeckCheck::Row::SubGroup
                                    ? QStringLiteral("sub %1-%2").arg(check.group).arg(check.sgroup)
                                    : QStringLiteral("word %1").arg(check.key);
            shown << row + QStringLiteral(": ") + check.text;
            shownRows << row;
        }
        QCOMPARE(shown.join(u'\n'), expected.join(u'\n'));

        QSet<QString> toolRows;
        for (const DeckProblem& problem :
             validateDeck(editor.deck(), DeckOrigin{path, path, path}, editor.folder()))
            toolRows << problem.message.section(u':', 0, 0)
                            .replace(QStringLiteral("sub-group"), QStringLiteral("sub"));
        QVERIFY(shownRows.contains(toolRows));
        QTextStream out(stdout);
        QCOMPARE(DeckCommands::check(path, out) == 0, toolRows.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDeckEditor)
#include "tst_deckeditor.moc"
