#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// The pictures and voices that a word-data file names: "images/NAME.jpg" and
// "voice/NAME.wav" beside the file. A name is only ever a plain file name, so that a deck
// from anywhere can never make the program read or write outside its folder.
// Header only: the deck tools use it without linking the word-data layer.
namespace MediaPath {

// Not empty, not "." or "..", and without a folder separator, a drive letter's colon or a
// control character (NUL, line breaks).
inline bool isPlainName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control)
            return false;
    return true;
}

// The file of a picture or voice relative to the deck's folder, or empty when the name is
// not a plain file name.
inline QString pictureFile(const QString& name) {
    return isPlainName(name) ? QStringLiteral("images/") + name + QStringLiteral(".jpg")
                             : QString();
}
inline QString voiceFile(const QString& name) {
    return isPlainName(name) ? QStringLiteral("voice/") + name + QStringLiteral(".wav") : QString();
}

// The same under dataFolder (which ends with a separator), or empty.
inline QString picture(const QString& dataFolder, const QString& name) {
    return isPlainName(name) ? dataFolder + pictureFile(name) : QString();
}
inline QString voice(const QString& dataFolder, const QString& name) {
    return isPlainName(name) ? dataFolder + voiceFile(name) : QString();
}

// The file (or, with QDir::Dirs, the folder) named name in folder, or one whose name differs
// only in case; empty when there is none.
inline QString findIgnoringCase(const QString& folder, const QString& name,
                                QDir::Filters kind = QDir::Files) {
    const QDir dir(folder);
    const QFileInfo exact(dir.filePath(name));
    if (kind == QDir::Files ? exact.isFile() : exact.isDir())
        return exact.filePath();
    for (const QString& entry : dir.entryList(kind | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

// Where a picture or voice is on disk. Decks made on Windows name "dog" for Dog.JPG, and their
// pictures may be BMP: the exact file first (one look-up), then one differing in case, then a
// .bmp picture. The exact path when nothing is found, or empty for a name that is not plain.
inline QString findPicture(const QString& dataFolder, const QString& name) {
    const QString exact = picture(dataFolder, name);
    if (exact.isEmpty() || QFileInfo(exact).isFile())
        return exact;
    const QString folder = findIgnoringCase(dataFolder, QStringLiteral("images"), QDir::Dirs);
    const QString images = folder.isEmpty() ? dataFolder + QStringLiteral("images") : folder;
    for (const QString& suffix : {QStringLiteral(".jpg"), QStringLiteral(".bmp")})
        if (const QString found = findIgnoringCase(images, name + suffix); !found.isEmpty())
            return found;
    return exact;
}

inline QString findVoice(const QString& dataFolder, const QString& name) {
    const QString exact = voice(dataFolder, name);
    if (exact.isEmpty() || QFileInfo(exact).isFile())
        return exact;
    const QString folder = findIgnoringCase(dataFolder, QStringLiteral("voice"), QDir::Dirs);
    const QString found =
        findIgnoringCase(folder.isEmpty() ? dataFolder + QStringLiteral("voice") : folder,
                         name + QStringLiteral(".wav"));
    return found.isEmpty() ? exact : found;
}

} // namespace MediaPath
