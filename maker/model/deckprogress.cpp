#include "deckprogress.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimeZone>
#include <algorithm>
#include <enginequery.h>
#include <mediapath.h>
#include <pmldeck.h>
#include <worddatafile.h>
#include <worddataformat.h>

namespace {

// A grading that moved the word towards level 5 (an NG; a new word's NG goes straight to 5,
// and at 5 an NG keeps it there), and one that brought it to level 1.
const QString isNg = QStringLiteral("((\"after\" > \"before\" AND NOT (\"before\" = 0 AND"
                                    " \"after\" = 1)) OR (\"before\" = 5 AND \"after\" = 5))");
const QString isLearned = QStringLiteral("(\"after\" = 1 AND \"before\" <> 1)");
// Towards level 1: an OK below it, or a new word's first OK, which reaches it at once.
const QString isMovedUp = QStringLiteral("(\"after\" >= 1 AND (\"after\" < \"before\" OR"
                                         " (\"before\" = 0 AND \"after\" = 1)))");
// A reset (もとに もどす) goes to 0; it is no grading.
const QString isGrading = QStringLiteral("(\"after\" <> 0)");

// The stored times are UTC; a day is the parent's local day.
QString utcStart(const QDate& day) {
    return day.startOfDay().toUTC().toString(Qt::ISODateWithMs);
}
QString localDay() {
    return QStringLiteral("date(\"time\", 'localtime')");
}

QList<DeckProgress::Word> hardestBetween(const QSqlDatabase& db, const Deck& deck,
                                         const QString& folder, const QDate& first,
                                         const QDate& last) {
    QSqlQuery query =
        runSql(db,
               // Words removed since keep their rows but have nothing left to show.
               QStringLiteral("SELECT \"key\", count(*) FROM \"history\" WHERE \"time\" >= ? AND"
                              " \"time\" < ? AND %1 AND \"key\" IN (SELECT \"key\" FROM \"word\")"
                              " GROUP BY \"key\" ORDER BY 2 DESC, 1 LIMIT %2")
                   .arg(isNg)
                   .arg(DeckProgress::HardestCount),
               {utcStart(first), utcStart(last.addDays(1))});
    QList<DeckProgress::Word> words;
    while (query.next()) {
        const qint64 key = query.value(0).toLongLong();
        const auto w = std::find_if(deck.words.cbegin(), deck.words.cend(),
                                    [key](const DeckWord& w) { return w.key == key; });
        if (w != deck.words.cend())
            words << DeckProgress::Word{key,           w->word,
                                        w->meaning,    MediaPath::findPicture(folder, w->images),
                                        int(w->level), query.value(1).toInt()};
    }
    return words;
}

// Every local day from first to last, each counting nothing yet.
QList<DeckProgress::Count> daysBetween(const QDate& first, const QDate& last) {
    QList<DeckProgress::Count> days;
    for (QDate day = first; day <= last; day = day.addDays(1))
        days << DeckProgress::Count{day, 0};
    return days;
}

// Counts the gradings of each of days.
void countPerDay(const QSqlDatabase& db, QList<DeckProgress::Count>& days) {
    if (days.isEmpty())
        return;
    const QDate first = days.first().date;
    QSqlQuery query = runSql(db,
                             QStringLiteral("SELECT %1, count(*) FROM \"history\" WHERE"
                                            " \"time\" >= ? AND \"time\" < ? AND %2 GROUP BY 1")
                                 .arg(localDay(), isGrading),
                             {utcStart(first), utcStart(days.last().date.addDays(1))});
    while (query.next()) {
        const qint64 at = first.daysTo(QDate::fromString(query.value(0).toString(), Qt::ISODate));
        if (at >= 0 && at < days.size())
            days[at].count = query.value(1).toInt();
    }
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath() + u'/';
}

} // namespace

