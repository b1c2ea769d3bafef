#pragma once

#include <QList>
#include <QString>

// A record source given as a statement: SQL text with "?" placeholders, the integers bound to
// them in order, and the stored record source its rows come from (so that an edited row is
// written back through it). Built only by the functions in statements.h and by DataSource.
struct Statement {
    QString sql{};
    QList<int> values{};
    QString source{};
    // The number of rows of sql with the same values, without reading them (no ORDER BY).
    QString countSql{};
};
