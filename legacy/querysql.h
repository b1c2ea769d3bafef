#pragma once

#include <QList>
#include <QString>
#include <optional>

// The pieces of Jet's expression syntax that the import reads in saved queries: column
// references ("[word].[key]", "word.key", "[key]", "key") and conditions made of equalities
// joined by AND. Anything else is not understood, and the caller says so by the query's name.
namespace QuerySql {

struct ColumnRef {
    QString table; // empty when the reference names only a column
    QString column;
    bool operator==(const ColumnRef&) const = default;
};

// The column that expression names, or nothing when it is more than a column reference.
std::optional<ColumnRef> columnRef(const QString& expression);

// True for "*" and "[t].*" (table then holds "t").
bool isStar(const QString& expression, QString* table = nullptr);

struct Equality {
    ColumnRef left;
    ColumnRef right;
};
// The equalities between two columns among the AND-ed terms of condition; the other terms
// (comparisons with constants, ...) are left out.
QList<Equality> columnEqualities(const QString& condition);

} // namespace QuerySql
