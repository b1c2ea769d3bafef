#include "picturebox.h"

#include <QPixmap>

bool PictureBox::loadPicture(const QString& path) {
    QPixmap picture;
    const bool loaded = !path.isEmpty() && picture.load(path);
    setPixmap(picture);
    return loaded;
}
