#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// An emoji drawn large on a soft background: the pictures of the sample deck and the ones the
// deck maker suggests. Needs a QGuiApplication (fonts).
namespace EmojiPicture {

// The shapes of the boxes that show a deck's pictures, so that stretching keeps the emoji round:
// the main menu's group and sub-group pictures, and the cards.
inline constexpr QSize MenuShape{420, 300};
inline constexpr QSize CardShape{432, 250};

// The colour emoji font everything is drawn with.
QString family();
// True when that font is installed.
bool fontInstalled();

// The emoji as the font draws it: without the variation selector U+FE0F, which Qt 6.4 gives a
// run in a fallback font (splitting keycaps such as 1️⃣ apart); the font draws emoji
// presentation without it anyway.
QString drawable(const QString& emoji);

// True when the font draws every grapheme of emoji as one glyph of its own: a sequence the
// font lacks would fall apart into several glyphs or come from another font.
bool fontShows(const QString& emoji);

// The soft colour of group 1..6 (white for others); darker by depth (0 a word's picture, 1 a
// sub-group's, 2 a group's), so that menus stand apart from cards.
QColor softBackground(qint64 group, int depth = 0);

// emoji filling about 70 % of the height (85 % of the width for a row of several) of an image
// of size on background.
QImage draw(const QString& emoji, QSize size, const QColor& background);

} // namespace EmojiPicture
