#pragma once

#include "picturebox.h"

#include <QRectF>
#include <QSizeF>

class ClickableLabel;
class QLabel;
class QWidget;
class RectangleShape;

// The practice's word card, one definition for the practice screen's nine cards and the deck
// maker's preview of one: its shape, its picture, the word and the phrase over the picture's
// halves (the card turned over), and the meaning right above the card's buttons; where each
// stands and the face they are drawn in.
namespace WordCard {

// Design geometry in twips of the 1024 x 768 design, from the shape's top-left corner.
inline constexpr QSizeF Shape{3335, 2400};
inline constexpr QRectF Picture{100, 105, 3135, 1815};
inline constexpr QRectF Word{100, 105, 3135, 1815 / 2.0};
inline constexpr QRectF Phrase{100, 105 + 1815 / 2.0, 3135, 1815 / 2.0};
// The card's buttons start right under the shape; the meaning stands one small button high
// above them, over the picture's width.
inline constexpr double ButtonsTop = 2400;
inline constexpr double MeaningHeight = 375; // a small button's design height
inline constexpr double WordPoints = 18, PhrasePoints = 12, MeaningPoints = 9;

struct Parts {
    RectangleShape* shape = nullptr;
    PictureBox* picture = nullptr;
    ClickableLabel* word = nullptr;
    ClickableLabel* phrase = nullptr;
    QLabel* meaning = nullptr;
};

// Creates a card's parts in parent, the shape under the picture and the labels over it, named
// as the practice names them: Sh_word, Im_word, LB_word, LB_meaning and LB_meanings, with
// "(index)" when index is not negative. The word labels get the card face at their points; the
// fonts' sizes are the caller's to scale.
Parts create(QWidget* parent, int index, PictureBox::Decoding decoding);

// The face the word labels and the practice's level buttons are designed in, with the program's
// Japanese face where it is not installed.
void useFace(QWidget* widget);

} // namespace WordCard
