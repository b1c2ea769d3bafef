#include "recordsourcecheck.h"

#include <enginequery.h>
#include <worddatafile.h>

namespace RecordSourceCheck {

namespace {

struct Rule {
    const char* source;
    const char* what;     // what the source must hold
    const char* expected; // those rows, from the base tables
    const char* actual;   // the rows as the source gives them
};

// Each pair of queries must give the same set of rows.
const Rule rules[] = {
    {"selected", "one row per sub-group", R"(SELECT "group", "sgroup" FROM "subgroup")",
     R"(SELECT "group", "sgroup" FROM "selected")"},
    {"ordered", "one row per sub-group with its picture",
     R"(SELECT "group", "sgroup", "images" FROM "subgroup")",
     R"(SELECT "group", "sgroup", "images" FROM "ordered")"},
    {"syukei", "the word count of each group, sub-group and level",
     R"(SELECT "group", "sgroup", "level", count(*) FROM "word" GROUP BY 1, 2, 3)",
     R"(SELECT "group", "sgroup", "level", "count" FROM "syukei")"},
    {"syukei2", "the word count of each level in the marked sub-groups",
     R"(SELECT w."level", count(*) FROM "word" w JOIN "subgroup" s
        ON s."group" = w."group" AND s."sgroup" = w."sgroup" WHERE s."select" <> 0 GROUP BY 1)",
     R"(SELECT "level", sum("count") FROM "syukei2" GROUP BY 1)"},
    {"select_word", "the words of the marked sub-groups with their level and times",
     R"(SELECT w."key", w."level", w."times" FROM "word" w JOIN "subgroup" s
        ON s."group" = w."group" AND s."sgroup" = w."sgroup" WHERE s."select" <> 0)",
     R"(SELECT "key", "level", "times" FROM "select_word")"},
};

qint64 count(const QSqlDatabase& db, const QString& sql) {
    return scalarSql(db, QStringLiteral("SELECT count(*) FROM (%1)").arg(sql)).toLongLong();
}

} // namespace

DeckProblems run(const QString& path) {
    const QSqlDatabase db = WordDataFile::connection(path);
    DeckProblems problems;
    for (const Rule& rule : rules) {
        const QString expected = QString::fromLatin1(rule.expected);
        const QString actual = QString::fromLatin1(rule.actual);
        const qint64 wrong = count(db, QStringLiteral("%1 EXCEPT %2").arg(expected, actual)) +
                             count(db, QStringLiteral("%1 EXCEPT %2").arg(actual, expected));
        if (wrong > 0)
            problems << DeckProblem{
                path, 0,
                QStringLiteral("record source %1 does not hold %2")
                    .arg(QLatin1StringView(rule.source), QLatin1StringView(rule.what))};
    }
    // syukei gives one row per group, sub-group and level; readers take the first.
    if (count(db, QStringLiteral(R"(SELECT 1 FROM "syukei" GROUP BY "group", "sgroup", "level"
                                    HAVING count(*) > 1)")) > 0)
        problems << DeckProblem{path, 0,
                                QStringLiteral("record source syukei has a level twice in a "
                                               "sub-group")};
    return problems;
}

} // namespace RecordSourceCheck
