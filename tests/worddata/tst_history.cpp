// The grading history: a deck without it opens unchanged and gains it with its first grading;
// every grading (and reset) writes one row in its own transaction, also when the process is
// killed at any moment; a word moved to another key takes its rows along; the damage check
// knows the history; the CSV folder carries it.
#include "deckfixture.h"
#include "worddatafile.h"
#include "worddataformat.h"
#include "worddatatest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <deckcsv.h>
#include <pmldeck.h>

namespace {

void grade(const QString& path, int key, int level) {
    DataSource data = opened(path, QStringLiteral("select_word"));
    data.FindFirst(QStringLiteral("key = %1").arg(key));
    data.Edit();
    data.setField(QStringLiteral("level"), level);
    data.setField(QStringLiteral("times"), data.field(QStringLiteral("times")).toInt() + 1);
    data.Update();
}

int scalar(const QString& path, const QString& sql) {
    return DeckFixture::scalar(path, sql).toInt();
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file_;

  private slots:
    // Nine words at level 1 in a marked sub-group, no history yet.
    void init() {
        file_ = dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                              QStringLiteral(".pml"));
        QFile::remove(file_);
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).words(1, 1, 1, 9, 1);
        deck.write(file_);
    }
    void cleanup() { WordDataFile::closeAll(); }

    void firstGradingAddsTheHistory() {
        const QByteArray before = contents(file_);
        opened(file_, QStringLiteral("select_word")); // opening changes nothing
        WordDataFile::closeAll();
        QCOMPARE(contents(file_), before);
        QVERIFY(DeckFixture::damage(file_).isEmpty());

        grade(file_, 2, 3);
        grade(file_, 2, 4);
        QCOMPARE(scalar(file_, QStringLiteral("SELECT count(*) FROM history")), 2);
        QCOMPARE(DeckFixture::scalar(file_, QStringLiteral("SELECT group_concat(\"before\" || '>' "
                                                           "|| \"after\", ' ') FROM history"))
                     .toString(),
                 QStringLiteral("1>3 3>4"));
        const QString time =
            DeckFixture::scalar(file_, QStringLiteral("SELECT time FROM history LIMIT 1"))
                .toString();
        QVERIFY2(QDateTime::fromString(time, Qt::ISODateWithMs).isValid(), qPrintable(time));
        QVERIFY(DeckFixture::damage(file_).isEmpty());
    }

    // A deck of the first format gains the history as any other: graded by the program, it is
    // still a first-format deck with our history.
    void firstFormatDeckGainsTheHistory() {
        DeckFixture::execute(file_, {QStringLiteral("DROP TRIGGER word_keymark"),
                                     QStringLiteral("DROP TABLE keymark"),
                                     QStringLiteral("PRAGMA user_version = 1")});
        grade(file_, 3, 2);
        QCOMPARE(scalar(file_, QStringLiteral("SELECT count(*) FROM history")), 1);
        QCOMPARE(scalar(file_, QStringLiteral("PRAGMA user_version")), 1);
        QVERIFY(DeckFixture::damage(file_).isEmpty());
    }

    // A history that is not ours is damage, as any other object would be.
    void changedHistoryIsDamage() {
        grade(file_, 1, 2);
        WordDataFile::closeAll();
        DeckFixture::execute(file_, {QStringLiteral("DROP TRIGGER word_history_key")});
        QVERIFY(DeckFixture::damage(file_).join(u' ').contains(QStringLiteral("word_history_key")));
    }

    // Killed at any moment, the process leaves every grading with its history row: the counts
    // added up equal the rows.
    void killedWhileGrading() {
        const QString loop = QCoreApplication::applicationDirPath() + QStringLiteral("/gradeloop");
        for (int round = 0; round < 8; ++round) {
            QProcess grading;
            grading.start(loop, {file_});
            QVERIFY(grading.waitForStarted());
            QTest::qWait(20 + int(QRandomGenerator::global()->bounded(120)));
            ::kill(pid_t(grading.processId()), SIGKILL);
            grading.waitForFinished();
            WordDataFile::closeAll();
            QVERIFY(DeckFixture::damage(file_).isEmpty());
            const int graded = scalar(file_, QStringLiteral("SELECT sum(times) FROM word"));
            if (graded > 0)
                QCOMPARE(scalar(file_, QStringLiteral("SELECT count(*) FROM history")), graded);
        }
        QVERIFY(scalar(file_, QStringLiteral("SELECT sum(times) FROM word")) > 0);
    }

    // history.csv rows as a spreadsheet may have saved them again are reported at their line.
    void historyCsvRowsAreChecked_data() {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("problems");
        QTest::newRow("as written") << "2026-12-10T05:10:00.123Z" << 0 << 1 << 0;
        QTest::newRow("a spreadsheet's date") << "2026/12/10 5:10" << 0 << 1 << 1;
        QTest::newRow("local time") << "2026-12-10T05:10:00.123" << 0 << 1 << 1;
        QTest::newRow("no such day") << "2026-02-30T05:10:00.123Z" << 0 << 1 << 1;
        QTest::newRow("levels out of range") << "2026-12-10T05:10:00.123Z" << -1 << 6 << 2;
    }
    void historyCsvRowsAreChecked() {
        QFETCH(QString, time);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(int, problems);
        Deck deck = PmlDeck::read(file_);
        deck.history = {{0, time, 1, before, after, {}}};
        const QString folder = dir_.filePath(QStringLiteral("checked"));
        QVERIFY(DeckCsv::write(deck, folder).isEmpty());
        const QString history = QDir(folder).filePath(DeckCsv::historyFile);
        QList<int> lines;
        for (const DeckProblem& problem : DeckCsv::read(folder).problems)
            if (problem.file == history)
                lines << problem.line;
        QCOMPARE(lines, QList<int>(problems, 2));
    }

    // The CSV folder carries the history, and a deck built from it has the same rows.
    void historyTravelsThroughTheCsvFolder() {
        grade(file_, 1, 2);
        grade(file_, 5, 0);
        WordDataFile::closeAll();
        const Deck deck = PmlDeck::read(file_);
        QCOMPARE(deck.history.size(), 2);
        const QString folder = dir_.filePath(QStringLiteral("csv"));
        QVERIFY(DeckCsv::write(deck, folder).isEmpty());
        const DeckCsv::ReadResult back = DeckCsv::readUnchecked(folder);
        QVERIFY(back.problems.isEmpty());
        // The words are named beside their keys for a person reading the file.
        QFile csv(QDir(folder).filePath(DeckCsv::historyFile));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readLine().trimmed(), QByteArray("time,key,word,before,after"));
        const QString firstRow = QString::fromUtf8(csv.readLine());
        const auto graded = std::find_if(deck.words.cbegin(), deck.words.cend(),
                                         [](const DeckWord& w) { return w.key == 1; });
        QVERIFY(firstRow.contains(QStringLiteral(",1,%1,").arg(graded->word)));
        const QString built = dir_.filePath(QStringLiteral("built.pml"));
        QVERIFY(PmlDeck::write(back.deck, folder, built).isEmpty());
        QList<DeckHistory> rows = PmlDeck::read(built).history;
        for (DeckHistory& row : rows)
            row.line = 0;
        QList<DeckHistory> expected = deck.history;
        QCOMPARE(rows, expected);
        QVERIFY(DeckFixture::damage(built).isEmpty());

        // Another deck exported into the same folder, without a history, leaves none there.
        Deck other = deck;
        other.history.clear();
        QVERIFY(DeckCsv::write(other, folder).isEmpty());
        QVERIFY(!QFile::exists(QDir(folder).filePath(DeckCsv::historyFile)));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
