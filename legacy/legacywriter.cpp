#include "legacywriter.h"

#include "legacydeck.h"
#include "legacyerror.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <dataerror.h>
#include <worddataformat.h>

namespace {

const QString connectionName = QStringLiteral("pimlotan-legacy-import");

class Insert {
  public:
    Insert(const QSqlDatabase& db, const QString& sql)
        : query_(db) {
        if (!query_.prepare(sql))
            throw LegacyError(LegacyError::Reason::Write, query_.lastError().text());
    }
    void run(const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            query_.bindValue(i, values[i]);
        if (!query_.exec())
            throw LegacyError(LegacyError::Reason::Write, query_.lastError().text());
    }

  private:
    QSqlQuery query_;
};

void insertAll(const LegacyDeck& deck, const QSqlDatabase& db) {
    Insert groups(db,
                  QStringLiteral(R"(INSERT INTO "tittle" ("group", "tittle", "ttlimage", "setmei"))"
                                 uR"( VALUES (?, ?, ?, ?))"));
    for (const LegacyGroup& g : deck.groups)
        groups.run({g.group, g.tittle, g.ttlimage, g.setmei});
    Insert subGroups(
        db, QStringLiteral(R"(INSERT INTO "subgroup" ("group", "sgroup", "images", "select"))"
                           uR"( VALUES (?, ?, ?, ?))"));
    for (const LegacySubGroup& s : deck.subGroups)
        subGroups.run({s.group, s.sgroup, s.images, s.select ? 1 : 0});
    Insert words(
        db,
        QStringLiteral(R"(INSERT INTO "word" ("key", "group", "sgroup", "level", "times", "word",)"
                       uR"( "meaning", "images", "voice", "text1", "text2", "filler1", "filler2",)"
                       uR"( "filler3") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"));
    // A Null must be bound as a Null of the column's type: STRICT tables refuse a Null blob.
    const auto text = [](const QVariant& v) {
        return v.isValid() ? v : QVariant(QMetaType(QMetaType::QString));
    };
    const auto number = [](const QVariant& v) {
        return v.isValid() ? v : QVariant(QMetaType(QMetaType::LongLong));
    };
    for (const LegacyWord& w : deck.words)
        words.run({w.key, w.group, w.sgroup, w.level, w.times, w.word, text(w.meaning), w.images,
                   w.voice, text(w.text1), text(w.text2), number(w.filler1), text(w.filler2),
                   text(w.filler3)});
}

} // namespace

void writeLegacyDeck(const LegacyDeck& deck, const QString& path) {
    try {
        WordDataFormat::create(path);
    } catch (const DataError& error) {
        throw LegacyError(LegacyError::Reason::Write, error.message());
    }
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
            db.setDatabaseName(path);
            if (!db.open() || !db.transaction())
                throw LegacyError(LegacyError::Reason::Write,
                                  QStringLiteral("%1: %2").arg(path, db.lastError().text()));
            try {
                insertAll(deck, db);
            } catch (...) {
                db.rollback();
                throw;
            }
            if (!db.commit())
                throw LegacyError(LegacyError::Reason::Write,
                                  QStringLiteral("%1: %2").arg(path, db.lastError().text()));
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName);
    } catch (...) {
        QSqlDatabase::removeDatabase(connectionName);
        QFile::remove(path);
        throw;
    }
}
