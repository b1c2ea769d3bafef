#include "schemascript.h"

QStringList splitSqlScript(const QString& script) {
    QStringList statements;
    QString current;
    bool inTrigger = false;
    for (const QString& rawLine : script.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u"--"))
            continue;
        if (current.isEmpty())
            inTrigger = line.startsWith(u"CREATE TRIGGER", Qt::CaseInsensitive);
        current += line + u'\n';
        const bool ends =
            inTrigger ? line.compare(u"END;", Qt::CaseInsensitive) == 0 : line.endsWith(u';');
        if (ends) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}
