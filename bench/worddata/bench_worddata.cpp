// What the screens do with the word-data file on a click, on a generated 10,000-word deck.
// Run from a Release build: build-rel/bench/worddata/bench-worddata
// The deck is written in the current folder (a real disk, so commits cost what they cost);
// PIMLOTAN_BENCH_DIR names another folder.
#include "benchdeck.h"
#include "datasource.h"
#include "deckfixture.h"
#include "statements.h"
#include "worddatafile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString deck;

DataSource opened(const Statement& statement) {
    DataSource data;
    data.setDatabaseName(deck);
    data.setRecordSource(statement);
    data.Refresh();
    return data;
}

DataSource openedByName(const QString& name) {
    DataSource data;
    data.setDatabaseName(deck);
    data.setRecordSource(name);
    data.Refresh();
    return data;
}

// Reads the fields a screen reads from up to max rows.
int readRows(DataSource& data, const QStringList& fields, int max = 1 << 30) {
    int rows = 0;
    for (; rows < max && !data.Eof(); ++rows, data.MoveNext())
        for (const QString& field : fields)
            benchmark::DoNotOptimize(data.field(field));
    return rows;
}

int sumCounts(DataSource& data) {
    int total = 0;
    for (; !data.Eof(); data.MoveNext())
        total += data.field(QStringLiteral("count")).toInt();
    return total;
}

const QStringList cardFields{QStringLiteral("key"),    QStringLiteral("times"),
                             QStringLiteral("word"),   QStringLiteral("meaning"),
                             QStringLiteral("images"), QStringLiteral("voice"),
                             QStringLiteral("text1"),  QStringLiteral("text2")};

// Marks as the main menu would leave them: 150 sub-groups (5,000 words, 2,000 at level 0,
// 1,000 at level 1) for the study statements, 30 (1,000 words) for the reset.
constexpr int studyMarks = 150;
constexpr int resetMarks = 30;

void openFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        WordDataFile::closeAll();
        state.ResumeTiming();
        DataSource groups = openedByName(QStringLiteral("tittle"));
        benchmark::DoNotOptimize(
            readRows(groups, {QStringLiteral("group"), QStringLiteral("ttlimage")}));
    }
}

void subGroupPage(benchmark::State& state) {
    for (auto _ : state) {
        DataSource page = opened(Statements::subGroupPage(3, 15));
        benchmark::DoNotOptimize(
            readRows(page, {QStringLiteral("images"), QStringLiteral("sgroup")}, 8));
    }
}

void subGroupTalliesOfAPage(benchmark::State& state) {
    for (auto _ : state)
        for (int s = 15; s < 22; ++s) {
            DataSource tallies = opened(Statements::subGroupTallies(3, s));
            benchmark::DoNotOptimize(sumCounts(tallies));
        }
}

void groupTotals(benchmark::State& state) {
    for (auto _ : state)
        for (int g = 1; g <= BenchDeck::groups; ++g) {
            DataSource tallies = opened(Statements::groupTallies(g));
            benchmark::DoNotOptimize(sumCounts(tallies));
        }
}

void markedLevelTallies(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    for (auto _ : state) {
        DataSource tallies = openedByName(QStringLiteral("syukei2"));
        benchmark::DoNotOptimize(sumCounts(tallies));
    }
}

void batchOfNine(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    for (auto _ : state) {
        DataSource words = opened(Statements::levelWordsAfter(1, 5000));
        benchmark::DoNotOptimize(readRows(words, cardFields, 9));
    }
}

// As the slide show loads a level: every word of it, its number, and the first card.
void wholeLevel(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    int count = 0;
    for (auto _ : state) {
        DataSource words = opened(Statements::levelWordsAfter(0, 0));
        count = words.RecordCount();
        benchmark::DoNotOptimize(readRows(words, cardFields, 1));
    }
    state.counters["words"] = count;
}

// Reading every card of that level (the show does it one card every few seconds).
void wholeLevelEveryRow(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    for (auto _ : state) {
        DataSource words = opened(Statements::levelWordsAfter(0, 0));
        benchmark::DoNotOptimize(readRows(words, cardFields));
    }
}

void markOneSubGroup(benchmark::State& state) {
    bool mark = true;
    for (auto _ : state) {
        DataSource row = opened(Statements::selectedSubGroup(4, 10));
        row.Edit();
        row.setField(QStringLiteral("select"), mark);
        row.Update();
        mark = !mark;
    }
}

