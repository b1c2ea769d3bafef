#include "importcommand.h"

#include <legacyerror.h>
#include <legacyimport.h>

namespace DeckCommands {

int importDeck(const QString& old, const QString& output, QTextStream& out) {
    try {
        const ImportReport report = LegacyImport::convert(old, output);
        out << output << ": " << report.text();
        return 0;
    } catch (const LegacyError& error) {
        const QString prefix = old + QStringLiteral(": ");
        out << (error.message().startsWith(prefix) ? QString() : prefix) << error.message() << '\n'
            << output << ": not written\n";
        return 1;
    }
}

} // namespace DeckCommands
