#pragma once

#include "platform/shell.h"

class QtShell : public Shell {
  public:
    QString documentsFolder() const override;
    QString programFile() const override;
    bool copyMissingFiles(const QString& fromFolder, const QString& toFolder) override;
    bool openDocument(const QString& path) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};
