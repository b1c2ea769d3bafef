#pragma once

#include "legacyerror.h"
#include "legacyimport.h"
#include "olderdeck.h"

// Installs the conversion of older decks where a file is chosen (core's OlderDeck), for the
// program and its tests: core does not link this library. Header only, as it needs both.
inline void installOlderDeckConverter() {
    OlderDeck::setConverter(
        [](const QString& from, const QString& to, const OlderDeck::Progress& step) {
            OlderDeck::Conversion conversion;
            try {
                const ImportReport report = LegacyImport::convert(from, to, step);
                conversion.report = report.text();
                conversion.leftOut = int(report.leftOut.size());
                conversion.missingMedia = int(report.missingMedia.size());
            } catch (const LegacyError& error) {
                // The file was named already; the line says what is wrong with it.
                const QString prefix = from + QStringLiteral(": ");
                conversion.error = error.message().startsWith(prefix)
                                       ? error.message().mid(prefix.size())
                                       : error.message();
            }
            return conversion;
        });
}
