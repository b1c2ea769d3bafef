#include "olderdeck.h"

#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace OlderDeck {

namespace {

Converter& installed() {
    static Converter converter;
    return converter;
}

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

// A short message: the counts, then the first lines of the report.
QString summary(const Conversion& conversion, const QString& folder) {
    QStringList lines{QStringLiteral("うつせなかった ぎょう: %1、みつからない え・おと: %2")
                          .arg(conversion.leftOut)
                          .arg(conversion.missingMedia)};
    const QStringList report = conversion.report.split(u'\n', Qt::SkipEmptyParts);
    lines += report.mid(1, 10);
    if (report.size() > 11)
        lines << QStringLiteral("…");
    lines << QDir::toNativeSeparators(QDir(folder).filePath(reportName));
    return lines.join(u'\n');
}

} // namespace

QString question() {
    return QStringLiteral("このたんごデータは ふるい かたちです。あたらしい かたちに うつして "
                          "つかいますか？（もとの ファイルは かわりません）");
}

void setConverter(Converter converter) {
    installed() = std::move(converter);
}

bool isOlderFormat(const QString& path) {
    // Opening a named pipe or a device for reading would wait for ever.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(0x15);
    return head.size() == 0x15 && head.mid(4, 16) == QByteArray("Standard Jet DB", 16);
}

QString offerConversion(const QString& path) {
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
    if (prompter.message(question(), AppTitle, Prompter::Icon::Question,
                         Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return {};
    Conversion conversion;
    if (!installed())
        conversion.error = QStringLiteral("this build cannot convert such files");
    else
        prompter.withProgress(QStringLiteral("たんごデータを うつしています。"), AppTitle,
                              [&](const Prompter::ProgressStep& step) {
                                  conversion = installed()(from, deck, step);
                              });
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
