#include "layout.h"

#include "pmcm000.h"

#include <QWidget>
#include <cmath>

namespace Layout {

int px(double scaledTwips) {
    return static_cast<int>(std::lround(scaledTwips / TwipsPerPixel));
}

int pxV(double designTwips) {
    return px(designTwips * PMCM000::HeightFactor);
}

int pxH(double designTwips) {
    return px(designTwips * PMCM000::WidthFactor);
}

QRect designRect(double height, double width, double top, double left) {
    return {pxH(left), pxV(top), pxH(width), pxV(height)};
}

void place(QWidget* widget, double height, double width, double top, double left) {
    widget->setGeometry(designRect(height, width, top, left));
}

void placeScaled(QWidget* widget, double height, double width, double top, double left) {
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

void setFontPoints(QWidget* widget, double points) {
    QFont font = widget->font();
    font.setPointSizeF(std::max(1.0, points));
    widget->setFont(font);
}

} // namespace Layout
