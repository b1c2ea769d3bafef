#include "settingsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace SettingsFile {

bool exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

static QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Files written by the program's Windows ancestors are in the Japanese ANSI code page.
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid())
        return sjis(bytes);
    return QString::fromLatin1(bytes);
}

QStringList readLines(const QString& path, int maxLines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = decode(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // CR LF, LF alone and CR alone all end a line (files from other systems and editors).
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() > maxLines)
        lines.resize(maxLines);
    return lines;
}

// A value written is one line whatever was read or assigned: no line break or NUL inside it.
static QString oneLine(QString line) {
    line.removeIf([](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0'; });
    return line;
}

bool writeLines(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += oneLine(line).toUtf8() + "\r\n";
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QString firstField(const QString& line) {
    qsizetype start = 0;
    while (start < line.size() && (line[start] == u' ' || line[start] == u'\t'))
        ++start;
    if (start < line.size() && line[start] == u'"') {
        const qsizetype end = line.indexOf(u'"', start + 1);
        return line.mid(start + 1, end < 0 ? -1 : end - start - 1);
    }
    const qsizetype comma = line.indexOf(u',', start);
    QString field = line.mid(start, comma < 0 ? -1 : comma - start);
    while (field.endsWith(u' ') || field.endsWith(u'\t'))
        field.chop(1);
    return field;
}

std::optional<qint64> toNumber(const QString& line) {
    bool ok = false;
    const qint64 value = line.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString numberText(qint64 value) {
    return (value >= 0 ? QStringLiteral(" ") : QString()) + QString::number(value) + u' ';
}

static qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

QString fileNameOf(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString folderOf(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

} // namespace SettingsFile
