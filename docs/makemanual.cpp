// make-manual: renders the program's screens and dialogs offscreen on a deck and lays out the
// user manual with them as a PDF, so that the manual's pictures always show the program as it is.
#include "manualpdf.h"
#include "platform/japanesetranslation.h"
#include "screenpictures.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <cstdio>

namespace {
void warn(const QString& text) {
    std::fprintf(stderr, "make-manual: %s\n", qPrintable(text));
}

// The offscreen platform says for every window that it cannot raise it; that is expected here
// and would hide the warnings that matter.
QtMessageHandler standardHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    standardHandler(type, context, message);
}
// The deck maker's chapter, and pml-build's after it, as a manual of their own: the maker's
// ヘルプ opens it, since a PDF viewer cannot be told reliably where to start.
QString makerChapter(const QString& markdown) {
    const qsizetype start = markdown.indexOf(QStringLiteral("\n# 単語データをつくる"));
    if (start < 0)
        return {};
    qsizetype end = markdown.indexOf(QStringLiteral("\n# 自分で単語データをつくる"), start);
    end = end < 0 ? -1 : markdown.indexOf(QStringLiteral("\n# "), end + 1);
    const QString body = markdown.mid(start + 1, end < 0 ? -1 : end - start - 1);
    return QStringLiteral("# たんごデータを つくる 説明書\n\n"
                          "pimlotan 説明書の「単語データをつくる」と「自分で単語データをつくる」の"
                          "章です。\n\n") +
           body;
}

} // namespace

int main(int argc, char** argv) {
    // No display is needed; pictures are drawn at twice the pixels so that they print sharply.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    // Qt's own dialogs (the question pictured for older decks) as the program shows them.
    loadJapaneseTranslation(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the user manual PDF."));
    parser.addHelpOption();
    const QCommandLineOption source(QStringLiteral("source"), QStringLiteral("Markdown source."),
                                    QStringLiteral("file"));
    const QCommandLineOption appFolder(QStringLiteral("app-folder"),
                                       QStringLiteral("The built program folder."),
                                       QStringLiteral("folder"));
    const QCommandLineOption deck(QStringLiteral("deck"),
                                  QStringLiteral("Word-data file shown on the screens."),
                                  QStringLiteral("file"));
    const QCommandLineOption work(QStringLiteral("work"),
                                  QStringLiteral("Scratch folder (emptied first)."),
                                  QStringLiteral("folder"));
    const QCommandLineOption pictures(QStringLiteral("pictures"),
                                      QStringLiteral("Folder to save the pictures in as PNG."),
                                      QStringLiteral("folder"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("The PDF to write."),
                                    QStringLiteral("file"));
    const QCommandLineOption makerOutput(
        QStringLiteral("maker-output"),
        QStringLiteral("Also write the deck maker's chapter alone, which its ヘルプ opens."),
        QStringLiteral("file"));
    parser.addOptions({source, appFolder, deck, work, pictures, output, makerOutput});
    parser.process(app);
    for (const QCommandLineOption& required : {source, appFolder, deck, work, output})
        if (!parser.isSet(required)) {
            warn(QStringLiteral("--%1 is required").arg(required.names().first()));
            return 2;
        }

    // The screens as a Japanese user sees them: the program's font and the Japanese date form.
    const QString family = QStringLiteral("Noto Sans CJK JP");
    if (QFontDatabase::families().contains(family)) {
        QFont font = QApplication::font();
        font.setFamily(family);
        QApplication::setFont(font);
    } else {
        warn(family + QStringLiteral(" is not installed; the Japanese text may look wrong"));
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    QFile sourceFile(parser.value(source));
    if (!sourceFile.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("cannot read ") + sourceFile.fileName());
        return 1;
    }
    QString markdown = QString::fromUtf8(sourceFile.readAll());
    markdown.replace(QStringLiteral("@VERSION@"), QStringLiteral(PIMLOTAN_VERSION));

    QDir workFolder(parser.value(work));
    workFolder.removeRecursively();
    QDir().mkpath(workFolder.path());
    ScreenPictures taken =
        takeScreenPictures(parser.value(appFolder), parser.value(deck), workFolder.path());

    if (parser.isSet(pictures)) {
        const QDir folder(parser.value(pictures));
        QDir().mkpath(folder.path());
        for (auto it = taken.pictures.cbegin(); it != taken.pictures.cend(); ++it)
            it.value().save(folder.filePath(it.key() + QStringLiteral(".png")));
    }

    QStringList problems = taken.problems;
    bool written = writeManualPdf(markdown, taken.pictures, parser.value(output), problems);
    if (parser.isSet(makerOutput)) {
        const QString chapter = makerChapter(markdown);
        if (chapter.isEmpty())
            problems << QStringLiteral("the deck maker's chapter is missing");
        else
            written =
                writeManualPdf(chapter, taken.pictures, parser.value(makerOutput), problems) &&
                written;
    }
    for (const QString& problem : problems)
        warn(QStringLiteral("warning: ") + problem);
    return written ? 0 : 1;
}
