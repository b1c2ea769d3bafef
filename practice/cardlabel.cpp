#include "cardlabel.h"

#include <QImageReader>
#include <QPixmap>
#include <cstdio>

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
        // The placeholder shows instead; the parent learns which file to put back.
        std::fprintf(stderr, "pimlotan: picture missing or unreadable: %s\n",
                     qPrintable(path.isEmpty() ? QStringLiteral("(no plain file name)") : path));
        clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(devicePixelRatioF());
    setPixmap(picture);
}
