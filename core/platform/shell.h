#pragma once

#include <QString>
#include <QStringList>

// What the desktop shell provides: well-known folders, copying files, opening documents and
// starting other programs.
class Shell {
  public:
    virtual ~Shell() = default;

    virtual QString documentsFolder() const = 0;
    virtual QString programFile() const = 0;
    // Copies every regular file of fromFolder that toFolder lacks; creates toFolder when missing.
    // Files already present are never replaced. False when anything could not be copied.
    virtual bool copyMissingFiles(const QString& fromFolder, const QString& toFolder) = 0;
    virtual bool openDocument(const QString& path) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments = {}) = 0;
};

// The copy behind Shell::copyMissingFiles on the desktop, shared with the test and manual
// shells: the files of fromFolder that toFolder lacks, made writable. False when one could not
// be copied.
bool copyMissingFiles(const QString& fromFolder, const QString& toFolder);
