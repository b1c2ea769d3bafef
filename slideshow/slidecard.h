#pragma once

#include <QSize>

// The slide show's card at the end of its growth: the largest place any screen shows a deck's
// picture. Header only: the deck maker stores pictures at this size without linking the show.
namespace SlideCard {

// In twips of the 1024 x 768 design.
inline constexpr double FullWidth = 6270;
inline constexpr double FullHeight = 3630;

// In pixels on a 1920 x 1080 screen (the forms scale by 1080 / 768 rows; 15 twips a pixel): the
// size the deck maker stores pictures at, so that each screen shows them sharp.
inline constexpr QSize FullHdPixels{int(FullWidth * 1080 / 768 / 15 + 0.5),
                                    int(FullHeight * 1080 / 768 / 15 + 0.5)};

} // namespace SlideCard
