#include "worddatafile.h"

#include "dataerror.h"
#include "enginequery.h"
#include "resultrows.h"
#include "worddataformat.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QUrl>
#include <optional>
#include <sys/stat.h>

namespace WordDataFile {
namespace {

// What tells one file on disk from another one put at the same path: a file renamed over
// the old one has a new inode; one copied over it in place has a new change time, also when a
// copier kept the size (decks are whole pages) and set the old modification time again.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                     qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

struct Entry {
    QString connectionName;
    bool readOnly = false;
    int transactionDepth = 0;
    std::optional<FileStamp> stamp; // as opened, or as our own last commit left it
    bool history = false;           // the file holds the grading history
};

QHash<QString, Entry>& registry() {
    static QHash<QString, Entry> entries;
    return entries;
}

// One key per file, however the path was spelled.
// Resolved paths, remembered: resolving costs a system call per folder on every refresh.
QHash<QString, QString>& resolvedPaths() {
    static QHash<QString, QString> paths;
    return paths;
}

QString keyFor(const QString& path) {
    if (const auto it = resolvedPaths().constFind(path); it != resolvedPaths().constEnd())
        return *it;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        return info.absoluteFilePath();
    resolvedPaths().insert(path, canonical);
    return canonical;
}

// A file without any write permission is opened read-only even for root, who could otherwise
// write it, so a deck that a parent marked read-only is never changed.
bool writable(const QFileInfo& info) {
    const QFileDevice::Permissions perms = info.permissions();
    const bool anyWrite =
        perms & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    return anyWrite && info.isWritable();
}

// mode=rw (or ro) never creates a missing file, unlike a plain path.
QString uriFor(const QString& file, bool readOnly) {
    return QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(file, "/")) +
           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
}

void removeConnection(const QString& name) {
    try {
        ResultRows::finishAll(name); // no statement outlives its connection
    } catch (const DataError&) {     // closing anyway: the statements are closed all the same
    }
    ResultRows::forgetStatements(name);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QSqlDatabase openChecked(const QString& key, const QString& path, bool readOnly,
                         const QString& name) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // A file locked by another program (a second copy, the deck maker) is waited for only
    // briefly: the write then fails and is reported instead of freezing the screen.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    db.setDatabaseName(uriFor(key, readOnly));
    if (!db.open()) {
        const QString engine = db.lastError().databaseText();
        throw DataError(QFileInfo::exists(key) ? DataError::Reason::Engine
                                               : DataError::Reason::FileMissing,
                        QStringLiteral("%1: %2").arg(path, engine));
    }
    try {
        WordDataFormat::check(db);
        // The journal mode is left as the file has it: switching it would rewrite the file.
        // Files we create are in DELETE mode, so a .pml is one file a parent can copy.
        runSql(db, QStringLiteral("PRAGMA synchronous = FULL"));
    } catch (const DataError& error) {
        throw DataError(error.reason(), QStringLiteral("%1: %2").arg(path, error.message()));
    }
    return db;
}

} // namespace

QSqlDatabase connection(const QString& path) {
    if (path.isEmpty())
        throw DataError(DataError::Reason::FileMissing,
                        QStringLiteral("no word-data file is chosen"));
    const QFileInfo info(path);
    // A named pipe, a device or a folder is not a deck (and opening a pipe would wait for ever).
    if (info.exists() && !info.isFile())
        throw DataError(DataError::Reason::NotWordData,
                        QStringLiteral("%1: not a regular file").arg(path));
    if (!info.isFile())
        throw DataError(DataError::Reason::FileMissing,
                        QStringLiteral("%1: no such file").arg(path));
    const QString key = keyFor(path);
    if (const auto it = registry().constFind(key); it != registry().constEnd())
        return QSqlDatabase::database(it->connectionName, false);

    const QString name = QStringLiteral("pimlotan-worddata:") + key;
    const bool readOnly = !writable(info);
    try {
        const std::optional<FileStamp> stamp = stampOf(key);
        QSqlDatabase db = openChecked(key, path, readOnly, name);
        registry().insert(key, Entry{name, readOnly, 0, stamp});
        return db;
    } catch (...) {
        removeConnection(name);
        throw;
    }
}

bool isOpen(const QString& path) {
    return registry().contains(keyFor(path));
}

bool isReadOnly(const QString& path) {
    const auto it = registry().constFind(keyFor(path));
    return it != registry().constEnd() && it->readOnly;
}

void close(const QString& path) {
    const auto it = registry().constFind(keyFor(path));
    if (it == registry().constEnd())
        return;
    const QString name = it->connectionName;
    registry().erase(it);
    resolvedPaths().clear();
    removeConnection(name);
}

bool closeIfReplaced(const QString& path) {
    const auto it = registry().constFind(keyFor(path));
    if (it == registry().constEnd() || it->transactionDepth > 0 || stampOf(it.key()) == it->stamp)
        return false;
    close(path);
    return true;
}

void noteWritten(const QString& path) {
    const QString key = keyFor(path);
    if (const auto it = registry().find(key); it != registry().end())
        it->stamp = stampOf(key);
}

bool knowsHistory(const QString& path) {
    return registry().value(keyFor(path)).history;
}

void noteHistory(const QString& path) {
    if (const auto it = registry().find(keyFor(path)); it != registry().end())
        it->history = true;
}

void closeAll() {
    const QList<Entry> entries = registry().values();
    registry().clear();
    resolvedPaths().clear();
    for (const Entry& entry : entries)
        removeConnection(entry.connectionName);
}

void inTransaction(const QString& path, const std::function<void()>& work) {
    QSqlDatabase db = connection(path);
    const QString key = keyFor(path);
    // Looked up each time: work may open other files and so move the registry's entries.
    const auto addDepth = [&key](int delta) {
        if (const auto it = registry().find(key); it != registry().end())
            it->transactionDepth += delta;
    };
    if (registry().value(key).transactionDepth > 0) { // nested: the outer one commits
        addDepth(1);
        try {
            work();
        } catch (...) {
            addDepth(-1);
            throw;
        }
        addDepth(-1);
        return;
    }
    ResultRows::finishAll(db.connectionName()); // so that COMMIT need not wait for a reader
    // IMMEDIATE takes the write lock first, so the work cannot fail half-way for a lock.
    runSql(db, QStringLiteral("BEGIN IMMEDIATE"));
    addDepth(1);
    try {
        work();
        runSql(db, QStringLiteral("COMMIT"));
        noteWritten(path);
    } catch (...) {
        addDepth(-1);
        QSqlQuery rollback(db);
        rollback.exec(
            QStringLiteral("ROLLBACK")); // fails harmlessly when the engine already rolled back
        throw;
    }
    addDepth(-1);
}

} // namespace WordDataFile
