// The maker's session without widgets: which rows stay chosen through choices, changes and
// removals; what each button does by kind; takes that are abandoned; the copies and CSV folders
// it writes.
#include "deckfolder.h"
#include "makersession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deckcsv.h>
#include <functional>
#include <worddatafile.h>

using Step = std::function<void(MakerSession&)>;
Q_DECLARE_METATYPE(Step)
using Kind = MakerSession::Kind;

namespace {

// "slot/sub-group/words shown" with words as their English texts, "-" for none.
QString chosen(const MakerSession& s) {
    QStringList words;
    for (const qint64 key : s.chosenWords())
        words << s.editor()->word(key)->word;
    const auto kind = s.shownKind();
    return QStringLiteral("%1/%2/%3 %4")
        .arg(s.chosenGroup())
        .arg(s.chosenSubGroup())
        .arg(words.isEmpty() ? QStringLiteral("-") : words.join(u','))
        .arg(!kind                     ? QStringLiteral("none")
             : *kind == Kind::Group    ? QStringLiteral("group")
             : *kind == Kind::SubGroup ? QStringLiteral("sub")
                                       : QStringLiteral("word"));
}

qint64 keyOf(const MakerSession& s, const QString& word) {
    for (const DeckWord& w : s.editor()->deck().words)
        if (w.word == word)
            return w.key;
    return 0;
}

} // namespace

