#include "picturebox.h"

#include <QImageReader>
#include <QPixmap>

PictureBox::PictureBox(QWidget* parent, Decoding decoding)
    : ClickableLabel(parent)
    , decoding_(decoding) {
    setScaledContents(decoding == Decoding::FullSize);
}

bool PictureBox::loadPicture(const QString& path) {
    if (decoding_ == Decoding::FullSize) {
        picturePath_ = path;
        QPixmap picture;
        const bool loaded = !path.isEmpty() && picture.load(path);
        setPixmap(picture);
        return loaded;
    }
    if (path == picturePath_ && !pixmap().isNull())
        return true;
    picturePath_ = path;
    QImageReader reader(path);
    reader.setScaledSize(size() * devicePixelRatioF());
    QImage image = reader.read();
    if (image.isNull()) {
        clear();
        return false;
    }
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(devicePixelRatioF());
    setPixmap(picture);
    return true;
}
