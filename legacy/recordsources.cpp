#include "recordsources.h"

#include "legacyerror.h"
#include "querysql.h"

namespace {
// Queries over queries are followed this deep; deeper means a loop.
constexpr int maxDepth = 8;

LegacyError notUnderstood(const QString& query, const QString& why) {
    return LegacyError(
        LegacyError::Reason::Query,
        QStringLiteral("the saved query %1 cannot be understood: %2").arg(query, why));
}

// The tables and queries a query reads, in its order.
QStringList sourceTables(const JetQuery& query) {
    QStringList sources;
    for (const JetQueryPart& part : query.parts)
        if (part.attribute == JetQueryPart::Source)
            sources << part.name1;
    return sources;
}
} // namespace

const JetTable& RecordSources::table(const QString& name) const {
    const QString key = name.toLower();
    if (!tables_.contains(key))
        tables_.insert(key, file_.readTable(name));
    return tables_[key];
}

QHash<QString, RecordSources::BaseColumn> RecordSources::fields(const QString& source) const {
    return fields(source, 0);
}

// Source name (lower case, and the alias when there is one) to the table or query it names.
QHash<QString, QString> RecordSources::aliases(const JetQuery& query) const {
    QHash<QString, QString> names;
    for (const JetQueryPart& part : query.parts)
        if (part.attribute == JetQueryPart::Source) {
            names.insert(part.name1.toLower(), part.name1);
            if (!part.name2.isEmpty())
                names.insert(part.name2.toLower(), part.name1);
        }
    return names;
}

QHash<QString, RecordSources::BaseColumn> RecordSources::fields(const QString& source,
                                                                int depth) const {
    QHash<QString, BaseColumn> result;
    if (const QString tableName = file_.tableNamed(source); !tableName.isEmpty()) {
        for (const QString& column : table(tableName).columns)
            result.insert(column.toLower(), {tableName, column});
        return result;
    }
    const QString queryName = file_.queryNamed(source);
    if (queryName.isEmpty())
        throw LegacyError(LegacyError::Reason::NotWordData,
                          QStringLiteral("the record source %1 is missing").arg(source));
    if (depth > maxDepth)
        throw notUnderstood(queryName, QStringLiteral("its queries refer to each other"));
    const JetQuery query = file_.readQuery(queryName);
    const QHash<QString, QString> names = aliases(query);
    const QStringList sources = sourceTables(query);
    if (sources.isEmpty())
        throw notUnderstood(queryName, QStringLiteral("it reads no table"));
    QHash<QString, QHash<QString, BaseColumn>> sourceFields;
    const auto fieldsOf = [&](const QString& name) -> const QHash<QString, BaseColumn>& {
        if (!sourceFields.contains(name.toLower()))
            sourceFields.insert(name.toLower(), fields(name, depth + 1));
        return sourceFields[name.toLower()];
    };
    for (const JetQueryPart& part : query.parts) {
        if (part.attribute != JetQueryPart::Output)
            continue;
        QString starTable;
        if (QuerySql::isStar(part.expression, &starTable)) {
            const QStringList from =
                starTable.isEmpty() ? sources : QStringList{names.value(starTable.toLower())};
            for (const QString& name : from) {
                if (name.isEmpty())
                    throw notUnderstood(queryName,
                                        QStringLiteral("unknown table in %1").arg(part.expression));
                const auto& more = fieldsOf(name);
                for (auto it = more.cbegin(); it != more.cend(); ++it)
                    if (!result.contains(it.key()))
                        result.insert(it.key(), it.value());
            }
            continue;
        }
        const auto ref = QuerySql::columnRef(part.expression);
        const QString alias = part.name1.isEmpty() && ref ? ref->column : part.name1;
        if (!ref) {
            result.insert(alias.toLower(), BaseColumn{}); // an expression: no base column
            continue;
        }
        QString from;
        if (!ref->table.isEmpty()) {
            from = names.value(ref->table.toLower());
            if (from.isEmpty())
                throw notUnderstood(queryName,
                                    QStringLiteral("unknown table in %1").arg(part.expression));
        } else {
            for (const QString& name : sources)
                if (fieldsOf(name).contains(ref->column.toLower()))
                    from = name;
        }
        const BaseColumn base =
            from.isEmpty() ? BaseColumn{} : fieldsOf(from).value(ref->column.toLower());
        if (base.column.isEmpty() && !from.isEmpty() &&
            !fieldsOf(from).contains(ref->column.toLower()))
            throw notUnderstood(queryName,
                                QStringLiteral("%1 has no column %2").arg(from, ref->column));
        result.insert(alias.toLower(), base);
    }
    return result;
}

QString RecordSources::baseTable(const QString& source, const QStringList& needed,
                                 QHash<QString, QString>* columns) const {
    const QHash<QString, BaseColumn> all = fields(source);
    QString base;
    for (const QString& field : needed) {
        if (!all.contains(field.toLower()))
            throw LegacyError(
                LegacyError::Reason::NotWordData,
                QStringLiteral("the record source %1 lacks the field %2").arg(source, field));
        const BaseColumn& column = all.value(field.toLower());
        if (column.table.isEmpty())
            throw notUnderstood(source, QStringLiteral("%1 is not a column of a table").arg(field));
        if (!base.isEmpty() && base.compare(column.table, Qt::CaseInsensitive) != 0)
            throw notUnderstood(
                source, QStringLiteral("its fields come from %1 and %2").arg(base, column.table));
        base = column.table;
        if (columns)
            columns->insert(field, column.column);
    }
    return base;
}

QList<std::pair<RecordSources::BaseColumn, RecordSources::BaseColumn>>
RecordSources::joinedColumns(const QString& queryName) const {
    const JetQuery query = file_.readQuery(queryName);
    const QHash<QString, QString> names = aliases(query);
    const QStringList sources = sourceTables(query);
    const auto base = [&](const QuerySql::ColumnRef& ref) -> BaseColumn {
        QStringList candidates =
            ref.table.isEmpty() ? sources : QStringList{names.value(ref.table.toLower())};
        for (const QString& name : candidates) {
            if (name.isEmpty())
                continue;
            const auto found = fields(name).value(ref.column.toLower());
            if (!found.table.isEmpty())
                return found;
        }
        return {};
    };
    QList<std::pair<BaseColumn, BaseColumn>> pairs;
    for (const JetQueryPart& part : query.parts) {
        if (part.attribute != JetQueryPart::Join && part.attribute != JetQueryPart::Where)
            continue;
        for (const auto& equality : QuerySql::columnEqualities(part.expression)) {
            const BaseColumn left = base(equality.left);
            const BaseColumn right = base(equality.right);
            if (!left.table.isEmpty() && !right.table.isEmpty())
                pairs.append({left, right});
        }
    }
    return pairs;
}
