// What the progress window reads from a deck's history: which rows count as gradings, NG
// answers and learned words, how they fall into days and weeks, the hardest words first, a
// word's levels over time; and a deck without history.
#include "deckfixture.h"

#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <deckprogress.h>
#include <worddatafile.h>
#include <worddataformat.h>

namespace {

struct Row {
    int daysAgo;
    int key;
    int before;
    int after;
};

// The UTC time of noon, daysAgo days before today (local).
QString noon(const QDate& today, int daysAgo) {
    return QDateTime(today.addDays(-daysAgo), QTime(12, 0)).toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

class TestDeckProgress : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file_;
    const QDate today_{2026, 12, 10}; // a Thursday

    void history(const QList<Row>& rows) {
        QStringList statements = WordDataFormat::historyStatements();
        for (const Row& row : rows)
            statements << QStringLiteral("INSERT INTO history VALUES ('%1', %2, %3, %4)")
                              .arg(noon(today_, row.daysAgo))
                              .arg(row.key)
                              .arg(row.before)
                              .arg(row.after);
        DeckFixture::execute(file_, statements);
    }

  private slots:
    // Far from UTC, so that a local day and a UTC day differ by most of a day.
    void initTestCase() {
        qputenv("TZ", "Asia/Tokyo");
        tzset();
    }
    // Group 1 with sub-groups 1 (keys 1..4 at level 1) and 2 (keys 5, 6 at level 0).
    void init() {
        file_ = dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                              QStringLiteral(".pml"));
        QFile::remove(file_);
        DeckFixture deck;
        deck.group(1, QStringLiteral("どうぶつ")).subGroup(1, 1).subGroup(1, 2);
        deck.words(1, 1, 1, 4, 1).words(1, 2, 0, 2, 5);
        deck.write(file_);
    }
    void cleanup() { WordDataFile::closeAll(); }

    // A grading just after local midnight and one just before it fall on their local days
    // (in UTC both are on the day before).
    void daysAreLocal() {
        QStringList statements = WordDataFormat::historyStatements();
        for (const auto& [day, time, key] : QList<std::tuple<QDate, QTime, int>>{
                 {today_, QTime(0, 30), 1}, {today_.addDays(-1), QTime(23, 30), 2}})
            statements << QStringLiteral("INSERT INTO history VALUES ('%1', %2, 2, 1)")
                              .arg(QDateTime(day, time).toUTC().toString(Qt::ISODateWithMs))
                              .arg(key);
        DeckFixture::execute(file_, statements);
        const DeckProgress progress = DeckProgress::read(file_, today_);
        QCOMPARE(progress.perDay.last().count, 1);
        QCOMPARE(progress.perDay[DeckProgress::Days - 2].count, 1);
        QCOMPARE(progress.period(today_, today_).gradings, 1);
        QCOMPARE(DeckProgress::levelsOf(file_, 1).value(0).date, today_);
        QCOMPARE(DeckProgress::levelsOf(file_, 2).value(0).date, today_.addDays(-1));
    }

    void withoutHistory() {
        const DeckProgress progress = DeckProgress::read(file_, today_);
        QVERIFY(!progress.hasHistory);
        QCOMPARE(progress.groups.size(), 1);
        QCOMPARE(progress.groups[0].levels, (DeckProgress::Levels{2, 4, 0, 0, 0, 0}));
        QCOMPARE(progress.subGroups.size(), 2);
        QCOMPARE(progress.subGroups[1].levels, (DeckProgress::Levels{2, 0, 0, 0, 0, 0}));
        QCOMPARE(progress.perDay.size(), DeckProgress::Days);
        QCOMPARE(progress.perDay.last().date, today_);
        QCOMPARE(progress.perWeek.last().date, QDate(2026, 12, 7)); // this week's Monday
        QCOMPARE(progress.period(today_, today_).gradings, 0);
        QCOMPARE(progress.lastGraded, 0);
        QCOMPARE(progress.deck.words.size(), 6);
    }

