#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

// Message boxes and the common dialogs. Everything that would block on a user answer goes
// through here, so that tests answer from a queue instead.
class Prompter {
  public:
    enum class Icon { None, Information, Warning, Critical, Question };
    // YesNoDefaultNo: a question whose yes destroys something, so that Enter answers no.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, const QString& title, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok) = 0;
    // filter in the "description|pattern|description|pattern" form; empty result = cancelled.
    virtual QString openFile(const QString& filter, const QString& startFolder = {},
                             const QString& title = {}) = 0;
    // A picture file, the dialog showing the picture under the cursor where it can; the
    // default is openFile.
    virtual QString openPicture(const QString& filter, const QString& startFolder,
                                const QString& title) {
        return openFile(filter, startFolder, title);
    }
    // A file to write (the caller asks before replacing one); empty result = cancelled.
    virtual QString saveFile(const QString& filter, const QString& startPath,
                             const QString& title) = 0;
    // An existing folder; empty result = cancelled.
    virtual QString chooseFolder(const QString& startFolder, const QString& title) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;

    // Runs work on this thread with a progress dialog that appears only once work has taken
    // longer than half a second; work reports with step(done, total). Without a screen (the
    // default) work just runs.
    using ProgressStep = std::function<void(int done, int total)>;
    virtual void withProgress(const QString& text, const QString& title,
                              const std::function<void(const ProgressStep&)>& work) {
        (void)text;
        (void)title;
        work([](int, int) {});
    }
};
