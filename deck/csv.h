#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheets write it: fields in double quotes may hold commas,
// line breaks and doubled quotes; lines end in LF or CR LF; a UTF-8 byte-order mark is skipped.
namespace Csv {

struct Record {
    int line = 0; // the line on which the record starts (1 = first line of the file)
    QStringList fields;
};

struct Error {
    int line = 0;
    QString message;
};

struct Table {
    QList<Record> records; // blank lines and rows of empty fields are left out
    QList<Error> errors;
};

// Parses UTF-8 text; text that is not valid UTF-8 is one error on the first bad line.
Table parse(const QByteArray& utf8);

// One line of CSV (with its LF), quoting the fields that need it.
QByteArray formatRow(const QStringList& fields);

} // namespace Csv
