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

void insert(QSqlQuery& query, const QVariantList& values) {
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DataError(DataError::Reason::Engine, query.lastError().text());
}

QSqlQuery prepared(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw DataError(DataError::Reason::Engine, query.lastError().text());
    return query;
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
        QSqlQuery groups = prepared(db, u"INSERT INTO \"tittle\" VALUES (?, ?, ?, ?)"_s);
        for (const Group& g : groups_)
            insert(groups, {g.group, g.title, u"g%1"_s.arg(g.group), u"About %1"_s.arg(g.title)});
        QSqlQuery subGroups = prepared(db, u"INSERT INTO \"subgroup\" VALUES (?, ?, ?, ?)"_s);
        for (const SubGroup& s : subGroups_)
            insert(subGroups,
                   {s.group, s.sgroup, u"g%1s%2"_s.arg(s.group).arg(s.sgroup), s.marked ? 1 : 0});
        QSqlQuery words = prepared(
            db, u"INSERT INTO \"word\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
        for (const Word& w : words_)
            insert(words, {w.key, w.group, w.sgroup, w.level, w.times,
                           w.word.isEmpty() ? u"word%1"_s.arg(w.key) : w.word, w.meaning,
                           u"w%1"_s.arg(w.key), u"w%1"_s.arg(w.key), w.text1, w.text2, w.filler1,
                           w.filler2, w.filler3});
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
