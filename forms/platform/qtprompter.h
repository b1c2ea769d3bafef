#pragma once

#include "platform/prompter.h"

// Message boxes and common dialogs from Qt Widgets, owned by the active window.
class QtPrompter : public Prompter {
  public:
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString saveFile(const QString& filter, const QString& startPath,
                     const QString& title) override;
    QString chooseFolder(const QString& startFolder, const QString& title) override;
    QString openFile(const QString& filter, const QString& startFolder,
                     const QString& title) override;
    QString openPicture(const QString& filter, const QString& startFolder,
                        const QString& title) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void withProgress(const QString& text, const QString& title,
                      const std::function<void(const ProgressStep&)>& work) override;

    // "desc|*.pml|desc2|*.a;*.b" -> "desc (*.pml);;desc2 (*.a *.b)"
    static QString qtFilter(const QString& filter);
};
