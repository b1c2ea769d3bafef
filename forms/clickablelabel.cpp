#include "clickablelabel.h"

#include <QMouseEvent>
#include <utility>

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    event->accept();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not a press: QWidget's default would turn it into one and so into a second click.
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    const bool wasPressed = std::exchange(pressed_, false);
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit clicked();
}
