#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <deck.h>

// What a child has learned, read from a deck and its grading history without changing
// either: the words at each level now, gradings per day, words learned per week, the words
// most often answered NG, and one word's levels over time. Level 1 (○) is the best a word
// reaches; an NG moves a word towards level 5.
struct DeckProgress {
    using Levels = std::array<int, 6>; // words at level 0..5

    struct Place {
        qint64 group = 0;
        qint64 sgroup = 0; // 0: the group as a whole
        QString title;
        Levels levels{};
    };
    struct Count {
        QDate date; // a day, or the Monday of a week
        int count = 0;
    };
    struct Word {
        qint64 key = 0;
        QString word;
        QString meaning;
        QString picture; // the file, empty when there is none
        int level = 0;
        int count = 0; // NG answers in the period
    };
    // What a period (a week, a month) holds, for the report.
    struct Period {
        QDate first;
        QDate last;
        int gradings = 0;
        int wordsGraded = 0;
        int movedUp = 0;     // gradings that moved a word towards level 1 (a new word's OK too)
        int learned = 0;     // words that reached level 1
        QList<Count> perDay; // every day of the period, days without gradings included
        QList<Word> hardest; // the ten words most often NG, the most first
    };

    QString path;
    Deck deck; // the rows as read, for the word list and the period's words
    QList<Place> groups;
    QList<Place> subGroups;
    QList<Count> perDay;   // the last 30 days, today last, days without gradings included
    QList<Count> perWeek;  // words learned, the last 12 weeks (Monday first), this week last
    qint64 lastGraded = 0; // the word graded most recently; 0 when none
    bool hasHistory = false;

    static constexpr int Days = 30;
    static constexpr int Weeks = 12;
    static constexpr int HardestCount = 10;

    // Reads the deck at path as of today (local time). Throws DataError.
    static DeckProgress read(const QString& path, const QDate& today = QDate::currentDate());
    // The gradings between two days (local, both included), of the deck as read. Throws
    // DataError.
    Period period(const QDate& first, const QDate& last) const;

    // One local day of a word's record: its level at the day's end and the gradings that day
    // (a reset is no grading, and leaves level 0).
    struct Day {
        QDate date;
        int level = 0;
        int gradings = 0;
        bool operator==(const Day&) const = default;
    };
    // The days a word was graded or reset, oldest first. Throws DataError.
    static QList<Day> levelsOf(const QString& path, qint64 key);
};
