#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A folder of pictures or voices made on Windows, where names were matched without regard to
// case: "dog" finds Dog.JPG. The folder is listed once.
class MediaFolder {
  public:
    explicit MediaFolder(const QString& path);

    // The path of the first file named name + one of suffixes (tried in order), found without
    // regard to case; empty when there is none or name is not a plain file name.
    QString find(const QString& name, const QStringList& suffixes) const;

    // A picture: a JPEG, or a BMP where no JPEG exists.
    QString picture(const QString& name) const {
        return find(name, {QStringLiteral(".jpg"), QStringLiteral(".bmp")});
    }
    QString voice(const QString& name) const { return find(name, {QStringLiteral(".wav")}); }

  private:
    QString path_;
    QHash<QString, QString> files_; // lower case -> name on disk
};
