// The data source's cursor, find, edit and update: what the screens walk and write.
#include "deckfixture.h"
#include "statements.h"
#include "worddatafile.h"
#include "worddatatest.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
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
        file_ = dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u".pml"_s);
        QFile::remove(file_);
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2, true).subGroup(1, 3);
        deck.words(1, 1, 1, 3, 1).words(1, 2, 1, 2, 4).words(1, 3, 1, 2, 7);
        deck.word({.key = 6,
                   .group = 1,
                   .sgroup = 2,
                   .word = u"cat"_s,
                   .meaning = u"ねこ"_s,
                   .text1 = u"a black cat"_s,
                   .text2 = u"1-02-03"_s,
                   .filler1 = 7,
                   .filler2 = u"x"_s,
                   .filler3 = u"y"_s});
        deck.write(file_);
    }
    void cleanup() { WordDataFile::closeAll(); }

    void cursorWalksBothWaysAndStopsAtTheEnds() {
        DataSource data = open(Statements::levelWordsAfter(1, 0));
        QCOMPARE(data.RecordCount(), 5);
        QVERIFY(!data.Bof() && !data.Eof());
        QCOMPARE(data.field(u"KEY"_s).toInt(), 1); // names are case-insensitive
        for (int i = 0; i < 5; ++i)
            data.MoveNext();
        QVERIFY(data.Eof());
        data.MoveNext(); // stays at the end
        QVERIFY(data.Eof());
        QCOMPARE(failure([&] { data.field(u"key"_s); }), Reason::NoCurrentRow);
        data.MovePrevious(); // from past the end to the last row
        QCOMPARE(data.field(u"key"_s).toInt(), 5);
        for (int i = 0; i < 5; ++i)
            data.MovePrevious();
        QVERIFY(data.Bof() && !data.Eof());
        data.MovePrevious();
        QVERIFY(data.Bof());
        data.MoveNext();
        QCOMPARE(data.field(u"key"_s).toInt(), 1);
        QCOMPARE(failure([&] { data.field(u"nosuch"_s); }), Reason::Misuse);

        data = open(Statements::levelWordsAfter(4, 0));
        QVERIFY(data.Eof() && data.Bof());
        QCOMPARE(data.RecordCount(), 0);
        QCOMPARE(failure([&] { data.Edit(); }), Reason::NoCurrentRow);
    }

    void nullFieldsReadEmptyAndSetFieldsReadBack() {
        DataSource data = open(Statements::levelWordsAfter(0, 0));
        QCOMPARE(data.RecordCount(), 1);
        QCOMPARE(data.field(u"meaning"_s).toString(), u"ねこ"_s);
        QCOMPARE(data.field(u"text2"_s).toString(), u"1-02-03"_s);
        QCOMPARE(data.field(u"filler1"_s).toInt(), 7);
        data = open(Statements::levelWordsAfter(1, 0));
        QCOMPARE(data.field(u"word"_s).toString(), u"word1"_s);
        for (const QString& name :
             {u"meaning"_s, u"text1"_s, u"text2"_s, u"filler1"_s, u"filler2"_s, u"filler3"_s})
            QVERIFY2(!data.field(name).isValid(), qPrintable(name));
    }

    void findFirst_data() {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("key"); // 0: no match, -1: not a criterion of ours
        QTest::newRow("as the screens write it") << u"key = 4"_s << 4;
        QTest::newRow("without blanks") << u"key=5"_s << 5;
        QTest::newRow("first of several") << u"level = 1"_s << 1;
        QTest::newRow("not in the result") << u"key = 7"_s << 0;
        QTest::newRow("no such key") << u"key = 99"_s << 0;
        QTest::newRow("text value") << u"word = 'cat'"_s << -1;
        QTest::newRow("other operator") << u"key > 3"_s << -1;
        QTest::newRow("two terms") << u"key = 3 or 1 = 1"_s << -1;
        QTest::newRow("field not in the result") << u"group = 1"_s << -1;
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
            QCOMPARE(data.field(u"key"_s).toInt(), key);
        } else {
            // No row is current, so an edit that ignores NoMatch cannot change another word.
            QVERIFY(data.Eof());
            QCOMPARE(failure([&] { data.Edit(); }), Reason::NoCurrentRow);
        }
    }

    void gradingIsCommittedAndTheCursorStays() {
        DataSource data = open(Statements::levelWordsAfter(1, 0));
        data.FindFirst(u"key = 2"_s);
        data.Edit();
        data.setField(u"level"_s, 3);
        data.setField(u"times"_s, 1);
        QCOMPARE(data.field(u"level"_s).toInt(), 3); // reads as assigned during the edit
        data.Update();
        QVERIFY(!data.isEditing());
        QCOMPARE(stored(u"SELECT level || '/' || times FROM word WHERE key = 2"_s).toString(),
                 u"3/1"_s);
        QVERIFY(!QFile::exists(file_ + u"-journal"_s));
        // The row stays in this result with its new values; walking goes on after it.
        QCOMPARE(data.field(u"level"_s).toInt(), 3);
        data.MoveNext();
        QCOMPARE(data.field(u"key"_s).toInt(), 3);
        QCOMPARE(data.RecordCount(), 5);
        // Results opened afterwards, through any data source, see the change.
        QCOMPARE(open(Statements::levelWordsAfter(1, 0)).RecordCount(), 4);
        QCOMPARE(open(Statements::levelWordsAfter(3, 0)).field(u"times"_s).toInt(), 1);
    }

    // A result open beside a write keeps the rows it had when it was opened (the write
    // moves key 2 behind key 3 in the engine's walk), and the write is committed at once
    // although results are still open.
    void openResultKeepsItsRowsWhenAnotherWrites() {
        DataSource reading = open(u"select_word"_s);
        QCOMPARE(reading.field(u"key"_s).toInt(), 1);
        DataSource grading = open(Statements::levelWordsAfter(1, 0));
        grading.FindFirst(u"key = 2"_s);
        grading.Edit();
        grading.setField(u"level"_s, 5);
        grading.Update();
        QCOMPARE(stored(u"SELECT level FROM word WHERE key = 2"_s).toInt(), 5);
        QList<int> keys;
        for (; !reading.Eof(); reading.MoveNext())
            keys.append(reading.field(u"key"_s).toInt() * 10 + reading.field(u"level"_s).toInt());
        QCOMPARE(keys, (QList<int>{11, 21, 31, 60, 41, 51})); // key * 10 + level
        QCOMPARE(reading.RecordCount(), 6);
    }

    void markWrittenThroughSelectedReachesTheWordViews() {
        DataSource mark = open(Statements::selectedSubGroup(1, 3));
        mark.Edit();
        mark.setField(u"select"_s, true);
        mark.Update();
        QCOMPARE(open(Statements::levelWordsAfter(1, 0)).RecordCount(), 7);
    }

    void refusedWritesChangeNothing_data() {
        QTest::addColumn<QString>("source"); // stored name
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Reason>("reason");
        QTest::newRow("read-only record source")
            << u"ordered"_s << u"images"_s << QVariant(1) << Reason::Misuse;
        QTest::newRow("read-only field")
            << u"select_word"_s << u"word"_s << QVariant(u"x"_s) << Reason::Misuse;
        QTest::newRow("level out of range")
            << u"select_word"_s << u"level"_s << QVariant(6) << Reason::Engine;
        QTest::newRow("negative times")
            << u"select_word"_s << u"times"_s << QVariant(-1) << Reason::Engine;
        QTest::newRow("Null level")
            << u"select_word"_s << u"level"_s << QVariant() << Reason::Engine;
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
        DataSource data = open(u"select_word"_s);
        QCOMPARE(failure([&] { data.setField(u"level"_s, 1); }), Reason::Misuse);
        QCOMPARE(failure([&] { data.Update(); }), Reason::Misuse);
        data.Edit();
        data.setField(u"level"_s, 2);
        data.MoveNext(); // moving drops the edit
        QVERIFY(!data.isEditing());
        QCOMPARE(stored(u"SELECT count(*) FROM word WHERE level = 2"_s).toInt(), 0);
    }

    void rowThatLeftTheRecordSourceIsNotWritten() {
        DataSource words = open(Statements::levelWordsAfter(1, 0));
        open(u"selected"_s).updateAll({{u"select"_s, false}}); // another form clears the marks
        words.Edit();
        words.setField(u"level"_s, 2);
        QCOMPARE(failure([&] { words.Update(); }), Reason::NoCurrentRow);
        QCOMPARE(stored(u"SELECT level FROM word WHERE key = 1"_s).toInt(), 1);
    }

    void resetWritesEveryRowInOneTransaction() {
        DataSource data = open(u"select_word"_s);
        data.MoveNext();
        data.updateAll({{u"level"_s, 0}, {u"times"_s, 0}});
        QCOMPARE(data.field(u"key"_s).toInt(), 2); // the cursor did not move
        QCOMPARE(data.field(u"level"_s).toInt(), 0);
        // Marked sub-groups only: 7 and 8 keep their level.
        QCOMPARE(stored(u"SELECT group_concat(key) FROM word WHERE level <> 0"_s).toString(),
                 u"7,8"_s);
        // Opened before another data source marks sub-group 3: its mark is cleared too.
        DataSource marks = open(u"selected"_s);
        DataSource third = open(Statements::selectedSubGroup(1, 3));
        third.Edit();
        third.setField(u"select"_s, true);
        third.Update();
        marks.updateAll({{u"select"_s, false}});
        QCOMPARE(stored(u"SELECT sum(\"select\") FROM subgroup"_s).toInt(), 0);
        QCOMPARE(open(u"select_word"_s).RecordCount(), 0);
    }

    void failedResetWritesNoRow() {
        // A word that the engine refuses to change half-way through the reset (a trigger not
        // ours: added after opening, which would refuse it).
        DataSource data = open(u"select_word"_s);
        QCoreApplication::processEvents(); // the result lets go of the file between events
        DeckFixture::execute(file_, {u"CREATE TRIGGER refuse BEFORE UPDATE ON word WHEN OLD.key = 4"
                                     u" BEGIN SELECT RAISE(ABORT, 'refused'); END"_s});
        QCOMPARE(failure([&] { data.updateAll({{u"level"_s, 0}}); }), Reason::Engine);
        QCOMPARE(stored(u"SELECT count(*) FROM word WHERE level = 0"_s).toInt(), 1);
        QCOMPARE(data.field(u"level"_s).toInt(), 1);
        // The connection is usable again afterwards (no transaction left open).
        data.Edit();
        data.setField(u"times"_s, 9);
        data.Update();
        QCOMPARE(stored(u"SELECT times FROM word WHERE key = 1"_s).toInt(), 9);
    }
};

QTEST_GUILESS_MAIN(TestDataSource)
#include "tst_datasource.moc"