class TestMakerSession : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int decks = 0;

    // Group 1 "a" with sub-groups 1 (cat, dog, fox) and 2 (egg); group 2 "b" with sub-group 1
    // (sun); slot 3 empty.
    QString makeDeck(QString name = {}) {
        if (name.isEmpty())
            name = QStringLiteral("d%1").arg(++decks);
        const QString path =
            dir.filePath(name + QStringLiteral("/") + name + QStringLiteral(".pml"));
        DeckEditor::create(path);
        DeckEditor d(path);
        d.addGroup(QStringLiteral("a"));
        d.addGroup(QStringLiteral("b"));
        d.addSubGroup(1);
        d.addSubGroup(1);
        d.addSubGroup(2);
        for (const QString& w :
             {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("fox")})
            d.addWord(1, 1, {w, QStringLiteral("m"), {}, {}});
        d.addWord(1, 2, {QStringLiteral("egg"), {}, {}, {}});
        d.addWord(2, 1, {QStringLiteral("sun"), {}, {}, {}});
        return path;
    }

  private slots:
    void cleanup() { WordDataFile::closeAll(); }

    void choicesAndChangesKeepRowsTheDeckHas_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, Step step, const char* expected) {
            QTest::newRow(name) << step << QString::fromUtf8(expected);
        };
        row(
            "opened: first slot, sub-group and word", [](MakerSession&) {}, "1/1/cat group");
        row(
            "another group: its first sub-group and word", [](MakerSession& s) { s.chooseSlot(2); },
            "2/1/sun group");
        row(
            "an empty slot: nothing below it, no form", [](MakerSession& s) { s.chooseSlot(3); },
            "0/0/- none");
        row(
            "a sub-group number the group has is kept across groups",
            [](MakerSession& s) {
                s.chooseSubGroup(2);
                s.chooseSlot(2);
            },
            "2/1/sun group");
        row(
            "words chosen: those still there, current first",
            [](MakerSession& s) {
                s.chooseWords(
                    {keyOf(s, QStringLiteral("fox")), 999, keyOf(s, QStringLiteral("cat"))});
                s.show(Kind::Word);
            },
            "1/1/fox,cat word");
        row(
            "the words' form falls back to their sub-group's",
            [](MakerSession& s) {
                s.show(Kind::Word);
                s.chooseSubGroup(2);
                s.remove(Kind::Word);
            },
            "1/2/- sub");
        row(
            "removing the chosen word chooses the next",
            [](MakerSession& s) {
                s.chooseWords({keyOf(s, QStringLiteral("dog"))});
                s.remove(Kind::Word);
            },
            "1/1/fox group");
        row(
            "removing the last word chooses the one before",
            [](MakerSession& s) {
                s.chooseWords({keyOf(s, QStringLiteral("fox"))});
                s.remove(Kind::Word);
            },
            "1/1/dog group");
        row(
            "removing a sub-group chooses the first left",
            [](MakerSession& s) {
                s.chooseSubGroup(1);
                s.remove(Kind::SubGroup);
            },
            "1/2/egg group");
        row(
            "removing the group leaves its slot chosen, empty",
            [](MakerSession& s) { s.remove(Kind::Group); }, "0/0/- none");
        row(
            "a word added is chosen, its form shown",
            [](MakerSession& s) { QVERIFY(s.add(Kind::Word) > 0); }, "1/1/ word");
        row(
            "a sub-group added is chosen",
            [](MakerSession& s) { QCOMPARE(s.add(Kind::SubGroup), 3); }, "1/3/- sub");
        row(
            "a group added goes in the free slot",
            [](MakerSession& s) { QCOMPARE(s.add(Kind::Group), 3); }, "3/0/- group");
        row(
            "nothing added under an empty slot",
            [](MakerSession& s) {
                s.chooseSlot(3);
                QCOMPARE(s.add(Kind::SubGroup), 0);
                QCOMPARE(s.add(Kind::Word), 0);
            },
            "0/0/- none");
        row(
            "a moved word stays chosen",
            [](MakerSession& s) {
                s.chooseWords({keyOf(s, QStringLiteral("cat"))});
                const qint64 moved = s.move(Kind::Word, +1); // trades keys with dog
                QCOMPARE(moved, keyOf(s, QStringLiteral("cat")));
                QCOMPARE(s.editor()->wordsOf(1, 1).first().word, QStringLiteral("dog"));
            },
            "1/1/cat word");
        row(
            "several words are not moved",
            [](MakerSession& s) {
                s.chooseWords({keyOf(s, QStringLiteral("cat")), keyOf(s, QStringLiteral("dog"))});
                QCOMPARE(s.move(Kind::Word, +1), 0);
            },
            "1/1/cat,dog group");
        row(
            "a moved group takes its new slot",
            [](MakerSession& s) { QCOMPARE(s.move(Kind::Group, +1), 2); }, "2/1/cat group");
        row(
            "a moved sub-group keeps its words",
            [](MakerSession& s) { QCOMPARE(s.move(Kind::SubGroup, +1), 2); }, "1/2/cat sub");
        row(
            "a check's row: a word",
            [](MakerSession& s) { s.chooseRow(Kind::Word, 1, 2, keyOf(s, QStringLiteral("egg"))); },
            "1/2/egg word");
        row(
            "a check's row: a group", [](MakerSession& s) { s.chooseRow(Kind::Group, 2, 0, 0); },
            "2/1/sun group");
        row(
            "the file changed by another program",
            [](MakerSession& s) {
                DeckEditor other(s.editor()->path());
                other.removeWords({keyOf(s, QStringLiteral("cat"))});
                s.reload();
            },
            "1/1/dog group");
    }
    void choicesAndChangesKeepRowsTheDeckHas() {
        QFETCH(Step, step);
        QFETCH(QString, expected);
        MakerSession session;
        session.open(makeDeck());
        step(session);
        QCOMPARE(chosen(session), expected);
    }

    void removeQuestionsNameWhatGoes_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("question");
        QTest::newRow("group") << Step([](MakerSession&) {}) << int(Kind::Group)
                               << QStringLiteral("グループ「a」を 削除しますか？\n小グループ 2個と "
                                                 "単語 4個も いっしょに 削除されます。");
        QTest::newRow("sub-group") << Step([](MakerSession&) {}) << int(Kind::SubGroup)
                                   << QStringLiteral("小グループ 1-1 を 削除しますか？\n単語 3個も "
                                                     "いっしょに 削除されます。");
        QTest::newRow("words") << Step([](MakerSession& s) {
            s.chooseWords({keyOf(s, QStringLiteral("cat")), keyOf(s, QStringLiteral("dog"))});
        }) << int(Kind::Word) << QStringLiteral("選んだ単語 2個を 削除しますか？");
        QTest::newRow("a word without English, by its meaning") << Step([](MakerSession& s) {
            s.editor()->setWordTexts(keyOf(s, QStringLiteral("cat")),
                                     {{}, QStringLiteral("ねこ"), {}, {}});
        }) << int(Kind::Word) << QStringLiteral("単語「ねこ」を 削除しますか？");
        QTest::newRow("nothing chosen, nothing asked")
            << Step([](MakerSession& s) { s.chooseSlot(3); }) << int(Kind::Group) << QString();
    }
    void removeQuestionsNameWhatGoes() {
        QFETCH(Step, step);
        QFETCH(int, kind);
        QFETCH(QString, question);
        MakerSession session;
        session.open(makeDeck());
        step(session);
        session.chooseWords(session.chosenWords()); // settled after the step's own changes
        QCOMPARE(session.removeQuestion(Kind(kind)), question);
    }

    // A take's result goes to the word it began for, or nowhere.
    void takesBelongToTheirWord_data() {
        QTest::addColumn<Step>("meanwhile");
        QTest::addColumn<bool>("kept");
        QTest::newRow("nothing happened") << Step([](MakerSession&) {}) << true;
        QTest::newRow("another word chosen")
            << Step([](MakerSession& s) { s.chooseSlot(2); }) << true;
        QTest::newRow("the word removed")
            << Step([](MakerSession& s) { s.remove(Kind::Word); }) << false;
        QTest::newRow("the same deck opened again")
            << Step([](MakerSession& s) { s.open(s.editor()->path()); }) << true;
    }
    void takesBelongToTheirWord() {
        QFETCH(Step, meanwhile);
        QFETCH(bool, kept);
        MakerSession session;
        session.open(makeDeck());
        const qint64 cat = keyOf(session, QStringLiteral("cat"));
        session.beginTake(cat);
        meanwhile(session);
        QCOMPARE(session.endTake(), kept ? cat : 0);
        QCOMPARE(session.endTake(), 0); // ended once
    }

    void takeOfAnotherDeckIsDropped() {
        MakerSession session;
        session.open(makeDeck(QStringLiteral("one")));
        session.beginTake(keyOf(session, QStringLiteral("cat")));
        session.open(makeDeck(QStringLiteral("two"))); // the same keys, another deck
        QCOMPARE(session.endTake(), 0);
    }

    void picturesAndVoicesGetNamesOfTheirOwn() {
        MakerSession session;
        session.open(makeDeck());
        QCOMPARE(session.pictureTarget().name, QStringLiteral("group1"));
        session.show(Kind::SubGroup);
        QCOMPARE(session.pictureTarget().name, QStringLiteral("sub1-1"));
        session.show(Kind::Word);
        const MakerSession::PictureTarget word = session.pictureTarget();
        QCOMPARE(word.name, QStringLiteral("cat"));
        session.setPicture(word);
        QCOMPARE(session.editor()->word(keyOf(session, QStringLiteral("cat")))->images,
                 QStringLiteral("cat"));
        QCOMPARE(session.voiceNameFor(keyOf(session, QStringLiteral("dog"))),
                 QStringLiteral("dog"));
    }

    // A deck written out as CSV holds the same rows, and so does a copy, each with the media
    // found as the screens find them.
    void copiesAndCsvFoldersHoldTheSameRows() {
        MakerSession session;
        session.open(makeDeck());
        const QString picture = session.editor()->folder() + QStringLiteral("images/Cat.JPG");
        QDir().mkpath(QFileInfo(picture).path());
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("jpeg");
        file.close();
        session.editor()->setWordPicture(keyOf(session, QStringLiteral("cat")),
                                         QStringLiteral("cat"));
        session.editor()->setWordVoice(keyOf(session, QStringLiteral("cat")),
                                       QStringLiteral("cat")); // not recorded yet

        QStringList missing;
        const QString csv = dir.filePath(QStringLiteral("csv"));
        QCOMPARE(session.exportCsv(csv, missing), QString());
        QVERIFY(QFile::exists(csv + QStringLiteral("/images/cat.jpg"))); // found as the screens do
        QVERIFY(missing.contains(QStringLiteral("voice/cat.wav")));

        Deck exported = DeckCsv::readUnchecked(csv).deck;
        for (DeckGroup& g : exported.groups) // read from CSV, the rows carry their lines
            g.line = 0;
        for (DeckSubGroup& sg : exported.subGroups)
            sg.line = 0;
        for (DeckWord& w : exported.words)
            w.line = 0;
        QCOMPARE(exported, session.editor()->deck());

        // The folder lacks pictures and voices the build requires: nothing is built.
        QString error;
        const QString built = dir.filePath(QStringLiteral("built/built.pml"));
        QVERIFY(!MakerSession::buildFromCsv(csv, built, error).isEmpty());
        QVERIFY(!QFile::exists(built));

        const QString copy = dir.filePath(QStringLiteral("copy/copy.pml"));
        QCOMPARE(session.saveCopy(copy), QString());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("copy/images/cat.jpg"))));
        MakerSession other;
        other.open(copy);
        QCOMPARE(other.editor()->deck(), session.editor()->deck());
    }

    void buildsADeckFromACompleteCsvFolder() {
        const QString csv = dir.filePath(QStringLiteral("complete"));
        DeckFolder::write(csv, DeckFolder::base());
        QString error;
        const QString built = dir.filePath(QStringLiteral("complete-built/c.pml"));
        QCOMPARE(MakerSession::buildFromCsv(csv, built, error).size(), 0);
        QCOMPARE(error, QString());
        MakerSession session;
        session.open(built);
        QCOMPARE(session.editor()->deck(), DeckFolder::withoutLines(DeckCsv::read(csv).deck));
    }

    void refusesToExportMediaNamesOutsideTheFolder() {
        MakerSession session;
        session.open(makeDeck());
        session.editor()->setWordVoice(keyOf(session, QStringLiteral("cat")),
                                       QStringLiteral("../x"));
        QStringList missing;
        const QString csv = dir.filePath(QStringLiteral("unplain"));
        QVERIFY(session.exportCsv(csv, missing).contains(QStringLiteral("../x")));
        QVERIFY(!QFile::exists(csv + QStringLiteral("/words.csv")));
    }
};

QTEST_GUILESS_MAIN(TestMakerSession)
#include "tst_makersession.moc"
