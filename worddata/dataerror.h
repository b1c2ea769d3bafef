#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error of the word-data layer: any failure of the engine or of a word-data file.
// message() carries the engine's own text (with what was being done); the screens catch it
// at the top of their handlers and show their own texts, so reason() is for tools and tests.
class DataError : public std::exception {
  public:
    enum class Reason {
        Engine,        // the engine refused a statement (read-only file, constraint, I/O)
        Busy,          // another program holds the file's lock (after the short busy wait)
        FileMissing,   // no file at the path
        NotWordData,   // not an SQLite file, or one of another application
        WrongVersion,  // a word-data file of another format version
        MissingSource, // a record source, field or trigger is missing
        Damaged,       // the integrity check failed
        NoCurrentRow,  // read, edit or write with the cursor at BOF / EOF, or a row that is gone
        Misuse,        // unknown field or record source, assignment outside an edit, bad criterion
    };

    DataError(Reason reason, const QString& message);

    Reason reason() const { return reason_; }
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

  private:
    Reason reason_;
    QString message_;
    QByteArray utf8_;
};