    // Which rows are NG, learned, moved up, or no grading at all (a reset).
    void kindsOfRows_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("gradings");
        QTest::addColumn<int>("ng");
        QTest::addColumn<int>("learned");
        QTest::addColumn<int>("movedUp");
        QTest::newRow("new word OK") << 0 << 1 << 1 << 0 << 1 << 1;
        QTest::newRow("new word NG") << 0 << 5 << 1 << 1 << 0 << 0;
        QTest::newRow("OK towards 1") << 3 << 2 << 1 << 0 << 0 << 1;
        QTest::newRow("OK to 1") << 2 << 1 << 1 << 0 << 1 << 1;
        QTest::newRow("OK at 1") << 1 << 1 << 1 << 0 << 0 << 0;
        QTest::newRow("NG down") << 2 << 3 << 1 << 1 << 0 << 0;
        QTest::newRow("NG at 5") << 5 << 5 << 1 << 1 << 0 << 0;
        QTest::newRow("reset") << 3 << 0 << 0 << 0 << 0 << 0;
    }
    void kindsOfRows() {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(int, gradings);
        QFETCH(int, ng);
        QFETCH(int, learned);
        QFETCH(int, movedUp);
        history({{0, 1, before, after}});
        const DeckProgress::Period period =
            DeckProgress::read(file_, today_).period(today_, today_);
        QCOMPARE(period.gradings, gradings);
        QCOMPARE(period.learned, learned);
        QCOMPARE(period.movedUp, movedUp);
        QCOMPARE(period.hardest.isEmpty() ? 0 : period.hardest.first().count, ng);
    }

    // Days and weeks count what fell in them; older rows fall out; the hardest word first;
    // a word's record is a day each, at the level the day ended on.
    void daysWeeksAndHardest() {
        history({{0, 1, 2, 3},
                 {0, 1, 3, 4},
                 {0, 2, 2, 3},
                 {1, 2, 2, 1},
                 {3, 3, 2, 1}, // this week's Monday
                 {4, 4, 2, 1}, // the week before
                 {40, 5, 0, 5},
                 {0, 5, 5, 0}}); // a reset, the day's last row
        const DeckProgress progress = DeckProgress::read(file_, today_);
        QVERIFY(progress.hasHistory);
        QCOMPARE(progress.perDay.last().count, 3);
        QCOMPARE(progress.perDay[DeckProgress::Days - 2].count, 1);
        QCOMPARE(progress.perWeek.last().count, 2);                   // keys 2 and 3
        QCOMPARE(progress.perWeek[DeckProgress::Weeks - 2].count, 1); // key 4
        const QList<DeckProgress::Word> hardest =
            progress.period(today_.addDays(1 - DeckProgress::Days), today_).hardest;
        QCOMPARE(hardest.size(), 2);
        QCOMPARE(hardest[0].key, 1);
        QCOMPARE(hardest[0].count, 2);
        QCOMPARE(hardest[0].word, QStringLiteral("word1"));
        QCOMPARE(hardest[1].key, 2);
        QCOMPARE(progress.lastGraded, 2); // the later reset is no grading
        QList<int> perDay;
        for (const DeckProgress::Count& day : progress.period(today_.addDays(-3), today_).perDay)
            perDay << day.count;
        QCOMPARE(perDay, (QList<int>{1, 0, 1, 3}));

        using Days = QList<DeckProgress::Day>;
        QCOMPARE(DeckProgress::levelsOf(file_, 1), (Days{{today_, 4, 2}}));
        QCOMPARE(DeckProgress::levelsOf(file_, 2),
                 (Days{{today_.addDays(-1), 1, 1}, {today_, 3, 1}}));
        QCOMPARE(DeckProgress::levelsOf(file_, 5),
                 (Days{{today_.addDays(-40), 5, 1}, {today_, 0, 0}}));
        QCOMPARE(DeckProgress::levelsOf(file_, 6), Days{});
    }
};

QTEST_GUILESS_MAIN(TestDeckProgress)
#include "tst_deckprogress.moc"
