#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

// The open word-data files of the process: one QSqlDatabase connection per file path, shared
// by every DataSource, so that a change written through one data source is seen by every
// result opened afterwards. Everything runs on the GUI thread.
namespace WordDataFile {

// The connection for path, opening it on first use: the file must exist (it is never
// created), must pass WordDataFormat::check, and is opened read-only when it is not
// writable. Journal mode DELETE, synchronous FULL. Throws DataError.
QSqlDatabase connection(const QString& path);

// True when path is open (read-only or not).
bool isOpen(const QString& path);
// True when path is open read-only.
bool isReadOnly(const QString& path);

// Closes the connection of path (the next use opens and checks it again), so that a file
// replaced on disk is read anew. Data sources keep no engine state, so this is always safe.
void close(const QString& path);
// Closes the connection of path when the path no longer names the file that was opened
// (another file renamed or copied over it, or the file removed), so that the next use opens
// and checks the file now there. Cheap (one stat); the screens call it at each activation.
// True when it closed.
bool closeIfReplaced(const QString& path);

// Records the file as a write of ours left it: our own writes change its time, and must not
// read as a replaced file.
void noteWritten(const QString& path);

// Whether the open file is known to hold the grading history (found or added through this
// connection); forgotten with the connection, so a replaced file is looked at again.
bool knowsHistory(const QString& path);
void noteHistory(const QString& path);

// Closes every connection (tests; before the program ends).
void closeAll();

// Runs work in one transaction on path's connection: committed when work returns, rolled
// back when it throws (the exception passes on). Writes made by DataSource::Update() inside
// work are committed together. Throws DataError.
void inTransaction(const QString& path, const std::function<void()>& work);

} // namespace WordDataFile
