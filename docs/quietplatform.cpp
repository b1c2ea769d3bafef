#include "quietplatform.h"

#include "platform/qtshell.h"

QuietPlatform::QuietPlatform(const QString& programFile, const QString& documentsFolder) {
    shell_.program = programFile;
    shell_.documents = documentsFolder;
    platform_ = Platform{&prompter_, &sound_, &shell_, &registry_, &screen_};
}

Prompter::Answer QuietPlatform::QuietPrompter::message(const QString& text, const QString& title,
                                                       Icon, Buttons buttons) {
    messages << title + QStringLiteral(": ") + text;
    // "No" to every question: the pictures are taken without leaving any screen.
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

bool QuietPlatform::LocalShell::copyMissingFiles(const QString& fromFolder,
                                                 const QString& toFolder) {
    return ::copyMissingFiles(fromFolder, toFolder);
}
