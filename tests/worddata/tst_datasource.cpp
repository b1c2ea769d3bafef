// The data source's cursor, find, edit and update: what the screens walk and write.
#include "deckfixture.h"
#include "statements.h"
#include "worddatafile.h"
#include "worddatatest.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using Reason = DataError::Reason;

// g1 s1 (marked): keys 1..3 at level 1; g1 s2 (marked): keys 4, 5 at level 1, key 6 at
// level 0 with every optional field set; g1 s3 (not marked): keys 7, 8 at level 1.
class TestDataSource : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file_;

    DataSource open(const auto& source) const { return opened(file_, source); }
    // What another process reads from the file: only what is committed.
    QVariant stored(const QString& sql) const { return DeckFixture::scalar(file_, sql); }

  private slots:
    void init() {
        file_ = dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                              QStringLiteral(".pml"));
        QFile::remove(file_);
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2, true).subGroup(1, 3);
        deck.words(1, 1, 1, 3, 1).words(1, 2, 1, 2, 4).words(1, 3, 1, 2, 7);
        deck.word({.key = 6,
                   .group = 1,
                   .sgroup = 2,
                   .word = QStringLiteral("cat"),
                   .meaning = QStringLiteral("ねこ"),
                   .text1 = QStringLiteral("a black cat"),
                   .text2 = QStringLiteral("1-02-03"),
                   .filler1 = 7,
                   .filler2 = QStringLiteral("x"),
                   .filler3 = QStringLiteral("y")});
        deck.write(file_);
    }
    void cleanup() { WordDataFile::closeAll(); }

    void cursorWalksBothWaysAndStopsAtTheEnds() {
        DataSource data = open(Statements::levelWordsAfter(1, 0));
        QCOMPARE(data.RecordCount(), 5);
        QVERIFY(!data.Bof() && !data.Eof());
        QCOMPARE(data.field(QStringLiteral("KEY")).toInt(), 1); // names are case-insensitive
        for (int i = 0; i < 5; ++i)
            data.MoveNext();
        QVERIFY(data.Eof());
        data.MoveNext(); // stays at the end
        QVERIFY(data.Eof());
        QCOMPARE(failure([&] { data.field(QStringLiteral("key")); }), Reason::NoCurrentRow);
        data.MovePrevious(); // from past the end to the last row
        QCOMPARE(data.field(QStringLiteral("key")).toInt(), 5);
        for (int i = 0; i < 5; ++i)
            data.MovePrevious();
        QVERIFY(data.Bof() && !data.Eof());
        data.MovePrevious();
        QVERIFY(data.Bof());
        data.MoveNext();
        QCOMPARE(data.field(QStringLiteral("key")).toInt(), 1);
        QCOMPARE(failure([&] { data.field(QStringLiteral("nosuch")); }), Reason::Misuse);

        data = open(Statements::levelWordsAfter(4, 0));
        QVERIFY(data.Eof() && data.Bof());
        QCOMPARE(data.RecordCount(), 0);
        QCOMPARE(failure([&] { data.Edit(); }), Reason::NoCurrentRow);
    }

    void nullFieldsReadEmptyAndSetFieldsReadBack() {
        DataSource data = open(Statements::levelWordsAfter(0, 0));
        QCOMPARE(data.RecordCount(), 1);
        QCOMPARE(data.field(QStringLiteral("meaning")).toString(), QStringLiteral("ねこ"));
        QCOMPARE(data.field(QStringLiteral("text2")).toString(), QStringLiteral("1-02-03"));
        QCOMPARE(data.field(QStringLiteral("filler1")).toInt(), 7);
        data = open(Statements::levelWordsAfter(1, 0));
        QCOMPARE(data.field(QStringLiteral("word")).toString(), QStringLiteral("word1"));
        for (const QString& name :
             {QStringLiteral("meaning"), QStringLiteral("text1"), QStringLiteral("text2"),
              QStringLiteral("filler1"), QStringLiteral("filler2"), QStringLiteral("filler3")})
            QVERIFY2(!data.field(name).isValid(), qPrintable(name));
    }

    void findFirst_data() {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("key"); // 0: no match, -1: not a criterion of ours
        QTest::newRow("as the screens write it") << QStringLiteral("key = 4") << 4;
        QTest::newRow("without blanks") << QStringLiteral("key=5") << 5;
        QTest::newRow("first of several") << QStringLiteral("level = 1") << 1;
        QTest::newRow("not in the result") << QStringLiteral("key = 7") << 0;
        QTest::newRow("no such key") << QStringLiteral("key = 99") << 0;
        QTest::newRow("text value") << QStringLiteral("word = 'cat'") << -1;
        QTest::newRow("other operator") << QStringLiteral("key > 3") << -1;
        QTest::newRow("two terms") << QStringLiteral("key = 3 or 1 = 1") << -1;
        QTest::newRow("field not in the result") << QStringLiteral("group = 1") << -1;
    }

    void findFirst() {
        QFETCH(QString, criterion);
        QFETCH(int, key);
        DataSource data = open(Statements::levelWordsAfter(1, 0));
        data.MoveNext();
        data.MoveNext();
        if (key < 0) {
            QCOMPARE(failure([&] { data.FindFirst(criterion); }), Reason::Misuse);
            return;
        }
        data.FindFirst(criterion); // searches from the first row
        QCOMPARE(data.NoMatch(), key == 0);
        if (key != 0) {
            QCOMPARE(data.field(QStringLiteral("key")).toInt(), key);
        } else {
            // No row is current, so an edit that ignores NoMatch cannot change another word.
            QVERIFY(data.Eof());
            QCOMPARE(failure([&] { data.Edit(); }), Reason::NoCurrentRow);
        }
    }

    void gradingIsCommittedAndTheCursorStays() {
        DataSource data = open(Statements::levelWordsAfter(1, 0));
        data.FindFirst(QStringLiteral("key = 2"));
        data.Edit();
        data.setField(QStringLiteral("level"), 3);
        data.setField(QStringLiteral("times"), 1);
        QCOMPARE(data.field(QStringLiteral("level")).toInt(),
                 3); // reads as assigned during the edit
        data.Update();
        QVERIFY(!data.isEditing());
        QCOMPARE(stored(QStringLiteral("SELECT level || '/' || times FROM word WHERE key = 2"))
                     .toString(),
                 QStringLiteral("3/1"));
        QVERIFY(!QFile::exists(file_ + QStringLiteral("-journal")));
        // The row stays in this result with its new values; walking goes on after it.
        QCOMPARE(data.field(QStringLiteral("level")).toInt(), 3);
        data.MoveNext();
        QCOMPARE(data.field(QStringLiteral("key")).toInt(), 3);
        QCOMPARE(data.RecordCount(), 5);
        // Results opened afterwards, through any data source, see the change.
        QCOMPARE(open(Statements::levelWordsAfter(1, 0)).RecordCount(), 4);
        QCOMPARE(open(Statements::levelWordsAfter(3, 0)).field(QStringLiteral("times")).toInt(), 1);
    }

    // A result open beside a write keeps the rows it had when it was opened (the write
    // moves key 2 behind key 3 in the engine's walk), and the write is committed at once
    // although results are still open.
    void openResultKeepsItsRowsWhenAnotherWrites() {
        DataSource reading = open(QStringLiteral("select_word"));
        QCOMPARE(reading.field(QStringLiteral("key")).toInt(), 1);
        DataSource grading = open(Statements::levelWordsAfter(1, 0));
        grading.FindFirst(QStringLiteral("key = 2"));
        grading.Edit();
        grading.setField(QStringLiteral("level"), 5);
        grading.Update();
        QCOMPARE(stored(QStringLiteral("SELECT level FROM word WHERE key = 2")).toInt(), 5);
        QList<int> keys;
        for (; !reading.Eof(); reading.MoveNext())
            keys.append(reading.field(QStringLiteral("key")).toInt() * 10 +
                        reading.field(QStringLiteral("level")).toInt());
        QCOMPARE(keys, (QList<int>{11, 21, 31, 60, 41, 51})); // key * 10 + level
        QCOMPARE(reading.RecordCount(), 6);
    }

    void markWrittenThroughSelectedReachesTheWordViews() {
        DataSource mark = open(Statements::selectedSubGroup(1, 3));
        mark.Edit();
        mark.setField(QStringLiteral("select"), true);
        mark.Update();
        QCOMPARE(open(Statements::levelWordsAfter(1, 0)).RecordCount(), 7);
    }

    void refusedWritesChangeNothing_data() {
        QTest::addColumn<QString>("source"); // stored name
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Reason>("reason");
        QTest::newRow("read-only record source")
            << QStringLiteral("ordered") << QStringLiteral("images") << QVariant(1)
            << Reason::Misuse;
        QTest::newRow("read-only field") << QStringLiteral("select_word") << QStringLiteral("word")
                                         << QVariant(QStringLiteral("x")) << Reason::Misuse;
        QTest::newRow("level out of range")
            << QStringLiteral("select_word") << QStringLiteral("level") << QVariant(6)
            << Reason::Engine;
        QTest::newRow("negative times") << QStringLiteral("select_word") << QStringLiteral("times")
                                        << QVariant(-1) << Reason::Engine;
        QTest::newRow("Null level") << QStringLiteral("select_word") << QStringLiteral("level")
                                    << QVariant() << Reason::Engine;
    }

    void refusedWritesChangeNothing() {
        QFETCH(QString, source);
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(Reason, reason);
        const QByteArray before = contents(file_);
        DataSource data = open(source);
        const QVariant old = data.field(field);
        QCOMPARE(failure([&] {
                     data.Edit();
                     data.setField(field, value);
                     data.Update();
                 }),
                 reason);
        QVERIFY(!data.isEditing());
        QCOMPARE(data.field(field), old);
        WordDataFile::closeAll();
        QCOMPARE(contents(file_), before);
    }

    void assignmentOutsideAnEditIsRefused() {
        DataSource data = open(QStringLiteral("select_word"));
        QCOMPARE(failure([&] { data.setField(QStringLiteral("level"), 1); }), Reason::Misuse);
        QCOMPARE(failure([&] { data.Update(); }), Reason::Misuse);
        data.Edit();
        data.setField(QStringLiteral("level"), 2);
        data.MoveNext(); // moving drops the edit
        QVERIFY(!data.isEditing());
        QCOMPARE(stored(QStringLiteral("SELECT count(*) FROM word WHERE level = 2")).toInt(), 0);
    }

    void rowThatLeftTheRecordSourceIsNotWritten() {
        DataSource words = open(Statements::levelWordsAfter(1, 0));
        open(QStringLiteral("selected"))
            .updateAll({{QStringLiteral("select"), false}}); // another form clears the marks
        words.Edit();
        words.setField(QStringLiteral("level"), 2);
        QCOMPARE(failure([&] { words.Update(); }), Reason::NoCurrentRow);
        QCOMPARE(stored(QStringLiteral("SELECT level FROM word WHERE key = 1")).toInt(), 1);
    }

    void resetWritesEveryRowInOneTransaction() {
        DataSource data = open(QStringLiteral("select_word"));
        data.MoveNext();
        data.updateAll({{QStringLiteral("level"), 0}, {QStringLiteral("times"), 0}});
        QCOMPARE(data.field(QStringLiteral("key")).toInt(), 2); // the cursor did not move
        QCOMPARE(data.field(QStringLiteral("level")).toInt(), 0);
        // Marked sub-groups only: 7 and 8 keep their level.
        QCOMPARE(stored(QStringLiteral("SELECT group_concat(key) FROM word WHERE level <> 0"))
                     .toString(),
                 QStringLiteral("7,8"));
        // Opened before another data source marks sub-group 3: its mark is cleared too.
        DataSource marks = open(QStringLiteral("selected"));
        DataSource third = open(Statements::selectedSubGroup(1, 3));
        third.Edit();
        third.setField(QStringLiteral("select"), true);
        third.Update();
        marks.updateAll({{QStringLiteral("select"), false}});
        QCOMPARE(stored(QStringLiteral("SELECT sum(\"select\") FROM subgroup")).toInt(), 0);
        QCOMPARE(open(QStringLiteral("select_word")).RecordCount(), 0);
    }

    void failedResetWritesNoRow() {
        // A word that the engine refuses to change half-way through the reset (a trigger not
        // ours: added after opening, which would refuse it).
        DataSource data = open(QStringLiteral("select_word"));
        QCoreApplication::processEvents(); // the result lets go of the file between events
        DeckFixture::execute(
            file_, {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON word WHEN OLD.key = 4"
                                   " BEGIN SELECT RAISE(ABORT, 'refused'); END")});
        QCOMPARE(failure([&] { data.updateAll({{QStringLiteral("level"), 0}}); }), Reason::Engine);
        QCOMPARE(stored(QStringLiteral("SELECT count(*) FROM word WHERE level = 0")).toInt(), 1);
        QCOMPARE(data.field(QStringLiteral("level")).toInt(), 1);
        // The connection is usable again afterwards (no transaction left open).
        data.Edit();
        data.setField(QStringLiteral("times"), 9);
        data.Update();
        QCOMPARE(stored(QStringLiteral("SELECT times FROM word WHERE key = 1")).toInt(), 9);
    }
};

QTEST_GUILESS_MAIN(TestDataSource)
#include "tst_datasource.moc"
