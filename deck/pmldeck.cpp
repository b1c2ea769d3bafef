#include "pmldeck.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <dataerror.h>
#include <enginequery.h>
#include <filesystem>
#include <mediapath.h>
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

// extra, when given, adds the named column with a value per row.
template <typename Record>
void insertRows(const QSqlDatabase& db, QLatin1StringView table,
                std::span<const DeckField<Record>> fields, const QList<Record>& rows,
                const QString& extraColumn = {},
                const std::function<QVariant(const Record&)>& extra = {}) {
    QString columns = columnList(fields);
    QStringList marks(qsizetype(fields.size()), QStringLiteral("?"));
    if (extra) {
        columns += QStringLiteral(", ") + quoted(extraColumn);
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(table), columns, marks.join(u", "));
    for (const Record& row : rows) {
        QVariantList values;
        for (const auto& field : fields)
            values << field.get(row);
        if (extra)
            values << extra(row);
        runSql(db, sql, values);
    }
}

// Copied under a temporary name and renamed, so an interrupted build never leaves half a
// picture; not synced to disk one by one (QFile::copy is), which took seconds.
QString copyFile(const QString& from, const QString& to) {
    if (QFileInfo::exists(to) &&
        QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return {};
    if (!QDir().mkpath(QFileInfo(to).path()))
        return QStringLiteral("%1: cannot create the folder").arg(QFileInfo(to).path());
    const QString part = to + QStringLiteral(".part");
    std::error_code error;
    std::filesystem::copy_file(nativePath(from), nativePath(part),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        QFile::remove(part);
        return QStringLiteral("%1: %2").arg(part, QString::fromStdString(error.message()));
    }
    if (const QString failure = replaceFile(part, to); !failure.isEmpty()) {
        QFile::remove(part);
        return failure;
    }
    return {};
}

template <typename Record>
QList<Record> selectRows(const QSqlDatabase& db, QLatin1StringView table,
                         std::span<const DeckField<Record>> fields, const QString& order,
                         const QString& where = QStringLiteral("1"),
                         const QVariantList& values = {}) {
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                            .arg(columnList(fields), quoted(table), where, order);
    QSqlQuery query = runSql(db, sql, values);
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

QString copyMedia(const Deck& deck, const QString& from, const QString& to, QStringList* missing,
                  const Progress& progress) {
    struct Medium {
        QString name;
        bool picture;
    };
    QList<Medium> media;
    QSet<std::pair<QString, bool>> seen;
    const auto add = [&](const QString& name, bool picture) {
        if (MediaPath::isPlainName(name) && !seen.contains({name, picture})) {
            seen.insert({name, picture});
            media << Medium{name, picture};
        }
    };
    for (const DeckGroup& g : deck.groups)
        add(g.ttlimage, true);
    for (const DeckSubGroup& s : deck.subGroups)
        add(s.images, true);
    for (const DeckWord& w : deck.words) {
        add(w.images, true);
        add(w.voice, false);
    }
    const MediaPath::MediaFolders source(QDir(from).absolutePath() + u'/');
    const QDir target(to);
    for (qsizetype done = 0; done < media.size(); ++done) {
        if (progress)
            progress(int(done), int(media.size()));
        const auto& [name, picture] = media.at(done);
        const QString found = picture ? source.picture(name) : source.voice(name);
        if (!QFileInfo(found).isFile()) {
            if (missing)
                *missing << (picture ? MediaPath::pictureFile(name) : MediaPath::voiceFile(name));
            continue;
        }
        // Stored under the name the deck gives, with the suffix in lower case.
        const QString file = (picture ? QStringLiteral("images/") : QStringLiteral("voice/")) +
                             name + u'.' + QFileInfo(found).suffix().toLower();
        if (const QString error = copyFile(found, target.filePath(file)); !error.isEmpty())
            return error;
    }
    return {};
}

QString write(const Deck& deck, const QString& mediaFrom, const QString& path,
              const WriteOptions& options) {
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
            insertRows<DeckSubGroup>(db, WordDataFormat::subGroupTable, DeckFields::subGroups(),
                                     deck.subGroups, QStringLiteral("select"),
                                     [&](const DeckSubGroup& s) {
                                         return QVariant(options.keepMarks && s.select ? 1 : 0);
                                     });
            insertRows(db, WordDataFormat::wordTable, DeckFields::words(), deck.words);
            if (!deck.history.isEmpty()) {
                WordDataFormat::ensureHistory(db);
                insertRows(db, WordDataFormat::historyTable, DeckFields::history(), deck.history);
            }
        });
        WordDataFile::close(temporary);
    } catch (const DataError& error) {
        WordDataFile::close(temporary);
        QFile::remove(temporary);
        return error.message();
    }
    QString error =
        copyMedia(deck, mediaFrom, target.absolutePath(), options.missingMedia, options.progress);
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

QList<DeckHistory> readHistory(const QSqlDatabase& db, qint64 afterRow) {
    if (!WordDataFormat::hasHistory(db))
        return {};
    return selectRows(db, WordDataFormat::historyTable, DeckFields::history(),
                      QStringLiteral("\"time\", rowid"), QStringLiteral("rowid > ?"), {afterRow});
}

Deck read(const QString& path) {
    Deck deck;
    try {
        const QSqlDatabase db = WordDataFile::connection(path);
        deck = readRows(db);
        deck.history = readHistory(db);
        nameHistory(deck.history, deck.words);
    } catch (...) {
        WordDataFile::close(path);
        throw;
    }
    WordDataFile::close(path);
    return deck;
}

} // namespace PmlDeck
