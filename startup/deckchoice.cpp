#include "deckchoice.h"

#include "deckcopy.h"
#include "olderdeck.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"

#include <QFileInfo>

namespace DeckChoice {

bool use(const QString& path) {
    using namespace PMCM000;
    if (path.isEmpty() || RefuseUnstorableDataFilePath(path))
        return false;
    const QString usable = OlderDeck::offerConversion(path);
    if (usable.isEmpty())
        return false;
    return SaveDataFilePath(QFileInfo(DeckCopy::offerWritableCopy(usable)).absoluteFilePath());
}

bool ask(const QString& startFolder) {
    return use(PMCM000::platform().prompter->openFile(PMCM000::DeckFileFilter, startFolder));
}

} // namespace DeckChoice
