#include "suggestwords.h"

namespace SuggestWords {

QString normalGloss(const QString& text) {
    const QString simple = text.simplified();
    // "the Rabbit" (a zodiac sign), "the Moon": a name, not the thing a child's card shows.
    const bool name = simple.startsWith(QLatin1StringView("the "), Qt::CaseInsensitive) &&
                      simple.size() > 4 && simple.at(4).isUpper();
    QString gloss = simple.toLower();
    // Trailing remarks, nested ones included: "dog (canis (lupus) familiaris)".
    while (gloss.endsWith(u')')) {
        int depth = 0;
        qsizetype open = gloss.size() - 1;
        for (; open >= 0; --open) {
            if (gloss[open] == u')')
                ++depth;
            else if (gloss[open] == u'(' && --depth == 0)
                break;
        }
        if (open <= 0)
            break;
        gloss = gloss.first(open).trimmed();
    }
    if (name)
        return gloss;
    for (const QLatin1StringView lead : {QLatin1StringView("to "), QLatin1StringView("a "),
                                         QLatin1StringView("an "), QLatin1StringView("the ")})
        if (gloss.startsWith(lead) && gloss.size() > lead.size()) {
            gloss = gloss.sliced(lead.size());
            break;
        }
    return gloss;
}

QStringList searchForms(const QString& word) {
    const QString base = word.simplified();
    QStringList forms{base};
    const QString lower = base.toLower();
    if (lower.endsWith(u"ies") && lower.size() > 4)
        forms << base.chopped(3) + u'y';
    else if ((lower.endsWith(u"xes") || lower.endsWith(u"ches") || lower.endsWith(u"shes") ||
              lower.endsWith(u"sses")) &&
             lower.size() > 4)
        forms << base.chopped(2);
    else if (lower.endsWith(u's') && !lower.endsWith(u"ss") && lower.size() > 3)
        forms << base.chopped(1);
    return forms;
}

QString katakana(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096)
            c = QChar(c.unicode() + 0x60);
    return result;
}

QString hiragana(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return result;
}

bool isJapanese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x3000)
            return true;
    return false;
}

} // namespace SuggestWords
