#pragma once

#include <QString>
#include <QTemporaryFile>

// A name beside path that no other file has, for a deck written whole and then renamed into
// place (so that a reader never meets half a file). Empty when the folder cannot be written.
inline QString temporaryNameBeside(const QString& path) {
    QTemporaryFile reserve(path + QStringLiteral(".XXXXXX.part"));
    if (!reserve.open())
        return {};
    const QString name = reserve.fileName();
    reserve.close();
    reserve.remove();
    return name;
}
