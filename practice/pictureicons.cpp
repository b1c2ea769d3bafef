#include "pictureicons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

// Pulls the resources into a static link (outside any namespace, as the macro needs).
static void initPracticeResources() {
    Q_INIT_RESOURCE(practice);
}

namespace PictureIcons {

namespace {
QString resourceOf(Picture picture) {
    switch (picture) {
    case Speaker:
        return u":/practice/speaker.svg"_s;
    case FourSquares:
        return u":/practice/foursquares.svg"_s;
    case CirclingArrows:
        return u":/practice/circlingarrows.svg"_s;
    case Projector:
        return u":/practice/projector.svg"_s;
    case ExitDoor:
        return u":/practice/exitdoor.svg"_s;
    }
    return {};
}
} // namespace

QIcon icon(Picture picture, QSize buttonSize) {
    initPracticeResources();
    QSvgRenderer renderer(resourceOf(picture));
    if (!renderer.isValid())
        return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(iconSize(buttonSize) * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return QIcon(pixmap);
}

QSize iconSize(QSize buttonSize) {
    const int side = qMax(1, qRound(qMin(buttonSize.width(), buttonSize.height()) * 0.8));
    return {side, side};
}

} // namespace PictureIcons
