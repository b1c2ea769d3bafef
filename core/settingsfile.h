#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The line-oriented settings text files: one value per line, CR LF line ends, numbers with a
// blank where a minus sign would go and one blank after.
namespace SettingsFile {

// A file counts as present when it is a regular file.
bool exists(const QString& path);
// Up to maxLines lines; UTF-8, or Shift_JIS when the bytes are not valid UTF-8. Empty when the
// file cannot be read.
QStringList readLines(const QString& path, int maxLines);
// Replaces the file whole through a temporary file, so a failed write keeps the old one.
bool writeLines(const QString& path, const QStringList& lines);

// The first field of a line: leading blanks skipped; a quoted field runs to the next quote,
// otherwise to the first comma, trailing blanks removed.
QString firstField(const QString& line);
// A line as a whole number, ignoring surrounding blanks; nullopt when it is not one.
std::optional<qint64> toNumber(const QString& line);
// 3 -> " 3 ", -1 -> "-1 ".
QString numberText(qint64 value);
// The text after the last "/" or "\" (the whole text when it has none).
QString fileNameOf(const QString& path);
// The text up to and including the last "/" or "\" (empty when it has none).
QString folderOf(const QString& path);

} // namespace SettingsFile
