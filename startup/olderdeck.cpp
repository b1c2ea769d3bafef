#include "olderdeck.h"

#include "jetfile.h"
#include "legacyerror.h"
#include "legacyimport.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace OlderDeck {

namespace {

const QString reportName = QStringLiteral("import-report.txt");
// The report's first line names the file it was converted from: a folder holding a deck
// converted from another file of the same name is not taken for this one's.
const QString fromPrefix = QStringLiteral("from: ");

QString sourceOf(const QString& folder) {
    QFile file(QDir(folder).filePath(reportName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString first = QString::fromUtf8(file.readLine()).trimmed();
    return first.startsWith(fromPrefix) ? first.mid(fromPrefix.size()) : QString();
}

bool writeReport(const QString& folder, const QString& from, const QString& report) {
    QSaveFile file(QDir(folder).filePath(reportName));
    return file.open(QIODevice::WriteOnly) &&
           file.write((fromPrefix + from + u'\n' + report).toUtf8()) >= 0 && file.commit();
}

// A short message: the counts, the first pictures and voices missing, and where the whole
// report is (its reasons are worded for the command line, in English, so they stay there).
QString summary(const Conversion& conversion, const QString& folder) {
    QStringList lines{QStringLiteral("うつせなかった ぎょう: %1、みつからない え・おと: %2")
                          .arg(conversion.leftOut)
                          .arg(conversion.missingMedia)};
    lines += conversion.missingNames.mid(0, 10);
    if (conversion.missingNames.size() > 10)
        lines << QStringLiteral("…");
    lines << QDir::toNativeSeparators(QDir(folder).filePath(reportName));
    return lines.join(u'\n');
}

} // namespace

Conversion convert(const QString& from, const QString& to, const Progress& step) {
    Conversion conversion;
    try {
        const ImportReport report = LegacyImport::convert(from, to, step);
        conversion.report = report.text();
        conversion.leftOut = int(report.leftOut.size());
        conversion.missingMedia = int(report.missingMedia.size());
        conversion.missingNames = report.missingMedia;
    } catch (const LegacyError& error) {
        // The file was named already; the line says what is wrong with it.
        const QString prefix = from + QStringLiteral(": ");
        conversion.error = error.message().startsWith(prefix) ? error.message().mid(prefix.size())
                                                              : error.message();
    }
    return conversion;
}

bool isOlderFormat(const QString& path) {
    return JetFile::hasJetHeader(path);
}

QString offerConversion(const QString& path, const Converter& converter) {
    if (!isOlderFormat(path))
        return path;
    using namespace PMCM000;
    Prompter& prompter = *platform().prompter;
    const QFileInfo chosen(path);
    const QString from = chosen.absoluteFilePath();
    const QString name = chosen.completeBaseName();
    // decks/NAME/, or decks/NAME-2/, ... when NAME/ holds a deck converted from another file.
    QString folder;
    for (int n = 1;; ++n) {
        folder = SettingsFolder + QStringLiteral("decks/") + name +
                 (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + u'/';
        const QString source = sourceOf(folder);
        if (source == from ||
            (source.isEmpty() && !QFileInfo::exists(folder + name + QStringLiteral(".pml"))))
            break;
    }
    const QString deck = folder + name + QStringLiteral(".pml");
    if (QFileInfo(deck).isFile() && sourceOf(folder) == from) {
        prompter.message(QStringLiteral("まえに うつした たんごデータを ひらきます。"), AppTitle);
        return deck;
    }
    if (prompter.message(OlderDeckQuestion, AppTitle, Prompter::Icon::Question,
                         Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return {};
    Conversion conversion;
    prompter.withProgress(
        QStringLiteral("たんごデータを うつしています。"), AppTitle,
        [&](const Prompter::ProgressStep& step) { conversion = converter(from, deck, step); });
    if (conversion.error.isEmpty() && !writeReport(folder, from, conversion.report)) {
        QFile::remove(deck);
        conversion.error =
            QStringLiteral("%1: cannot be written").arg(QDir(folder).filePath(reportName));
    }
    if (!conversion.error.isEmpty()) {
        prompter.message(QStringLiteral("このたんごデータを うつせませんでした。\n") +
                             conversion.error,
                         AppTitle, Prompter::Icon::Warning);
        return {};
    }
    if (conversion.leftOut > 0 || conversion.missingMedia > 0)
        prompter.message(summary(conversion, folder), AppTitle, Prompter::Icon::Information);
    return deck;
}

} // namespace OlderDeck
