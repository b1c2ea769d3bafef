#include "qtscreeninfo.h"

#include <QGuiApplication>
#include <QScreen>

double QtScreenInfo::heightTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * twipsPerPixelY() : 768 * twipsPerPixelY();
}

double QtScreenInfo::widthTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() * twipsPerPixelY() : 1024 * twipsPerPixelY();
}
