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

using namespace Qt::StringLiterals;

// Pulls the compiled-in schema into a static link (outside any namespace, as the macro needs).
static void initSchemaResource() {
    Q_INIT_RESOURCE(worddata);
}

namespace WordDataFormat {

const QList<SourceFields>& recordSources() {
    static const QList<SourceFields> sources{
        {RecordSource::tittle, {u"group"_s, u"tittle"_s, u"ttlimage"_s, u"setmei"_s}},
        {RecordSource::selected, {u"group"_s, u"sgroup"_s, u"select"_s}},
        {RecordSource::ordered, {u"group"_s, u"sgroup"_s, u"images"_s}},
        {RecordSource::syukei, {u"group"_s, u"sgroup"_s, u"level"_s, u"count"_s}},
        {RecordSource::syukei2, {u"level"_s, u"count"_s}},
        {RecordSource::selectWord,
         {u"key"_s, u"level"_s, u"times"_s, u"word"_s, u"meaning"_s, u"images"_s, u"voice"_s,
          u"text1"_s, u"text2"_s, u"filler1"_s, u"filler2"_s, u"filler3"_s}},
        {RecordSource::word, {u"key"_s, u"group"_s, u"sgroup"_s, u"level"_s, u"times"_s}},
    };
    return sources;
}

static const QList<UpdatableSource>& updatableSources() {
    static const QList<UpdatableSource> sources{
        {RecordSource::selected, {u"group"_s, u"sgroup"_s}, {u"select"_s}},
        {RecordSource::selectWord, {u"key"_s}, {u"level"_s, u"times"_s}},
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
static const QStringList requiredTriggers{u"selected_update"_s, u"select_word_update"_s,
                                          u"word_tally_insert"_s, u"word_tally_delete"_s,
                                          u"word_tally_update"_s};

QString schemaSql() {
    initSchemaResource();
    QFile file(u":/worddata/schema.sql"_s);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(DataError::Reason::Misuse, u"the word-data schema is not built in"_s);
    return QString::fromUtf8(file.readAll());
}

QStringList schemaStatements() {
    return splitSqlScript(schemaSql());
}

void applySchema(QSqlDatabase& db) {
    if (scalarSql(db, u"SELECT count(*) FROM sqlite_schema"_s).toInt() != 0)
        throw DataError(DataError::Reason::Misuse,
                        u"the schema is applied only to an empty database"_s);
    if (!db.transaction())
        throw DataError(DataError::Reason::Engine, db.lastError().databaseText());
    try {
        for (const QString& statement : schemaStatements())
            runSql(db, statement);
        // PRAGMA takes no bound values; both numbers are our own constants.
        runSql(db, u"PRAGMA application_id = %1"_s.arg(applicationId));
        runSql(db, u"PRAGMA user_version = %1"_s.arg(formatVersion));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DataError(DataError::Reason::Engine, db.lastError().databaseText());
}

void create(const QString& path) {
    if (QFileInfo::exists(path))
        throw DataError(DataError::Reason::Misuse, u"%1 already exists"_s.arg(path));
    static QAtomicInt serial;
    const QString name = u"pimlotan-create-%1"_s.arg(serial.fetchAndAddRelaxed(1));
    bool created = false;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        if (!db.open())
            throw DataError(DataError::Reason::Engine,
                            u"%1: %2"_s.arg(path, db.lastError().databaseText()));
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
        id = scalarSql(db, u"PRAGMA application_id"_s);
    } catch (const DataError& error) {
        throw DataError(Reason::NotWordData, u"not an SQLite database: "_s + error.message());
    }
    if (id.toLongLong() != applicationId)
        throw DataError(Reason::NotWordData,
                        u"not a word-data file (application id %1)"_s.arg(id.toLongLong()));
    const int version = scalarSql(db, u"PRAGMA user_version"_s).toInt();
    if (version != formatVersion)
        throw DataError(
            Reason::WrongVersion,
            u"word-data format version %1; this program reads version %2"_s.arg(version).arg(
                formatVersion));

    for (const SourceFields& source : recordSources()) {
        QStringList present;
        try {
            QSqlQuery query =
                runSql(db, u"SELECT name FROM pragma_table_info(?)"_s, {QString(source.source)});
            while (query.next())
                present.append(query.value(0).toString().toLower());
        } catch (const DataError& error) {
            throw DataError(Reason::MissingSource, u"record source %1 is broken: %2"_s.arg(
                                                       source.source, error.message()));
        }
        if (present.isEmpty())
            throw DataError(Reason::MissingSource,
                            u"record source %1 is missing"_s.arg(source.source));
        for (const QString& field : source.fields)
            if (!present.contains(field))
                throw DataError(Reason::MissingSource,
                                u"record source %1 lacks the field %2"_s.arg(source.source, field));
    }
    for (const QString& trigger : requiredTriggers)
        if (scalarSql(db,
                      u"SELECT count(*) FROM sqlite_schema WHERE type = 'trigger' AND name = ?"_s,
                      {trigger})
                .toInt() != 1)
            throw DataError(Reason::MissingSource, u"trigger %1 is missing"_s.arg(trigger));
    const QStringList problems = damage(db, integrityAtOpening(db));
    if (!problems.isEmpty())
        throw DataError(Reason::Damaged,
                        u"the file is damaged: "_s + problems.mid(0, 5).join(u"; "_s));
}

namespace {

struct SchemaObject {
    QString type;
    QString sql;
};

QMap<QString, SchemaObject> schemaObjects(const QSqlDatabase& db) {
    QMap<QString, SchemaObject> objects;
    QSqlQuery query = runSql(db, u"SELECT name, type, sql FROM sqlite_schema"
                                 u" WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"_s);
    while (query.next())
        objects.insert(query.value(0).toString(),
                       {query.value(1).toString(), query.value(2).toString()});
    return objects;
}

// The schema as this program writes it, read back from a database made in memory once.
const QMap<QString, SchemaObject>& writtenSchema() {
    static const QMap<QString, SchemaObject> objects = [] {
        const QString name = u"pimlotan-schema"_s;
        QMap<QString, SchemaObject> read;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(u":memory:"_s);
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

QStringList schemaProblems(const QSqlDatabase& db) {
    const QMap<QString, SchemaObject> expected = writtenSchema();
    const QMap<QString, SchemaObject> present = schemaObjects(db);
    QStringList problems;
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const auto found = present.constFind(it.key());
        if (found == present.constEnd())
            problems << u"%1 %2 is missing"_s.arg(it->type, it.key());
        else if (found->type != it->type || found->sql != it->sql)
            problems << u"%1 %2 is changed"_s.arg(it->type, it.key());
    }
    for (auto it = present.constBegin(); it != present.constEnd(); ++it)
        if (!expected.contains(it.key()))
            problems << u"%1 %2 is not ours"_s.arg(it->type, it.key());
    return problems;
}

QStringList integrityProblems(const QSqlDatabase& db, Integrity integrity) {
    QStringList problems;
    QSqlQuery query = runSql(db, integrity == Integrity::Full ? u"PRAGMA integrity_check"_s
                                                              : u"PRAGMA quick_check"_s);
    while (query.next())
        problems.append(query.value(0).toString());
    if (problems == QStringList{u"ok"_s})
        return {};
    return problems;
}

} // namespace

Integrity integrityAtOpening(const QSqlDatabase& db) {
    const qint64 pages = scalarSql(db, u"PRAGMA page_count"_s).toLongLong();
    const qint64 pageSize = scalarSql(db, u"PRAGMA page_size"_s).toLongLong();
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
    }
    return problems;
}

void checkTallies(const QSqlDatabase& db) {
    // Both differences as sets: a full join of the two costs 140 ms on 10,000 words, this 5.
    const QString counted = u"SELECT \"group\", \"sgroup\", \"level\", count(*) FROM \"word\""
                            u" GROUP BY 1, 2, 3"_s;
    const QString kept = u"SELECT \"group\", \"sgroup\", \"level\", \"count\" FROM \"tally\""
                         u" WHERE \"count\" > 0"_s;
    const int wrong =
        scalarSql(
            db,
            u"SELECT count(*) FROM (SELECT DISTINCT \"group\", \"sgroup\", \"level\""
            u" FROM (SELECT * FROM (%1 EXCEPT %2) UNION ALL SELECT * FROM (%2 EXCEPT %1)))"_s.arg(
                counted, kept))
            .toInt();
    if (wrong != 0)
        throw DataError(DataError::Reason::Damaged,
                        u"the word counts of %1 (group, sub-group, level) are wrong"_s.arg(wrong));
}

} // namespace WordDataFormat
