#pragma once

#include <QList>
#include <QString>
#include <utility>

// One thing wrong with a deck: where it is (the row and the column), what kind of thing it is,
// so that each program can word it for its reader, and an English message for the tool's
// report, "file:line: message" (or "file: message" when the problem has no line, as in a .pml).
struct DeckProblem {
    enum class Table { None, Group, SubGroup, Word }; // None: the file as a whole
    enum class Kind {
        Other,        // damage, record sources: the message says it all
        Empty,        // a required text is empty
        OutOfRange,   // a number outside what the format holds
        Twice,        // a group, a sub-group or a key listed twice
        NoParent,     // a sub-group's group or a word's sub-group does not exist
        NotPlainName, // a picture or voice name that is not a plain file name
        MediaMissing, // a named picture or voice is not there
        MediaEmpty,   // ... is an empty file
    };

    DeckProblem() = default;
    DeckProblem(QString file_, int line_, QString message_)
        : file(std::move(file_))
        , line(line_)
        , message(std::move(message_)) {}

    QString file;
    int line = 0;
    QString message;
    Table table = Table::None;
    qint64 group = 0;  // the row: its group,
    qint64 sgroup = 0; // sub-group
    qint64 key = 0;    // and key, as far as the table has them
    QString field;     // the column the problem is in ("tittle", "images", "voice", ...)
    Kind kind = Kind::Other;
    // For the media kinds: the file's name ("Dog.JPG", or "dog.jpg" when missing), or the name
    // that is not plain.
    QString media;

    QString toString() const {
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                        : QStringLiteral("%1: %2").arg(file, message);
    }
};

using DeckProblems = QList<DeckProblem>;
