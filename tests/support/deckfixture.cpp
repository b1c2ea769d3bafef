#include "deckfixture.h"

#include "dataerror.h"
#include "worddataformat.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

void withConnection(const QString& path, const std::function<void(QSqlDatabase&)>& work) {
    const QString name = u"deckfixture"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        try {
            if (!db.open())
                throw DataError(DataError::Reason::Engine, db.lastError().text());
            work(db);
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

using Row = QList<std::pair<QString, QVariant>>;

// Inserts one row by column name, so that a change of the schema's column order cannot
// shift values into the wrong columns.
void insert(QSqlDatabase& db, const QString& table, const Row& row) {
    QStringList names;
    QStringList places;
    for (const auto& [name, value] : row) {
        names << u'"' + name + u'"';
        places << u"?"_s;
    }
    QSqlQuery query(db);
    if (!query.prepare(u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(table, names.join(u", "_s),
                                                                    places.join(u", "_s))))
        throw DataError(DataError::Reason::Engine, query.lastError().text());
    for (const auto& [name, value] : row)
        query.addBindValue(value);
    if (!query.exec())
        throw DataError(DataError::Reason::Engine, query.lastError().text());
}

} // namespace

DeckFixture& DeckFixture::group(int group, const QString& title) {
    groups_.append({group, title.isEmpty() ? u"Group %1"_s.arg(group) : title});
    return *this;
}

DeckFixture& DeckFixture::subGroup(int group, int sgroup, bool marked) {
    subGroups_.append({group, sgroup, marked});
    return *this;
}

DeckFixture& DeckFixture::word(const Word& word) {
    words_.append(word);
    return *this;
}

DeckFixture& DeckFixture::words(int group, int sgroup, int level, int count, int firstKey) {
    for (int i = 0; i < count; ++i) {
        Word w;
        w.key = firstKey + i;
        w.group = group;
        w.sgroup = sgroup;
        w.level = level;
        words_.append(w);
    }
    return *this;
}

void DeckFixture::write(const QString& path) const {
    WordDataFormat::create(path);
    withConnection(path, [this](QSqlDatabase& db) {
        db.transaction();
        for (const Group& g : groups_)
            insert(db, u"tittle"_s,
                   {{u"group"_s, g.group},
                    {u"tittle"_s, g.title},
                    {u"ttlimage"_s, u"g%1"_s.arg(g.group)},
                    {u"setmei"_s, u"About %1"_s.arg(g.title)}});
        for (const SubGroup& s : subGroups_)
            insert(db, u"subgroup"_s,
                   {{u"group"_s, s.group},
                    {u"sgroup"_s, s.sgroup},
                    {u"images"_s, u"g%1s%2"_s.arg(s.group).arg(s.sgroup)},
                    {u"select"_s, s.marked ? 1 : 0}});
        for (const Word& w : words_)
            insert(db, u"word"_s,
                   {{u"key"_s, w.key},
                    {u"group"_s, w.group},
                    {u"sgroup"_s, w.sgroup},
                    {u"level"_s, w.level},
                    {u"times"_s, w.times},
                    {u"word"_s, w.word.isEmpty() ? u"word%1"_s.arg(w.key) : w.word},
                    {u"meaning"_s, w.meaning},
                    {u"images"_s, u"w%1"_s.arg(w.key)},
                    {u"voice"_s, u"w%1"_s.arg(w.key)},
                    {u"text1"_s, w.text1},
                    {u"text2"_s, w.text2},
                    {u"filler1"_s, w.filler1},
                    {u"filler2"_s, w.filler2},
                    {u"filler3"_s, w.filler3}});
        if (!db.commit())
            throw DataError(DataError::Reason::Engine, db.lastError().text());
    });
}

void DeckFixture::execute(const QString& path, const QStringList& statements) {
    withConnection(path, [&](QSqlDatabase& db) {
        for (const QString& sql : statements) {
            QSqlQuery query(db);
            if (!query.exec(sql))
                throw DataError(DataError::Reason::Engine, query.lastError().text());
        }
    });
}

QVariant DeckFixture::scalar(const QString& path, const QString& sql) {
    QVariant value;
    withConnection(path, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.exec(sql))
            throw DataError(DataError::Reason::Engine, query.lastError().text());
        if (query.next())
            value = query.value(0);
    });
    return value;
}
