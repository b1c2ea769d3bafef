#include "japanesetranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadJapaneseTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    // Dates and numbers that Qt formats itself (the file dialog's columns) follow suit.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return true;
}
