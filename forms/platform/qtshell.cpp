#include "qtshell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

QString QtShell::documentsFolder() const {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString QtShell::programFile() const {
    return QCoreApplication::applicationFilePath();
}

bool QtShell::copyMissingFiles(const QString& fromFolder, const QString& toFolder) {
    return ::copyMissingFiles(fromFolder, toFolder);
}

bool QtShell::openDocument(const QString& path) {
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtShell::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
