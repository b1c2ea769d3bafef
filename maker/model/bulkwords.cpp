#include "bulkwords.h"

#include <QRegularExpression>

namespace BulkWords {

QList<Entry> parse(const QString& text) {
    static const QRegularExpression separator(QStringLiteral("[,\\t、，]"));
    QList<Entry> entries;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")))) {
        const qsizetype at = line.indexOf(separator);
        Entry entry{(at < 0 ? line : line.first(at)).simplified(),
                    at < 0 ? QString() : line.sliced(at + 1).simplified()};
        if (!entry.word.isEmpty())
            entries << entry;
    }
    return entries;
}

} // namespace BulkWords