// As the practice grades a card: re-open the batch's result (the level from its start),
// find the word, write level and times with its history row, committed, on a deck that holds
// a year of history; and how much the file grows for 1,000 gradings.
void gradeOneWord(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    const QList<int> keys = [] {
        DataSource words = opened(Statements::levelWordsAfter(1, 0));
        QList<int> all;
        for (; !words.Eof(); words.MoveNext())
            all.append(words.field(QStringLiteral("key")).toInt());
        return all;
    }();
    WordDataFile::closeAll();
    const qint64 sizeBefore = QFileInfo(deck).size();
    qsizetype next = 0;
    for (auto _ : state) {
        DataSource words = opened(Statements::levelWordsAfter(1, 0));
        words.FindFirst(QStringLiteral("key = ") + QString::number(keys[next++ % keys.size()]));
        words.Edit();
        words.setField(QStringLiteral("level"), 1); // OK on a level-1 word keeps it at level 1
        words.setField(QStringLiteral("times"), words.field(QStringLiteral("times")).toInt() + 1);
        words.Update();
    }
    WordDataFile::closeAll();
    state.counters["KiB per 1000"] =
        double(QFileInfo(deck).size() - sizeBefore) / 1024 * 1000 / double(state.iterations());
}

// The reset as the main menu runs it: every word of the marked sub-groups back to level 0.
// Before each run the words get levels again (not timed), so every row is written.
void resetMarkedWords(benchmark::State& state) {
    BenchDeck::markFirstSubGroups(deck, resetMarks);
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DeckFixture::execute(deck,
                             {QStringLiteral("UPDATE word SET level = 1 + key % 5, times = 3")});
        state.ResumeTiming();
        DataSource words = openedByName(QStringLiteral("select_word"));
        count = words.RecordCount();
        words.updateAll({{QStringLiteral("level"), 0}, {QStringLiteral("times"), 0}});
    }
    state.counters["words"] = count;
}

// Choosing a group clears every mark of the file (three sub-groups were marked, not timed).
void clearEveryMark(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        BenchDeck::markFirstSubGroups(deck, 3);
        state.ResumeTiming();
        DataSource marks = openedByName(QStringLiteral("selected"));
        marks.updateAll({{QStringLiteral("select"), false}});
    }
}

void printPlans() {
    BenchDeck::markFirstSubGroups(deck, studyMarks);
    const QList<QPair<const char*, Statement>> statements{
        {"S1 selected sub-group", Statements::selectedSubGroup(4, 10)},
        {"S2 sub-group page", Statements::subGroupPage(3, 15)},
        {"S3 group tallies", Statements::groupTallies(3)},
        {"S4 sub-group tallies", Statements::subGroupTallies(3, 15)},
        {"S5 level words", Statements::levelWordsAfter(1, 0)},
        {"S6 marked level tallies", Statements::markedLevelTallies()},
        {"grading write",
         {QStringLiteral("UPDATE \"select_word\" SET \"level\" = ?, \"times\" = ?"
                         " WHERE \"key\" = ?"),
          {1, 1, 42},
          {}}},
    };
    for (const auto& [name, statement] : statements) {
        QSqlQuery query(WordDataFile::connection(deck));
        query.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + statement.sql);
        for (int value : statement.values)
            query.addBindValue(value);
        query.exec();
        std::fprintf(stderr, "%s\n", name);
        while (query.next())
            std::fprintf(stderr, "  %s\n", qPrintable(query.value(3).toString()));
    }
    WordDataFile::closeAll();
}

} // namespace

#define WORDDATA_BENCH(fn, label)                                                                  \
    BENCHMARK(fn)                                                                                  \
        ->Name(label)                                                                              \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(5)                                                                           \
        ->ReportAggregatesOnly(true)

WORDDATA_BENCH(openFile, "open file, check it, list groups");
WORDDATA_BENCH(subGroupPage, "S2 one page");
WORDDATA_BENCH(subGroupTalliesOfAPage, "S4 seven rows");
WORDDATA_BENCH(groupTotals, "S3 six groups");
WORDDATA_BENCH(markedLevelTallies, "syukei2");
WORDDATA_BENCH(batchOfNine, "S5 batch of 9");
WORDDATA_BENCH(wholeLevel, "S5 whole level + RecordCount + first card");
WORDDATA_BENCH(wholeLevelEveryRow, "S5 whole level, every card read (not a click)");
WORDDATA_BENCH(markOneSubGroup, "mark a sub-group (S1, edit, update)");
WORDDATA_BENCH(gradeOneWord, "grade a word (find, edit, update) with its history row");
WORDDATA_BENCH(resetMarkedWords, "reset 1000 marked words");
WORDDATA_BENCH(clearEveryMark, "clear every mark (choosing a group)");

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir(BenchDeck::workFolderTemplate(QStringLiteral("bench-worddata")));
    if (!dir.isValid())
        return 1;
    deck = dir.filePath(QStringLiteral("bench.pml"));
    BenchDeck::write(deck);
    BenchDeck::addHistory(deck, 200000, 365);
    printPlans();
    benchmark::RunSpecifiedBenchmarks();
    WordDataFile::closeAll();
    benchmark::Shutdown();
    return 0;
}
