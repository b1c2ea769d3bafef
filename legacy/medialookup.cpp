#include "medialookup.h"

#include <QDir>
#include <mediapath.h>

MediaFolder::MediaFolder(const QString& path)
    : path_(path) {
    const QDir dir(path);
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QString key = file.toLower();
        // An exact match wins over one that differs in case.
        if (!files_.contains(key) || file == key)
            files_.insert(key, file);
    }
}

QString MediaFolder::find(const QString& name, const QStringList& suffixes) const {
    if (!MediaPath::isPlainName(name))
        return {};
    for (const QString& suffix : suffixes) {
        const QString exact = name + suffix;
        if (files_.value(exact.toLower()) == exact)
            return QDir(path_).filePath(exact);
        if (const QString found = files_.value(exact.toLower()); !found.isEmpty())
            return QDir(path_).filePath(found);
    }
    return {};
}
