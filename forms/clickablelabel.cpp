#include "clickablelabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

void ClickableLabel::setPlaceholderText(const QString& text) {
    if (text == placeholder_)
        return;
    placeholder_ = text;
    update();
}

bool ClickableLabel::showsPlaceholder() const {
    return !placeholder_.isEmpty() && pixmap().isNull() && text().isEmpty();
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    if (!showsPlaceholder()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillRect(rect(), QColor(0xF4, 0xF4, 0xF0));
    painter.setPen(QPen(QColor(0xB8, 0xB8, 0xB0), std::max(1.0, height() / 60.0)));
    painter.drawRect(area);
    // As large as fits: a third of the height at most, smaller for a long text.
    QFont font = this->font();
    const QRectF room =
        area.adjusted(width() * 0.06, height() * 0.06, -width() * 0.06, -height() * 0.06);
    double size = std::max(1.0, room.height() / 3);
    for (; size > 4; size *= 0.9) {
        font.setPixelSize(static_cast<int>(size));
        const QRectF needed = QFontMetricsF(font).boundingRect(
            room, Qt::AlignCenter | Qt::TextWordWrap, placeholder_);
        if (needed.width() <= room.width() && needed.height() <= room.height())
            break;
    }
    font.setPixelSize(std::max(1, static_cast<int>(size)));
    painter.setFont(font);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, placeholder_);
}

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
