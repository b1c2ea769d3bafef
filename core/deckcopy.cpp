#include "deckcopy.h"

#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "pmcm000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DeckCopy {

namespace {
bool writable(const QFileInfo& file) {
    return file.isWritable() &&
           (file.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}
} // namespace

bool isWritable(const QString& deck) {
    const QFileInfo info(deck);
    return writable(info) && writable(QFileInfo(info.absolutePath()));
}

QString copyInto(const QString& deck, const QString& folder) {
    const QFileInfo info(deck);
    const QString copy = QDir(folder).filePath(info.fileName());
    if (QFileInfo(copy).isFile())
        return copy;
    if (!QDir().mkpath(folder))
        return QString();
    // Copied under a temporary name, so that a copy cut short is never taken for a deck.
    const QString part = copy + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(deck, part) ||
        !QFile::setPermissions(part, QFile::permissions(part) | QFile::WriteOwner)) {
        QFile::remove(part);
        return QString();
    }
    bool copied = true;
    for (const QString& media : {QStringLiteral("images"), QStringLiteral("voice")})
        if (QFileInfo(info.absolutePath() + u'/' + media).isDir())
            copied = PMCM000::platform().shell->copyMissingFiles(info.absolutePath() + u'/' + media,
                                                                 QDir(folder).filePath(media)) &&
                     copied;
    if (!copied || !QFile::rename(part, copy)) {
        QFile::remove(part);
        return QString();
    }
    return copy;
}

QString offerWritableCopy(const QString& deck) {
    if (!QFileInfo(deck).isFile() || isWritable(deck))
        return deck;
    const QFileInfo info(deck);
    const QString folder =
        PMCM000::SettingsFolder + QStringLiteral("decks/") + info.completeBaseName() + u'/';
    const QString made = folder + info.fileName();
    if (QFileInfo(made).isFile())
        return made;
    Prompter& prompter = *PMCM000::platform().prompter;
    if (prompter.message(QStringLiteral("このたんごデータには かきこめません。コピーを つくって "
                                        "つかいますか？"),
                         PMCM000::AppTitle, Prompter::Icon::Question,
                         Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return deck;
    const QString copy = copyInto(deck, folder);
    if (!copy.isEmpty())
        return copy;
    prompter.message(QStringLiteral("コピーを つくれませんでした。このまま ひらきます。"),
                     PMCM000::AppTitle);
    return deck;
}

} // namespace DeckCopy
