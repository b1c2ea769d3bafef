// The statements the screens open, on a small deck: selection, order and values.
#include "datasource.h"
#include "deckfixture.h"
#include "statements.h"
#include "worddatafile.h"
#include "worddataformat.h"
#include "worddatatest.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using Tally = QMap<int, int>; // level -> count
Q_DECLARE_METATYPE(Statement)

// Group 1 has sub-groups 1..9; 1 and 2 are marked and their keys interleave. Group 2 has a
// sub-group without words; group 3 has none.
//   g1 s1 (marked): 10 L0, 12 L0, 14 L1, 16 L3, 18 L5
//   g1 s2 (marked): 11 L1, 13 L1, 15 L1
//   g1 s3:          30 L0, 31 L1
class TestStatements : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file_;

    DataSource open(const Statement& statement) const { return opened(file_, statement); }

    static QList<int> column(DataSource& data, const QString& name) {
        QList<int> values;
        for (; !data.Eof(); data.MoveNext())
            values.append(data.field(name).toInt());
        return values;
    }

    static Tally tally(DataSource& data) {
        Tally counts;
        for (; !data.Eof(); data.MoveNext())
            counts[data.field(QStringLiteral("level")).toInt()] +=
                data.field(QStringLiteral("count")).toInt();
        return counts;
    }

  private slots:
    void initTestCase() {
        file_ = dir_.filePath(QStringLiteral("deck.pml"));
        DeckFixture deck;
        deck.group(1).group(2).group(3);
        for (int s = 1; s <= 9; ++s)
            deck.subGroup(1, s, s <= 2);
        deck.subGroup(2, 1);
        const int s1[][2] = {{10, 0}, {12, 0}, {14, 1}, {16, 3}, {18, 5}};
        for (const auto& [key, level] : s1)
            deck.word({.key = key, .group = 1, .sgroup = 1, .level = level});
        for (int key : {11, 13, 15})
            deck.word({.key = key, .group = 1, .sgroup = 2, .level = 1});
        deck.word({.key = 30, .group = 1, .sgroup = 3, .level = 0});
        deck.word({.key = 31, .group = 1, .sgroup = 3, .level = 1});
        deck.write(file_);
    }

    void cleanupTestCase() { WordDataFile::closeAll(); }

    void subGroupPage_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("first");
        QTest::addColumn<QList<int>>("sgroups");
        QTest::newRow("from the start") << 1 << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("from a sub-group on") << 1 << 8 << QList<int>{8, 9};
        QTest::newRow("past the last") << 1 << 10 << QList<int>{};
        QTest::newRow("group without words") << 2 << 0 << QList<int>{1};
        QTest::newRow("group without sub-groups") << 3 << 0 << QList<int>{};
    }

    void subGroupPage() {
        QFETCH(int, group);
        QFETCH(int, first);
        QFETCH(QList<int>, sgroups);
        DataSource data = open(Statements::subGroupPage(group, first));
        QCOMPARE(data.RecordCount(), sgroups.size());
        if (!data.Eof())
            QCOMPARE(data.field(QStringLiteral("images")).toString(),
                     QStringLiteral("g%1s%2").arg(group).arg(sgroups[0]));
        QCOMPARE(column(data, QStringLiteral("sgroup")), sgroups);
    }

    void tallies_data() {
        QTest::addColumn<Statement>("statement");
        QTest::addColumn<Tally>("expected");
        QTest::newRow("whole group")
            << Statements::groupTallies(1) << Tally{{0, 3}, {1, 5}, {3, 1}, {5, 1}};
        QTest::newRow("group without words") << Statements::groupTallies(2) << Tally{};
        QTest::newRow("one sub-group")
            << Statements::subGroupTallies(1, 1) << Tally{{0, 2}, {1, 1}, {3, 1}, {5, 1}};
        QTest::newRow("sub-group without words") << Statements::subGroupTallies(1, 4) << Tally{};
        QTest::newRow("marked sub-groups only")
            << Statements::markedLevelTallies() << Tally{{0, 2}, {1, 4}, {3, 1}, {5, 1}};
    }

    void tallies() {
        QFETCH(Statement, statement);
        QFETCH(Tally, expected);
        DataSource data = open(statement);
        const int rows = data.RecordCount(); // counted by the engine, before any row is read
        QCOMPARE(tally(data), expected);
        int walked = 0;
        for (data.MovePrevious(); !data.Bof(); data.MovePrevious())
            ++walked;
        QCOMPARE(walked, rows);
    }

    // The counts are kept by triggers on the words, so every kind of change keeps them right.
    void talliesFollowEveryChangeOfTheWords_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("consistent");
        QTest::newRow("word added")
            << QStringLiteral("INSERT INTO word (key, \"group\", sgroup, level, word,"
                              " images, voice) VALUES (40, 1, 4, 2, 'x', 'x', 'x')")
            << true;
        QTest::newRow("word moved")
            << QStringLiteral("UPDATE word SET sgroup = 3 WHERE key = 14") << true;
        QTest::newRow("level changed")
            << QStringLiteral("UPDATE word SET level = 4 WHERE key = 11") << true;
        QTest::newRow("times changed")
            << QStringLiteral("UPDATE word SET times = 9 WHERE key = 11") << true;
        QTest::newRow("word deleted") << QStringLiteral("DELETE FROM word WHERE key = 18") << true;
        QTest::newRow("every word reset")
            << QStringLiteral("UPDATE word SET level = 0, times = 0") << true;
        QTest::newRow("counts changed by hand")
            << QStringLiteral("UPDATE tally SET count = 5 WHERE sgroup = 1 AND level = 0") << false;
    }

    void talliesFollowEveryChangeOfTheWords() {
        QFETCH(QString, change);
        QFETCH(bool, consistent);
        const QString copy = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QFile::copy(file_, copy));
        QSqlDatabase db = WordDataFile::connection(copy); // opening would refuse wrong counts
        DeckFixture::execute(copy, {change});
        QCOMPARE(!failure([&] { WordDataFormat::checkTallies(db); }), consistent);
    }

    void markedTalliesComeInLevelOrder() {
        DataSource data = open(Statements::markedLevelTallies());
        QCOMPARE(column(data, QStringLiteral("level")), (QList<int>{0, 1, 3, 5}));
    }

    // S5, and the batch it read (upTo > 0: keys up to it).
    void levelWordsAfter_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("lastKey");
        QTest::addColumn<int>("upTo");
        QTest::addColumn<QList<int>>("keys");
        QTest::newRow("level 0, marked only") << 0 << 0 << 0 << QList<int>{10, 12};
        QTest::newRow("ascending across sub-groups") << 1 << 0 << 0 << QList<int>{11, 13, 14, 15};
        QTest::newRow("after a key") << 1 << 13 << 0 << QList<int>{14, 15};
        QTest::newRow("after the last key") << 1 << 15 << 0 << QList<int>{};
        QTest::newRow("above every key") << 1 << 1000 << 0 << QList<int>{};
        QTest::newRow("empty level") << 2 << 0 << 0 << QList<int>{};
        QTest::newRow("batch, both ends") << 1 << 11 << 14 << QList<int>{13, 14};
        QTest::newRow("batch of one") << 1 << 13 << 14 << QList<int>{14};
        QTest::newRow("batch of the marked only") << 0 << 0 << 12 << QList<int>{10, 12};
    }

    void levelWordsAfter() {
        QFETCH(int, level);
        QFETCH(int, lastKey);
        QFETCH(int, upTo);
        QFETCH(QList<int>, keys);
        DataSource data = open(upTo > 0 ? Statements::levelWordsBetween(level, lastKey, upTo)
                                        : Statements::levelWordsAfter(level, lastKey));
        QCOMPARE(data.RecordCount(), keys.size());
        QCOMPARE(column(data, QStringLiteral("key")), keys);
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
