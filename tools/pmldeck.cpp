#include "pmldeck.h"

#include "deckvalidator.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <dataerror.h>
#include <enginequery.h>
#include <filesystem>
#include <system_error>
#include <temporaryname.h>
#include <worddatafile.h>
#include <worddataformat.h>

namespace PmlDeck {

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// rename(2) replaces the target in one step; QFile::rename refuses an existing target.
QString replaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return error ? QStringLiteral("%1: %2").arg(to, QString::fromStdString(error.message()))
                 : QString();
}

template <typename Record> QString columnList(std::span<const DeckField<Record>> fields) {
    QStringList names;
    for (const auto& field : fields)
        names << quoted(field.name);
    return names.join(u", ");
}

template <typename Record>
void insertRows(const QSqlDatabase& db, QLatin1StringView table,
                std::span<const DeckField<Record>> fields, const QList<Record>& rows,
                const QString& extraColumn = {}, const QVariant& extraValue = {}) {
    QString columns = columnList(fields);
    QStringList marks(qsizetype(fields.size()), QStringLiteral("?"));
    if (!extraColumn.isEmpty()) {
        columns += QStringLiteral(", ") + quoted(extraColumn);
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(table), columns, marks.join(u", "));
    for (const Record& row : rows) {
        QVariantList values;
        for (const auto& field : fields)
            values << field.get(row);
        if (!extraColumn.isEmpty())
            values << extraValue;
        runSql(db, sql, values);
    }
}

template <typename Record>
QList<Record> selectRows(const QSqlDatabase& db, QLatin1StringView table,
                         std::span<const DeckField<Record>> fields, const QString& order) {
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                            .arg(columnList(fields), quoted(table), order);
    QSqlQuery query = runSql(db, sql);
    QList<Record> rows;
    while (query.next()) {
        Record row;
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i].set(row, query.value(int(i)));
        rows << row;
    }
    return rows;
}

} // namespace

QString copyMedia(const QStringList& files, const QString& from, const QString& to,
                  QStringList* missing) {
    const QDir source(from);
    const QDir target(to);
    for (const QString& file : files) {
        const QFileInfo in(source.filePath(file));
        const QFileInfo out(target.filePath(file));
        if (!in.isFile()) {
            if (missing)
                *missing << file;
            continue;
        }
        if (out.exists() && in.canonicalFilePath() == out.canonicalFilePath())
            continue;
        if (!target.mkpath(QFileInfo(file).path()))
            return QStringLiteral("%1: cannot create the folder").arg(out.path());
        // Copied under a temporary name and renamed, so an interrupted build never leaves half
        // a picture; not synced to disk one by one (QFile::copy is), which took seconds.
        const QString part = out.filePath() + QStringLiteral(".part");
        std::error_code error;
        std::filesystem::copy_file(nativePath(in.filePath()), nativePath(part),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            return QStringLiteral("%1: %2").arg(part, QString::fromStdString(error.message()));
        if (const QString failure = replaceFile(part, out.filePath()); !failure.isEmpty()) {
            QFile::remove(part);
            return failure;
        }
    }
    return {};
}

QString write(const Deck& deck, const QString& mediaFrom, const QString& path) {
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        return QStringLiteral("%1: cannot create the folder").arg(target.absolutePath());
    const QString temporary = temporaryNameBeside(target.absoluteFilePath());
    if (temporary.isEmpty())
        return QStringLiteral("%1: cannot write in this folder").arg(target.absolutePath());
    try {
        WordDataFormat::create(temporary);
        WordDataFile::inTransaction(temporary, [&] {
            const QSqlDatabase db = WordDataFile::connection(temporary);
            insertRows(db, WordDataFormat::groupTable, DeckFields::groups(), deck.groups);
            // Every sub-group starts unmarked.
            insertRows(db, WordDataFormat::subGroupTable, DeckFields::subGroups(), deck.subGroups,
                       QStringLiteral("select"), QVariant(0));
            insertRows(db, WordDataFormat::wordTable, DeckFields::words(), deck.words);
        });
        WordDataFile::close(temporary);
    } catch (const DataError& error) {
        WordDataFile::close(temporary);
        QFile::remove(temporary);
        return error.message();
    }
    QString error = copyMedia(deckMediaFiles(deck), mediaFrom, target.absolutePath());
    if (error.isEmpty())
        error = replaceFile(temporary, target.absoluteFilePath());
    if (!error.isEmpty())
        QFile::remove(temporary);
    return error;
}

Deck readRows(const QSqlDatabase& db) {
    Deck deck;
    deck.groups = selectRows(db, WordDataFormat::groupTable, DeckFields::groups(),
                             quoted(QStringLiteral("group")));
    deck.subGroups = selectRows(db, WordDataFormat::subGroupTable, DeckFields::subGroups(),
                                QStringLiteral("%1, %2").arg(quoted(QStringLiteral("group")),
                                                             quoted(QStringLiteral("sgroup"))));
    deck.words = selectRows(db, WordDataFormat::wordTable, DeckFields::words(),
                            quoted(QStringLiteral("key")));
    return deck;
}

Deck read(const QString& path) {
    Deck deck;
    try {
        deck = readRows(WordDataFile::connection(path));
    } catch (...) {
        WordDataFile::close(path);
        throw;
    }
    WordDataFile::close(path);
    return deck;
}

} // namespace PmlDeck
