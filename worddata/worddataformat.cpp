#include "worddataformat.h"

#include "dataerror.h"
#include "enginequery.h"
#include "schemascript.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

// Pulls the compiled-in schema into a static link (outside any namespace, as the macro needs).
static void initSchemaResource() {
    Q_INIT_RESOURCE(worddata);
}

namespace WordDataFormat {

const QList<SourceFields>& recordSources() {
    static const QList<SourceFields> sources{
        {RecordSource::tittle,
         {QStringLiteral("group"), QStringLiteral("tittle"), QStringLiteral("ttlimage"),
          QStringLiteral("setmei")}},
        {RecordSource::selected,
         {QStringLiteral("group"), QStringLiteral("sgroup"), QStringLiteral("select")}},
        {RecordSource::ordered,
         {QStringLiteral("group"), QStringLiteral("sgroup"), QStringLiteral("images")}},
        {RecordSource::syukei,
         {QStringLiteral("group"), QStringLiteral("sgroup"), QStringLiteral("level"),
          QStringLiteral("count")}},
        {RecordSource::syukei2, {QStringLiteral("level"), QStringLiteral("count")}},
        {RecordSource::selectWord,
         {QStringLiteral("key"), QStringLiteral("level"), QStringLiteral("times"),
          QStringLiteral("word"), QStringLiteral("meaning"), QStringLiteral("images"),
          QStringLiteral("voice"), QStringLiteral("text1"), QStringLiteral("text2"),
          QStringLiteral("filler1"), QStringLiteral("filler2"), QStringLiteral("filler3")}},
        {RecordSource::word,
         {QStringLiteral("key"), QStringLiteral("group"), QStringLiteral("sgroup"),
          QStringLiteral("level"), QStringLiteral("times")}},
    };
    return sources;
}

static const QList<UpdatableSource>& updatableSources() {
    static const QList<UpdatableSource> sources{
        {RecordSource::selected,
         {QStringLiteral("group"), QStringLiteral("sgroup")},
         {QStringLiteral("select")}},
        {RecordSource::selectWord,
         {QStringLiteral("key")},
         {QStringLiteral("level"), QStringLiteral("times")}},
    };
    return sources;
}

const UpdatableSource* updatableSource(const QString& source) {
    for (const UpdatableSource& updatable : updatableSources())
        if (updatable.source == source)
            return &updatable;
    return nullptr;
}

// The triggers that make the updatable sources writable and keep the tallies.
static const QStringList requiredTriggers{
    QStringLiteral("selected_update"), QStringLiteral("select_word_update"),
    QStringLiteral("word_tally_insert"), QStringLiteral("word_tally_delete"),
    QStringLiteral("word_tally_update")};

QString schemaSql() {
    initSchemaResource();
    QFile file(QStringLiteral(":/worddata/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(DataError::Reason::Misuse,
                        QStringLiteral("the word-data schema is not built in"));
    return QString::fromUtf8(file.readAll());
}

QStringList schemaStatements() {
    return splitSqlScript(schemaSql());
}

QStringList historyStatements() {
    initSchemaResource();
    QFile file(QStringLiteral(":/worddata/history.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(DataError::Reason::Misuse,
                        QStringLiteral("the grading history's schema is not built in"));
    return splitSqlScript(QString::fromUtf8(file.readAll()));
}

bool hasHistory(const QSqlDatabase& db) {
    return scalarSql(db, QStringLiteral("SELECT count(*) FROM sqlite_schema"
                                        " WHERE type = 'table' AND name = 'history'"))
               .toInt() != 0;
}

void ensureHistory(const QSqlDatabase& db) {
    if (hasHistory(db))
        return;
    for (const QString& statement : historyStatements())
        runSql(db, statement);
}

void applySchema(QSqlDatabase& db) {
    if (scalarSql(db, QStringLiteral("SELECT count(*) FROM sqlite_schema")).toInt() != 0)
        throw DataError(DataError::Reason::Misuse,
                        QStringLiteral("the schema is applied only to an empty database"));
    if (!db.transaction())
        throw DataError(DataError::Reason::Engine, db.lastError().databaseText());
    try {
        for (const QString& statement : schemaStatements())
            runSql(db, statement);
        // PRAGMA takes no bound values; both numbers are our own constants.
        runSql(db, QStringLiteral("PRAGMA application_id = %1").arg(applicationId));
        runSql(db, QStringLiteral("PRAGMA user_version = %1").arg(formatVersion));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DataError(DataError::Reason::Engine, db.lastError().databaseText());
}

void create(const QString& path) {
    if (QFileInfo::exists(path))
        throw DataError(DataError::Reason::Misuse, QStringLiteral("%1 already exists").arg(path));
    static QAtomicInt serial;
    const QString name = QStringLiteral("pimlotan-create-%1").arg(serial.fetchAndAddRelaxed(1));
    bool created = false;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw DataError(DataError::Reason::Engine,
                            QStringLiteral("%1: %2").arg(path, db.lastError().databaseText()));
        created = true;
        applySchema(db);
        db.close();
    } catch (...) {
        QSqlDatabase::removeDatabase(name);
        if (created)
            QFile::remove(path);
        throw;
    }
    QSqlDatabase::removeDatabase(name);
}

void check(QSqlDatabase& db) {
    using Reason = DataError::Reason;
    QVariant id;
    try {
        id = scalarSql(db, QStringLiteral("PRAGMA application_id"));
    } catch (const DataError& error) {
        throw DataError(Reason::NotWordData,
                        QStringLiteral("not an SQLite database: ") + error.message());
    }
    if (id.toLongLong() != applicationId)
        throw DataError(
            Reason::NotWordData,
            QStringLiteral("not a word-data file (application id %1)").arg(id.toLongLong()));
    const int version = scalarSql(db, QStringLiteral("PRAGMA user_version")).toInt();
    if (version < oldestFormatVersion || version > formatVersion)
        throw DataError(
            Reason::WrongVersion,
            QStringLiteral("word-data format version %1; this program reads versions %2 to %3")
                .arg(version)
                .arg(oldestFormatVersion)
                .arg(formatVersion));

    for (const SourceFields& source : recordSources()) {
        QStringList present;
        try {
            QSqlQuery query = runSql(db, QStringLiteral("SELECT name FROM pragma_table_info(?)"),
                                     {QString(source.source)});
            while (query.next())
                present.append(query.value(0).toString().toLower());
        } catch (const DataError& error) {
            throw DataError(Reason::MissingSource, QStringLiteral("record source %1 is broken: %2")
                                                       .arg(source.source, error.message()));
        }
        if (present.isEmpty())
            throw DataError(Reason::MissingSource,
                            QStringLiteral("record source %1 is missing").arg(source.source));
        for (const QString& field : source.fields)
            if (!present.contains(field))
                throw DataError(Reason::MissingSource,
                                QStringLiteral("record source %1 lacks the field %2")
                                    .arg(source.source, field));
    }
    for (const QString& trigger : requiredTriggers)
        if (scalarSql(db,
                      QStringLiteral(
                          "SELECT count(*) FROM sqlite_schema WHERE type = 'trigger' AND name = ?"),
                      {trigger})
                .toInt() != 1)
            throw DataError(Reason::MissingSource,
                            QStringLiteral("trigger %1 is missing").arg(trigger));
    const QStringList problems = damage(db, integrityAtOpening(db));
    if (!problems.isEmpty())
        throw DataError(Reason::Damaged, QStringLiteral("the file is damaged: ") +
                                             problems.mid(0, 5).join(QStringLiteral("; ")));
}

namespace {

struct SchemaObject {
    QString type;
    QString sql;
};

QMap<QString, SchemaObject> schemaObjects(const QSqlDatabase& db) {
    QMap<QString, SchemaObject> objects;
    QSqlQuery query = runSql(db, QStringLiteral("SELECT name, type, sql FROM sqlite_schema"
                                                " WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    while (query.next())
        objects.insert(query.value(0).toString(),
                       {query.value(1).toString(), query.value(2).toString()});
    return objects;
}

// The schema as this program writes it, read back from a database made in memory once.
const QMap<QString, SchemaObject>& writtenSchema() {
    static const QMap<QString, SchemaObject> objects = [] {
        const QString name = QStringLiteral("pimlotan-schema");
        QMap<QString, SchemaObject> read;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (db.open()) {
                applySchema(db);
                read = schemaObjects(db);
            }
        }
        QSqlDatabase::removeDatabase(name);
        return read;
    }();
    return objects;
}

int versionOf(const QSqlDatabase& db) {
    return scalarSql(db, QStringLiteral("PRAGMA user_version")).toInt();
}

// The grading history's objects as this program adds them.
const QMap<QString, SchemaObject>& writtenHistory() {
    static const QMap<QString, SchemaObject> objects = [] {
        const QString name = QStringLiteral("pimlotan-history");
        QMap<QString, SchemaObject> read;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (db.open()) {
                applySchema(db);
                ensureHistory(db);
                read = schemaObjects(db);
                for (const QString& ours : writtenSchema().keys())
                    read.remove(ours);
            }
        }
        QSqlDatabase::removeDatabase(name);
        return read;
    }();
    return objects;
}

// The schema as this program writes a file of the given version, with the grading history
// when the file has it.
QMap<QString, SchemaObject> expectedSchema(int version, bool history) {
    QMap<QString, SchemaObject> objects = writtenSchema();
    if (history)
        objects.insert(writtenHistory());
    if (version < 2) {
        objects.remove(QString(keyMarkTable));
        objects.remove(QString(keyMarkTrigger));
    }
    return objects;
}

QStringList keyMarkProblems(const QSqlDatabase& db) {
    const QVariant marks = scalarSql(db, QStringLiteral("SELECT count(*) FROM \"keymark\""));
    if (marks.toInt() != 1)
        return {QStringLiteral("the key mark has %1 rows").arg(marks.toInt())};
    const bool below =
        scalarSql(db, QStringLiteral("SELECT \"highest\" < (SELECT coalesce(max(\"key\"), 0)"
                                     " FROM \"word\") FROM \"keymark\""))
            .toBool();
    return below ? QStringList{QStringLiteral("the key mark is below the highest key")}
                 : QStringList{};
}

QStringList schemaProblems(const QSqlDatabase& db) {
    const QMap<QString, SchemaObject> expected = expectedSchema(versionOf(db), hasHistory(db));
    const QMap<QString, SchemaObject> present = schemaObjects(db);
    QStringList problems;
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const auto found = present.constFind(it.key());
        if (found == present.constEnd())
            problems << QStringLiteral("%1 %2 is missing").arg(it->type, it.key());
        else if (found->type != it->type || found->sql != it->sql)
            problems << QStringLiteral("%1 %2 is changed").arg(it->type, it.key());
    }
    for (auto it = present.constBegin(); it != present.constEnd(); ++it)
        if (!expected.contains(it.key()))
            problems << QStringLiteral("%1 %2 is not ours").arg(it->type, it.key());
    return problems;
}

QStringList integrityProblems(const QSqlDatabase& db, Integrity integrity) {
    QStringList problems;
    QSqlQuery query =
        runSql(db, integrity == Integrity::Full ? QStringLiteral("PRAGMA integrity_check")
                                                : QStringLiteral("PRAGMA quick_check"));
    while (query.next())
        problems.append(query.value(0).toString());
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return problems;
}

} // namespace

Integrity integrityAtOpening(const QSqlDatabase& db) {
    const qint64 pages = scalarSql(db, QStringLiteral("PRAGMA page_count")).toLongLong();
    const qint64 pageSize = scalarSql(db, QStringLiteral("PRAGMA page_size")).toLongLong();
    return pages * pageSize <= fullCheckAtOpeningBytes ? Integrity::Full : Integrity::Quick;
}

QStringList damage(const QSqlDatabase& db, Integrity integrity) {
    QStringList problems = integrityProblems(db, integrity);
    if (!problems.isEmpty()) // the rest reads the same broken pages
        return problems;
    problems << schemaProblems(db);
    if (problems.isEmpty()) {
        try {
            checkTallies(db);
        } catch (const DataError& error) {
            problems << error.message();
        }
        if (versionOf(db) >= 2)
            problems << keyMarkProblems(db);
    }
    return problems;
}

void upgrade(const QSqlDatabase& db) {
    if (versionOf(db) >= formatVersion)
        return;
    // The added objects' statements as this program writes them, so that the upgraded file
    // passes the same schema comparison as a new one.
    for (const QString& statement : schemaStatements())
        if (statement.contains(QStringLiteral("\"%1\"").arg(keyMarkTable)))
            runSql(db, statement);
    runSql(db, QStringLiteral("UPDATE \"keymark\" SET \"highest\" ="
                              " (SELECT coalesce(max(\"key\"), 0) FROM \"word\")"));
    runSql(db, QStringLiteral("PRAGMA user_version = %1").arg(formatVersion));
}

qint64 nextKey(const QSqlDatabase& db) {
    const QString highestKey = QStringLiteral("SELECT coalesce(max(\"key\"), 0) FROM \"word\"");
    qint64 highest = scalarSql(db, highestKey).toLongLong();
    if (versionOf(db) >= 2)
        highest = std::max(
            highest,
            scalarSql(db, QStringLiteral("SELECT \"highest\" FROM \"keymark\"")).toLongLong());
    // A removed word's history keeps its key: a new word must not take that record over (a
    // first-format deck has no key mark, and a copy's mark counts only the words).
    if (hasHistory(db))
        highest = std::max(
            highest,
            scalarSql(db, QStringLiteral("SELECT coalesce(max(\"key\"), 0) FROM \"history\""))
                .toLongLong());
    if (highest >= 2147483647)
        throw DataError(DataError::Reason::Misuse, QStringLiteral("every key has been used"));
    return highest + 1;
}

void checkTallies(const QSqlDatabase& db) {
    // Both differences as sets: a full join of the two costs 140 ms on 10,000 words, this 5.
    const QString counted =
        QStringLiteral("SELECT \"group\", \"sgroup\", \"level\", count(*) FROM \"word\""
                       " GROUP BY 1, 2, 3");
    const QString kept =
        QStringLiteral("SELECT \"group\", \"sgroup\", \"level\", \"count\" FROM \"tally\""
                       " WHERE \"count\" > 0");
    const int wrong =
        scalarSql(
            db, QStringLiteral(
                    "SELECT count(*) FROM (SELECT DISTINCT \"group\", \"sgroup\", \"level\""
                    " FROM (SELECT * FROM (%1 EXCEPT %2) UNION ALL SELECT * FROM (%2 EXCEPT %1)))")
                    .arg(counted, kept))
            .toInt();
    if (wrong != 0)
        throw DataError(
            DataError::Reason::Damaged,
            QStringLiteral("the word counts of %1 (group, sub-group, level) are wrong").arg(wrong));
}

} // namespace WordDataFormat
