#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error of the import of older word-data files; message() is one line naming the
// reason, shown to the user after the import's own failure text.
class LegacyError : public std::exception {
  public:
    enum class Reason {
        NotJetFile,  // no Access 2000-format header
        Protected,   // encrypted or password-protected
        Damaged,     // pages or rows that cannot be read
        NotWordData, // a record source or field the program needs is missing
        Query,       // a saved query that cannot be understood
        Write,       // the new file or its media could not be written
    };
    LegacyError(Reason reason, const QString& message)
        : reason_(reason)
        , message_(message)
        , utf8_(message.toUtf8()) {}
    Reason reason() const { return reason_; }
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

  private:
    Reason reason_;
    QString message_;
    QByteArray utf8_;
};
