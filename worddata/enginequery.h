#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class DataError;

// Runs one statement and turns an engine failure into DataError(Engine) whose message names
// what was being done and carries the engine's text.
QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// The engine's failure of query as DataError(Engine).
DataError engineError(const QSqlQuery& query, const QString& sql);

// The first column of the first row (QVariant() when there is none).
QVariant scalarSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Quotes an identifier for SQL ("group" -> "\"group\"").
QString quoted(const QString& identifier);
