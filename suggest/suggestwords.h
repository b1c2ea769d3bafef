#pragma once

#include <QString>
#include <QStringList>

// How a typed word is compared with the dictionary's glosses and the picture library's names.
namespace SuggestWords {

// Lower case, single spaces, without a trailing remark in brackets ("dog (Canis familiaris)")
// and without a leading "to " (verbs) or article: the form in which glosses and typed words
// are compared. "the" before a capital stays: "the Rabbit" names a zodiac sign.
QString normalGloss(const QString& text);

// The forms to look a typed word up by, in turn until one finds something: the word itself,
// then its singular ("grapes" → "grape", "berries" → "berry", "boxes" → "box").
QStringList searchForms(const QString& word);

// Hiragana as katakana (ねこ → ネコ): the picture library names many things in katakana.
QString katakana(const QString& text);

// Katakana as hiragana (カメ → かめ).
QString hiragana(const QString& text);

// True when text has characters outside Latin script (a Japanese title or meaning).
bool isJapanese(const QString& text);

} // namespace SuggestWords
