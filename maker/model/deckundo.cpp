#include "deckundo.h"

#include <QFile>
#include <QSqlDatabase>
#include <algorithm>
#include <enginequery.h>
#include <tuple>
#include <worddataformat.h>

namespace DeckUndo {

namespace {

// Each table's rows are known by what names them in the file.
auto identity(const DeckGroup& g) {
    return std::tuple(g.group, qint64(0), qint64(0));
}
auto identity(const DeckSubGroup& s) {
    return std::tuple(s.group, s.sgroup, qint64(0));
}
auto identity(const DeckWord& w) {
    return std::tuple(qint64(0), qint64(0), w.key);
}

template <typename Record> const Record* find(const QList<Record>& rows, const Record& like) {
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const Record& row) {
        return identity(row) == identity(like);
    });
    return it == rows.end() ? nullptr : &*it;
}

// Rows compare without the CSV line they came from.
template <typename Record> bool same(Record a, Record b) {
    a.line = b.line = 0;
    return a == b;
}

template <typename Record>
void differ(const QList<Record>& before, const QList<Record>& after, QList<Record>& was,
            QList<Record>& is) {
    for (const Record& row : before) {
        const Record* now = find(after, row);
        if (!now || !same(row, *now)) {
            was << row;
            if (now)
                is << *now;
        }
    }
    for (const Record& row : after)
        if (!find(before, row))
            is << row;
}

QString whereOf(const DeckGroup&) {
    return QStringLiteral("\"group\" = ?");
}
QString whereOf(const DeckSubGroup&) {
    return QStringLiteral("\"group\" = ? AND \"sgroup\" = ?");
}
QString whereOf(const DeckWord&) {
    return QStringLiteral("\"key\" = ?");
}
QVariantList keysOf(const DeckGroup& g) {
    return {g.group};
}
QVariantList keysOf(const DeckSubGroup& s) {
    return {s.group, s.sgroup};
}
QVariantList keysOf(const DeckWord& w) {
    return {w.key};
}

template <typename Record>
void applyTable(const QSqlDatabase& db, QLatin1StringView table,
                std::span<const DeckField<Record>> fields, const QList<Record>& from,
                const QList<Record>& to, const QList<Record>& current) {
    const QString name = quoted(table);
    for (const Record& row : from)
        if (!find(to, row) && find(current, row))
            runSql(db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(name, whereOf(row)),
                   keysOf(row));
    for (const Record& row : to) {
        const Record* was = find(from, row);
        const Record* now = find(current, row);
        if (!now) {
            QStringList columns, marks;
            QVariantList values;
            for (const auto& field : fields) {
                columns << quoted(field.name);
                marks << QStringLiteral("?");
                values << field.get(row);
            }
            runSql(db,
                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(name, columns.join(u", "), marks.join(u", ")),
                   values);
            continue;
        }
        // A column goes back only while it holds what the change wrote.
        for (const auto& field : fields) {
            const QVariant wanted = field.get(row);
            const QVariant written = was ? field.get(*was) : QVariant();
            const QVariant held = field.get(*now);
            if (wanted != held && (!was || held == written))
                runSql(db,
                       QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3")
                           .arg(name, quoted(field.name), whereOf(row)),
                       QVariantList{wanted} + keysOf(row));
        }
    }
}

// Each row either step touched, before the first and after the last; rows that came back to
// what they were drop out.
template <typename Record>
void mergeTable(const QList<Record>& firstBefore, const QList<Record>& firstAfter,
                const QList<Record>& secondBefore, const QList<Record>& secondAfter,
                QList<Record>& before, QList<Record>& after) {
    const auto touched = [](const QList<Record>& a, const QList<Record>& b, const Record& row) {
        return find(a, row) || find(b, row);
    };
    QList<Record> all = firstBefore + firstAfter + secondBefore + secondAfter;
    QList<Record> seen;
    for (const Record& row : all) {
        if (find(seen, row))
            continue;
        seen << row;
        const bool first = touched(firstBefore, firstAfter, row);
        const bool second = touched(secondBefore, secondAfter, row);
        const Record* was = first ? find(firstBefore, row) : find(secondBefore, row);
        const Record* is = second ? find(secondAfter, row) : find(firstAfter, row);
        if ((!was && !is) || (was && is && same(*was, *is)))
            continue;
        if (was)
            before << *was;
        if (is)
            after << *is;
    }
}

} // namespace

