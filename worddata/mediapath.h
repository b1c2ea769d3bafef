#pragma once

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>

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

// Where pictures and voices are on disk. Decks made on Windows name "dog" for Dog.JPG in
// Images/, and their pictures may be BMP: the exact file first (one look-up), then one differing
// in case, then a .bmp picture. A folder is listed at the first name not found exactly and kept,
// so that looking up a whole deck (a conversion, a check, a copy) lists each folder once.
class MediaFolders {
  public:
    // dataFolder ends with a separator.
    explicit MediaFolders(QString dataFolder)
        : dataFolder_(std::move(dataFolder)) {}

    // The file found, the exact path when nothing is found, or empty for a name that is not
    // plain.
    QString picture(const QString& name) const {
        return find(pictures_, QStringLiteral("images"), name,
                    {QStringLiteral(".jpg"), QStringLiteral(".bmp")});
    }
    QString voice(const QString& name) const {
        return find(voices_, QStringLiteral("voice"), name, {QStringLiteral(".wav")});
    }

  private:
    struct Listing {
        bool listed = false;
        QString folder;
        QHash<QString, QStringList> files; // lower case -> names on disk
    };

    QString find(Listing& listing, const QString& kind, const QString& name,
                 std::initializer_list<QString> suffixes) const {
        if (!isPlainName(name))
            return {};
        const QString exact = dataFolder_ + kind + u'/' + name + *suffixes.begin();
        if (QFileInfo(exact).isFile())
            return exact;
        if (!listing.listed)
            list(listing, kind);
        for (const QString& suffix : suffixes) {
            const QStringList found = listing.files.value((name + suffix).toLower());
            if (!found.isEmpty())
                return QDir(listing.folder)
                    .filePath(found.contains(name + suffix) ? name + suffix : found.first());
        }
        return exact;
    }

    void list(Listing& listing, const QString& kind) const {
        listing.listed = true;
        listing.folder = findIgnoringCase(dataFolder_, kind, QDir::Dirs);
        if (listing.folder.isEmpty())
            return;
        for (const QString& file : QDir(listing.folder).entryList(QDir::Files | QDir::Hidden))
            listing.files[file.toLower()] << file;
    }

    QString dataFolder_;
    mutable Listing pictures_;
    mutable Listing voices_;
};

// One picture or voice (the screens, a card at a time).
inline QString findPicture(const QString& dataFolder, const QString& name) {
    return MediaFolders(dataFolder).picture(name);
}
inline QString findVoice(const QString& dataFolder, const QString& name) {
    return MediaFolders(dataFolder).voice(name);
}

} // namespace MediaPath
