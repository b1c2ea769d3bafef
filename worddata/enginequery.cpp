#include "enginequery.h"

#include "dataerror.h"

#include <QSqlError>

QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant& value : values)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok)
        throw engineError(query, sql);
    return query;
}

DataError engineError(const QSqlQuery& query, const QString& sql) {
    const QSqlError error = query.lastError();
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    // The driver gives the engine's result code; its low byte is the primary code.
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    constexpr int sqliteBusy = 5, sqliteLocked = 6;
    const bool busy = numeric && (code == sqliteBusy || code == sqliteLocked);
    return DataError(busy ? DataError::Reason::Busy : DataError::Reason::Engine,
                     engine + QStringLiteral(" (") + sql.simplified() + u')');
}

QVariant scalarSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query = runSql(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

QString quoted(const QString& identifier) {
    QString text = identifier;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}
