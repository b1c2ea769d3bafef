#include "cardlabel.h"

#include <QImageReader>
#include <QPixmap>

CardLabel::CardLabel(QWidget* parent)
    : ClickableLabel(parent) {}

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
