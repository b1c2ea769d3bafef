#include "showtexts.h"

#include "countformat.h"
#include "levelcaption.h"

#include <QStringList>
#include <array>

namespace ShowTexts {

QString count(int n) {
    return countText(n);
}

QString counter(int position, int total) {
    return count(position) + u'/' + count(total);
}

QString levelMark(int level) {
    // The panel's own, shorter text for level 0.
    return level == 0 ? QStringLiteral("みてない") : levelCaption(level);
}

QString modeText(bool allLevels) {
    return allLevels ? QStringLiteral("All") : QStringLiteral("Track");
}

qint32 nextPanelColour(qint32 colour) {
    static constexpr std::array<qint32, 4> cycle{PanelGreen, 0x80C0FF, 0xFFFF80, 0xFF0000};
    for (size_t i = 0; i < cycle.size(); ++i)
        if (cycle[i] == colour)
            return cycle[(i + 1) % cycle.size()];
    return colour;
}

} // namespace ShowTexts
