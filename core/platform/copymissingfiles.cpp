#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool copyMissingFiles(const QString& fromFolder, const QString& toFolder) {
    const QDir source(fromFolder);
    if (!source.exists() || !QDir().mkpath(toFolder))
        return false;
    bool allCopied = true;
    const QFileInfoList files = source.entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        const QString target = QDir(toFolder).filePath(file.fileName());
        if (QFileInfo(target).isFile())
            continue; // a file the user already has is never replaced
        // A leftover that is not a regular file (a folder, say) blocks the copy: report it.
        if (QFileInfo::exists(target) || !QFile::copy(file.filePath(), target)) {
            allCopied = false;
            continue;
        }
        // Defaults in an installed program folder are read-only; the copies must be writable.
        QFile::setPermissions(target,
                              QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    }
    return allCopied;
}
