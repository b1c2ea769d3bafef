#pragma once

#include <QString>
#include <QStringList>

// Splits an SQL script into single statements for QSqlQuery, which runs one at a time.
// Lines starting with "--" are comments. A statement ends with a line ending in ";",
// except inside CREATE TRIGGER, which ends with a line "END;".
QStringList splitSqlScript(const QString& script);
