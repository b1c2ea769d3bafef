#include "levelcaption.h"

#include "worddataformat.h"

#include <QStringList>

QString levelCaption(int level) {
    static const QStringList captions{QStringLiteral("みていない"), QStringLiteral("○"),
                                      QStringLiteral("△○"),         QStringLiteral("△△○"),
                                      QStringLiteral("△△△○"),       QStringLiteral("△△△△")};
    static_assert(WordDataFormat::levelCount == 6, "one caption per level");
    return captions.value(level - WordDataFormat::lowestLevel);
}
