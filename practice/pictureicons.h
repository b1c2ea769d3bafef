#pragma once

#include <QIcon>
#include <QSize>

// The pictures of the practice screen's picture buttons, drawn from our own SVG resources.
namespace PictureIcons {

enum Picture { Speaker, FourSquares, CirclingArrows, Projector, ExitDoor };

// The picture rendered sharp for a button of the given size (in device-independent pixels).
QIcon icon(Picture picture, QSize buttonSize);
// The square the picture takes in such a button, with a margin round it.
QSize iconSize(QSize buttonSize);

} // namespace PictureIcons