Step merged(const Step& earlier, const Step& later) {
    Step step;
    mergeTable(earlier.before.groups, earlier.after.groups, later.before.groups, later.after.groups,
               step.before.groups, step.after.groups);
    mergeTable(earlier.before.subGroups, earlier.after.subGroups, later.before.subGroups,
               later.after.subGroups, step.before.subGroups, step.after.subGroups);
    mergeTable(earlier.before.words, earlier.after.words, later.before.words, later.after.words,
               step.before.words, step.after.words);
    step.files = earlier.files + later.files;
    step.history = earlier.history + later.history;
    step.swaps = earlier.swaps + later.swaps;
    return step;
}

Step difference(const Deck& before, const Deck& after) {
    Step step;
    differ(before.groups, after.groups, step.before.groups, step.after.groups);
    differ(before.subGroups, after.subGroups, step.before.subGroups, step.after.subGroups);
    differ(before.words, after.words, step.before.words, step.after.words);
    return step;
}

void apply(const QSqlDatabase& db, const Deck& from, const Deck& to, const Deck& current) {
    applyTable(db, WordDataFormat::groupTable, DeckFields::groups(), from.groups, to.groups,
               current.groups);
    applyTable(db, WordDataFormat::subGroupTable, DeckFields::subGroups(), from.subGroups,
               to.subGroups, current.subGroups);
    applyTable(db, WordDataFormat::wordTable, DeckFields::words(), from.words, to.words,
               current.words);
}

qint64 historyMark(const QSqlDatabase& db) {
    if (!WordDataFormat::hasHistory(db))
        return 0;
    return scalarSql(db, QStringLiteral("SELECT coalesce(max(rowid), 0) FROM \"history\""))
        .toLongLong();
}

void applyHistory(const QSqlDatabase& db, const Step& step, bool back, qint64 mark) {
    if (!WordDataFormat::hasHistory(db))
        return;
    runSql(db, QStringLiteral("DELETE FROM \"history\" WHERE rowid > ?"), {mark});
    const QString swap =
        QStringLiteral("UPDATE \"history\" SET \"key\" = CASE \"key\" WHEN ? THEN ? ELSE ? END"
                       " WHERE \"key\" IN (?, ?)");
    const auto trade = [&](const KeySwap& s) {
        runSql(db, swap, {s.first, s.second, s.first, s.first, s.second});
    };
    if (back) {
        std::for_each(step.swaps.crbegin(), step.swaps.crend(), trade);
        for (const DeckHistory& row : step.history)
            runSql(db,
                   QStringLiteral("DELETE FROM \"history\" WHERE rowid = (SELECT rowid FROM"
                                  " \"history\" WHERE \"time\" = ? AND \"key\" = ? AND"
                                  " \"before\" = ? AND \"after\" = ? LIMIT 1)"),
                   {row.time, row.key, row.before, row.after});
    } else {
        std::for_each(step.swaps.cbegin(), step.swaps.cend(), trade);
        for (const DeckHistory& row : step.history)
            runSql(db, QStringLiteral("INSERT INTO \"history\" VALUES (?, ?, ?, ?)"),
                   {row.time, row.key, row.before, row.after});
    }
}

bool exchangeFiles(const QList<KeptFile>& files) {
    bool done = true;
    for (const KeptFile& kept : files) {
        const QString swap = kept.earlier + QStringLiteral(".swap");
        QFile::remove(swap);
        done = QFile::rename(kept.file, swap) && QFile::rename(kept.earlier, kept.file) &&
               QFile::rename(swap, kept.earlier) && done;
    }
    return done;
}

} // namespace DeckUndo
