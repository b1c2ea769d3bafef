#include "rectangleshape.h"

#include <QPainter>

RectangleShape::RectangleShape(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RectangleShape::setFill(std::optional<QColor> fill) {
    if (fill == fill_)
        return;
    fill_ = fill;
    update();
}

void RectangleShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fill_)
        painter.fillRect(rect(), *fill_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
