#pragma once

#include <QList>
#include <QString>

// One thing wrong with a deck, reported as "file:line: message" (or "file: message" when
// the problem has no line, as in a .pml).
struct DeckProblem {
    QString file;
    int line = 0;
    QString message;

    QString toString() const {
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                        : QStringLiteral("%1: %2").arg(file, message);
    }
};

using DeckProblems = QList<DeckProblem>;
