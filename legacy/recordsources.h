#pragma once

#include "jetfile.h"

#include <QHash>
#include <QString>

// The record sources of an older word-data file, followed through its saved queries down to
// the base tables: the program relies on the record-source names and fields only, and the
// base tables inside such a file may have any name. A saved query is read only as far as that
// needs (sources, output columns with aliases, joins, WHERE). Throws LegacyError.
class RecordSources {
  public:
    struct BaseColumn {
        QString table; // empty when the output is an expression, not a column
        QString column;
    };

    explicit RecordSources(const JetFile& file)
        : file_(file) {}

    // The table, read once.
    const JetTable& table(const QString& name) const;

    // The fields of a table or saved query by lower-case name, each with its base column.
    QHash<QString, BaseColumn> fields(const QString& source) const;

    // The base table that gives every one of needed fields of source, with the base column of
    // each (by field name). A missing source or field is NotWordData; fields from several
    // tables or from expressions make the query not understood (Query), named.
    QString baseTable(const QString& source, const QStringList& needed,
                      QHash<QString, QString>* columns) const;

    // The base columns compared by equality in the joins and WHERE of a saved query.
    QList<std::pair<BaseColumn, BaseColumn>> joinedColumns(const QString& query) const;

  private:
    const JetFile& file_;
    mutable QHash<QString, JetTable> tables_;
    QHash<QString, BaseColumn> fields(const QString& source, int depth) const;
    QHash<QString, QString> aliases(const JetQuery& query) const;
};
