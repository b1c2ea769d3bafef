#include "cardlabel.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

CardLabel::CardLabel(QWidget* parent)
    : QLabel(parent) {}

void CardLabel::showPicture(const QString& path) {
    if (path == picturePath_ && !pixmap().isNull())
        return;
    picturePath_ = path;
    QImageReader reader(path);
    reader.setScaledSize(size() * devicePixelRatioF());
    QImage image = reader.read();
    if (image.isNull()) {
        clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(devicePixelRatioF());
    setPixmap(picture);
}

void CardLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