DeckProgress DeckProgress::read(const QString& path, const QDate& today) {
    // The file as it is now, should another program have put a new one in its place.
    WordDataFile::closeIfReplaced(path);
    const QSqlDatabase db = WordDataFile::connection(path);
    DeckProgress progress;
    progress.path = path;
    progress.deck = PmlDeck::readRows(db);
    const Deck& deck = progress.deck;
    for (const DeckGroup& g : deck.groups) {
        progress.groups << Place{g.group, 0, g.tittle, {}};
        for (const DeckSubGroup& s : deck.subGroups)
            if (s.group == g.group)
                progress.subGroups << Place{
                    s.group, s.sgroup, QStringLiteral("%1-%2").arg(s.group).arg(s.sgroup), {}};
    }
    for (const DeckWord& w : deck.words) {
        if (w.level < 0 || w.level > 5)
            continue;
        for (Place& place : progress.groups)
            if (place.group == w.group)
                ++place.levels[w.level];
        for (Place& place : progress.subGroups)
            if (place.group == w.group && place.sgroup == w.sgroup)
                ++place.levels[w.level];
    }

    const QDate firstDay = today.addDays(1 - Days);
    const QDate thisMonday = today.addDays(1 - today.dayOfWeek());
    const QDate firstMonday = thisMonday.addDays(-7 * (Weeks - 1));
    for (QDate monday = firstMonday; monday <= thisMonday; monday = monday.addDays(7))
        progress.perWeek << Count{monday, 0};
    progress.perDay = daysBetween(firstDay, today);
    progress.hasHistory = WordDataFormat::hasHistory(db);
    if (!progress.hasHistory)
        return progress;
    countPerDay(db, progress.perDay);
    QSqlQuery weeks =
        runSql(db,
               QStringLiteral("SELECT date(\"time\", 'localtime', '-6 days', 'weekday 1'),"
                              " count(DISTINCT \"key\") FROM \"history\" WHERE \"time\" >= ? AND %1"
                              " GROUP BY 1")
                   .arg(isLearned),
               {utcStart(firstMonday)});
    while (weeks.next()) {
        const qint64 at =
            firstMonday.daysTo(QDate::fromString(weeks.value(0).toString(), Qt::ISODate)) / 7;
        if (at >= 0 && at < progress.perWeek.size())
            progress.perWeek[at].count = weeks.value(1).toInt();
    }
    QSqlQuery last = runSql(db, QStringLiteral("SELECT \"key\" FROM \"history\" WHERE %1"
                                               " ORDER BY \"time\" DESC, rowid DESC LIMIT 1")
                                    .arg(isGrading));
    if (last.next())
        progress.lastGraded = last.value(0).toLongLong();
    return progress;
}

DeckProgress::Period DeckProgress::period(const QDate& first, const QDate& last) const {
    Period period{first, last, 0, 0, 0, 0, daysBetween(first, last), {}};
    if (!hasHistory)
        return period;
    const QSqlDatabase db = WordDataFile::connection(path);
    const QVariantList range{utcStart(first), utcStart(last.addDays(1))};
    QSqlQuery counts =
        runSql(db,
               QStringLiteral("SELECT count(*), count(DISTINCT \"key\"), sum(%2),"
                              " count(DISTINCT CASE WHEN %3 THEN \"key\" END) FROM \"history\""
                              " WHERE \"time\" >= ? AND \"time\" < ? AND %1")
                   .arg(isGrading, isMovedUp, isLearned),
               range);
    if (counts.next()) {
        period.gradings = counts.value(0).toInt();
        period.wordsGraded = counts.value(1).toInt();
        period.movedUp = counts.value(2).toInt();
        period.learned = counts.value(3).toInt();
    }
    countPerDay(db, period.perDay);
    period.hardest = hardestBetween(db, deck, folderOf(path), first, last);
    return period;
}

QList<DeckProgress::Day> DeckProgress::levelsOf(const QString& path, qint64 key) {
    const QSqlDatabase db = WordDataFile::connection(path);
    QList<Day> days;
    if (!WordDataFormat::hasHistory(db))
        return days;
    QSqlQuery query = runSql(db,
                             QStringLiteral("SELECT \"time\", \"after\" FROM \"history\""
                                            " WHERE \"key\" = ? ORDER BY \"time\", rowid"),
                             {key});
    while (query.next()) {
        const QDate date = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs)
                               .toLocalTime()
                               .date();
        if (!date.isValid())
            continue;
        const int level = query.value(1).toInt();
        if (days.isEmpty() || days.last().date != date)
            days << Day{date, level, 0};
        days.last().level = level;
        if (level != 0)
            ++days.last().gradings;
    }
    return days;
}
