#pragma once

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

} // namespace MediaPath
