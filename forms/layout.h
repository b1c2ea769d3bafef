#pragma once

#include <QRect>

class QWidget;

// Forms are designed in twips (15 per pixel on the design screen) and stretched by the screen
// scale factors. These helpers turn design values into pixels.
namespace Layout {

constexpr double TwipsPerPixel = 15.0;

// Already scaled twips to whole pixels.
int px(double scaledTwips);
// Design twips: heights and tops scale by HeightFactor, widths and lefts by WidthFactor.
int pxV(double designTwips);
int pxH(double designTwips);
QRect designRect(double height, double width, double top, double left);
// Places a control from design twips (height, width, top, left), as the forms list them.
void place(QWidget* widget, double height, double width, double top, double left);
// Places a control from already scaled twips (the shared layout metrics).
void placeScaled(QWidget* widget, double height, double width, double top, double left);
// Sets the point size of a widget's font (the font metrics are already scaled).
void setFontPoints(QWidget* widget, double points);

} // namespace Layout
