#pragma once

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

struct Statement;

// The rows of one result, read from the engine only as far as a cursor needs them: a page of
// nine words out of a level of two thousand converts nine rows, not all of them.
//
// While rows remain unread the engine statement stays open, until the event that opened it
// is done (then the rest is read, so that no lock is held between events). Before anything is
// written on the same connection, and before the connection closes, every open result reads its
// remaining rows (finishAll), so a result is always the rows as they were when it was
// opened, a write never runs beside an open statement (its commit would wait for it), and no
// statement outlives its connection.
class ResultRows {
  public:
    // Runs statement on the connection; the first row is read at once. Throws DataError.
    static std::shared_ptr<ResultRows> open(const QString& connectionName,
                                            const Statement& statement);
    ResultRows() = default;
    ResultRows(const ResultRows&) = delete;
    ResultRows& operator=(const ResultRows&) = delete;
    ~ResultRows();

    const QStringList& names() const { return names_; }
    // Reads up to row; false when the result has fewer rows.
    bool has(int row) { return row < loaded_ || readUpTo(row); }
    // The rows read so far.
    int loaded() const { return loaded_; }
    // A field of a row read (a Null is a null variant of its column's type).
    QVariant& cell(int row, int column) { return cells_[qsizetype(row) * names_.size() + column]; }
    // The number of rows; while rows remain unread, counted by the engine without them.
    int count();
    // Reads every remaining row and closes the statement.
    void finish();

    // Finishes every open result of a connection (before a write or closing it).
    static void finishAll(const QString& connectionName);
    // Drops the prepared statements kept for a connection (before it closes; every result
    // on it must be finished).
    static void forgetStatements(const QString& connectionName);
    // Records that rows were written on a connection.
    static void noteWrite(const QString& connectionName);
    // True when nothing was written on the connection since this result was opened, so its
    // rows are what the file holds.
    bool isCurrent() const;

  private:
    bool fetchOne();
    bool readUpTo(int row);
    void releaseStatement();

    QString connection_;
    QString sql_;
    QString countSql_;
    QList<QVariant> values_;
    std::optional<QSqlQuery> query_; // empty once every row is read
    QStringList names_;
    QList<QVariant> cells_; // row after row: one allocation for the whole result
    int loaded_ = 0;
    std::optional<int> count_;
    quint64 writesAtOpen_ = 0;
};
