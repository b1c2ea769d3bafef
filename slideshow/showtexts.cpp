#include "showtexts.h"

#include "countformat.h"

#include <QStringList>
#include <array>

namespace ShowTexts {

QString count(int n) {
    return countText(n);
}

QString counter(int position, int total) {
    return count(position) + u'/' + count(total);
}

QString levelCaption(int level) {
    static const QStringList captions{QStringLiteral("みていない"), QStringLiteral("○"),
                                      QStringLiteral("△○"),         QStringLiteral("△△○"),
                                      QStringLiteral("△△△○"),       QStringLiteral("△△△△")};
    return captions.value(level);
}

QString levelMark(int level) {
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
