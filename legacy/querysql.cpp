#include "querysql.h"

#include <QRegularExpression>
#include <QStringList>

namespace QuerySql {

namespace {

// One name: "[any text but ]]" or a plain identifier.
const QString name =
    QStringLiteral(R"((?:\[([^\]]+)\]|([A-Za-z_\x{80}-\x{ffff}][\w\x{80}-\x{ffff}]*)))");

QString nameAt(const QRegularExpressionMatch& match, int first) {
    return match.captured(first).isEmpty() ? match.captured(first + 1) : match.captured(first);
}

// The text without parentheses around the whole of it.
QString unwrapped(QString text) {
    text = text.trimmed();
    while (text.startsWith(u'(') && text.endsWith(u')')) {
        int depth = 0;
        for (int i = 0; i < text.size() - 1; ++i) {
            depth += text[i] == u'(' ? 1 : text[i] == u')' ? -1 : 0;
            if (depth == 0)
                return text;
        }
        text = text.mid(1, text.size() - 2).trimmed();
    }
    return text;
}

// Splits on AND outside brackets, quotes and parentheses.
QStringList conjuncts(const QString& whole) {
    const QString condition = unwrapped(whole);
    QStringList parts;
    int depth = 0;
    bool bracket = false;
    bool quote = false;
    int start = 0;
    for (int i = 0; i < condition.size(); ++i) {
        const QChar c = condition[i];
        if (quote) {
            quote = c != u'"' && c != u'\'';
        } else if (bracket) {
            bracket = c != u']';
        } else if (c == u'[') {
            bracket = true;
        } else if (c == u'"' || c == u'\'') {
            quote = true;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && condition.mid(i, 5).compare(u" and ", Qt::CaseInsensitive) == 0) {
            parts << condition.mid(start, i - start);
            start = i + 5;
            i += 4;
        }
    }
    parts << condition.mid(start);
    QStringList terms;
    for (const QString& part : parts)
        terms << unwrapped(part);
    return terms;
}

} // namespace

std::optional<ColumnRef> columnRef(const QString& expression) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(R"(\s*(?:%1\s*\.\s*)?%1\s*)").arg(name)));
    const QRegularExpressionMatch match = pattern.match(expression);
    if (!match.hasMatch())
        return std::nullopt;
    const QString first = nameAt(match, 1);
    const QString second = nameAt(match, 3);
    return second.isEmpty() ? ColumnRef{{}, first} : ColumnRef{first, second};
}

bool isStar(const QString& expression, QString* table) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(R"(\s*(?:%1\s*\.\s*)?\*\s*)").arg(name)));
    const QRegularExpressionMatch match = pattern.match(expression);
    if (!match.hasMatch())
        return false;
    if (table)
        *table = nameAt(match, 1);
    return true;
}

QList<Equality> columnEqualities(const QString& condition) {
    QList<Equality> equalities;
    for (const QString& term : conjuncts(condition)) {
        const int at = term.indexOf(u'=');
        if (at < 0 || term.indexOf(u'=', at + 1) >= 0 || term.mid(at - 1, 1) == u"<" ||
            term.mid(at - 1, 1) == u">")
            continue;
        const auto left = columnRef(term.left(at));
        const auto right = columnRef(term.mid(at + 1));
        // "x = True" reads as a column named True; constants are not columns.
        const auto isConstant = [](const ColumnRef& ref) {
            return ref.table.isEmpty() && (ref.column.compare(u"True", Qt::CaseInsensitive) == 0 ||
                                           ref.column.compare(u"False", Qt::CaseInsensitive) == 0);
        };
        if (left && right && !isConstant(*left) && !isConstant(*right))
            equalities << Equality{*left, *right};
    }
    return equalities;
}

} // namespace QuerySql
