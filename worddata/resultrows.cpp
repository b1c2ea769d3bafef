#include "resultrows.h"

#include "dataerror.h"
#include "enginequery.h"
#include "statement.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlError>
#include <QSqlRecord>
#include <QTimer>
#include <cstdio>
#include <map>

namespace {

// The open results of each connection, by connection name.
QHash<QString, QList<std::weak_ptr<ResultRows>>>& openResults() {
    static QHash<QString, QList<std::weak_ptr<ResultRows>>> results;
    return results;
}

// The number of writes made on each connection, by connection name.
QHash<QString, quint64>& writeCounts() {
    static QHash<QString, quint64> counts;
    return counts;
}

// Prepared statements kept for reuse, by connection name and SQL text, with their field
// names: preparing a statement over a view costs about 25 µs, and a click opens dozens.
struct IdleStatement {
    QSqlQuery query;
    QStringList names;
};
using IdleStatements = std::multimap<QString, IdleStatement>; // QSqlQuery moves, never copies
std::map<QString, IdleStatements>& idleStatements() {
    static std::map<QString, IdleStatements> statements;
    return statements;
}

IdleStatement takeStatement(const QString& connectionName, const QString& sql) {
    IdleStatements& idle = idleStatements()[connectionName];
    if (const auto it = idle.find(sql); it != idle.end()) {
        IdleStatement statement = std::move(it->second);
        idle.erase(it);
        return statement;
    }
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw engineError(query, sql);
    return {std::move(query), {}};
}

void giveBackStatement(const QString& connectionName, const QString& sql, QSqlQuery&& query,
                       const QStringList& names) {
    query.finish();
    const auto connection = idleStatements().find(connectionName);
    if (connection != idleStatements().end() && connection->second.count(sql) < 2)
        connection->second.emplace(sql, IdleStatement{std::move(query), names});
}

// An open statement holds the engine's read lock, and with it every other program's write.
// Once the event that opened a result is done, the rest of its rows are read, so no lock is
// held while the screen waits for the user.
void finishWhenIdle() {
    static bool scheduled = false;
    if (scheduled || !QCoreApplication::instance())
        return;
    scheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        scheduled = false;
        for (const QString& connection : openResults().keys()) {
            try {
                ResultRows::finishAll(connection);
            } catch (const DataError& error) { // the rows read so far stay; the next use reports
                std::fprintf(stderr, "pimlotan: %s\n", error.what());
            }
        }
    });
}

QString trimmedSql(const QString& sql) {
    QString text = sql.trimmed();
    while (text.endsWith(u';'))
        text.chop(1);
    return text;
}

} // namespace

std::shared_ptr<ResultRows> ResultRows::open(const QString& connectionName,
                                             const Statement& statement) {
    auto result = std::make_shared<ResultRows>();
    result->connection_ = connectionName;
    result->writesAtOpen_ = writeCounts().value(connectionName);
    result->values_ = QList<QVariant>(statement.values.begin(), statement.values.end());
    result->countSql_ = statement.countSql.isEmpty() ? QStringLiteral("SELECT count(*) FROM (") +
                                                           trimmedSql(statement.sql) + u')'
                                                     : statement.countSql;
    result->sql_ = statement.sql;
    IdleStatement prepared = takeStatement(connectionName, statement.sql);
    for (int i = 0; i < result->values_.size(); ++i)
        prepared.query.bindValue(i, result->values_[i]);
    if (!prepared.query.exec())
        throw engineError(prepared.query, statement.sql);
    result->names_ = prepared.names;
    if (result->names_.isEmpty()) {
        const QSqlRecord record = prepared.query.record();
        for (int i = 0; i < record.count(); ++i)
            result->names_.append(record.fieldName(i));
    }
    result->query_.emplace(std::move(prepared.query));

    QList<std::weak_ptr<ResultRows>>& open = openResults()[connectionName];
    open.removeIf([](const std::weak_ptr<ResultRows>& r) { return r.expired(); });
    open.append(result);
    result->fetchOne();
    if (result->query_)
        finishWhenIdle();
    return result;
}

bool ResultRows::fetchOne() {
    if (!query_)
        return false;
    if (!query_->next()) {
        const QSqlError error = query_->lastError();
        releaseStatement(); // and with it the engine's read lock
        if (error.isValid())
            throw DataError(DataError::Reason::Engine, error.databaseText());
        return false;
    }
    for (int i = 0; i < names_.size(); ++i)
        cells_.append(query_->value(i));
    ++loaded_;
    return true;
}

ResultRows::~ResultRows() {
    releaseStatement();
}

void ResultRows::releaseStatement() {
    if (query_)
        giveBackStatement(connection_, sql_, std::move(*query_), names_);
    query_.reset();
}

void ResultRows::forgetStatements(const QString& connectionName) {
    idleStatements().erase(connectionName);
}

bool ResultRows::readUpTo(int row) {
    while (loaded_ <= row)
        if (!fetchOne())
            return false;
    return true;
}

int ResultRows::count() {
    if (!query_)
        return loaded_;
    if (!count_) // nothing is written while rows remain unread, so the count holds
        count_ = scalarSql(QSqlDatabase::database(connection_, false), countSql_, values_).toInt();
    return *count_;
}

void ResultRows::finish() {
    while (fetchOne()) {
    }
}

void ResultRows::noteWrite(const QString& connectionName) {
    ++writeCounts()[connectionName];
}

bool ResultRows::isCurrent() const {
    return writeCounts().value(connection_) == writesAtOpen_;
}

void ResultRows::finishAll(const QString& connectionName) {
    const QList<std::weak_ptr<ResultRows>> open = openResults().take(connectionName);
    std::optional<DataError> failure;
    for (const std::weak_ptr<ResultRows>& weak : open) {
        if (const std::shared_ptr<ResultRows> result = weak.lock()) {
            try {
                result->finish();
            } catch (const DataError& error) { // its statement is closed all the same
                failure.emplace(error);
            }
        }
    }
    if (failure)
        throw *failure;
}
