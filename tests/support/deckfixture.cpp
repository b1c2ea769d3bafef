#include "deckfixture.h"

#include "dataerror.h"
#include "worddatafile.h"
#include "worddataformat.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace {

void withConnection(const QString& path, const std::function<void(QSqlDatabase&)>& work) {
    const QString name = QStringLiteral("deckfixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
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
        places << QStringLiteral("?");
    }
    QSqlQuery query(db);
    if (!query.prepare(
            QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                .arg(table, names.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")))))
        throw DataError(DataError::Reason::Engine, query.lastError().text());
    for (const auto& [name, value] : row)
        query.addBindValue(value);
    if (!query.exec())
        throw DataError(DataError::Reason::Engine, query.lastError().text());
}

} // namespace

DeckFixture& DeckFixture::group(int group, const QString& title) {
    groups_.append({group, title.isEmpty() ? QStringLiteral("Group %1").arg(group) : title});
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
            insert(db, QStringLiteral("tittle"),
                   {{QStringLiteral("group"), g.group},
                    {QStringLiteral("tittle"), g.title},
                    {QStringLiteral("ttlimage"), QStringLiteral("g%1").arg(g.group)},
                    {QStringLiteral("setmei"), QStringLiteral("About %1").arg(g.title)}});
        for (const SubGroup& s : subGroups_)
            insert(db, QStringLiteral("subgroup"),
                   {{QStringLiteral("group"), s.group},
                    {QStringLiteral("sgroup"), s.sgroup},
                    {QStringLiteral("images"), QStringLiteral("g%1s%2").arg(s.group).arg(s.sgroup)},
                    {QStringLiteral("select"), s.marked ? 1 : 0}});
        for (const Word& w : words_)
            insert(db, QStringLiteral("word"),
                   {{QStringLiteral("key"), w.key},
                    {QStringLiteral("group"), w.group},
                    {QStringLiteral("sgroup"), w.sgroup},
                    {QStringLiteral("level"), w.level},
                    {QStringLiteral("times"), w.times},
                    {QStringLiteral("word"),
                     w.word.isEmpty() ? QStringLiteral("word%1").arg(w.key) : w.word},
                    {QStringLiteral("meaning"), w.meaning},
                    {QStringLiteral("images"), QStringLiteral("w%1").arg(w.key)},
                    {QStringLiteral("voice"), QStringLiteral("w%1").arg(w.key)},
                    {QStringLiteral("text1"), w.text1},
                    {QStringLiteral("text2"), w.text2},
                    {QStringLiteral("filler1"), w.filler1},
                    {QStringLiteral("filler2"), w.filler2},
                    {QStringLiteral("filler3"), w.filler3}});
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

QStringList DeckFixture::damage(const QString& path) {
    WordDataFile::close(path);
    QStringList problems;
    withConnection(path, [&](QSqlDatabase& db) {
        problems = WordDataFormat::damage(db, WordDataFormat::Integrity::Full);
    });
    return problems;
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
