#include "pictureicons.h"

#include "svgicon.h"

#include <QGuiApplication>

// Pulls the resources into a static link (outside any namespace, as the macro needs).
static void initPracticeResources() {
    Q_INIT_RESOURCE(practice);
}

namespace PictureIcons {

namespace {
QString resourceOf(Picture picture) {
    switch (picture) {
    case Speaker:
        return QStringLiteral(":/practice/speaker.svg");
    case FourSquares:
        return QStringLiteral(":/practice/foursquares.svg");
    case CirclingArrows:
        return QStringLiteral(":/practice/circlingarrows.svg");
    case Projector:
        return QStringLiteral(":/practice/projector.svg");
    case ExitDoor:
        return ExitDoorIcon;
    }
    return {};
}
} // namespace

QIcon icon(Picture picture, QSize buttonSize) {
    initPracticeResources();
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    return svgIcon(resourceOf(picture), iconSize(buttonSize).width(), ratio);
}

QSize iconSize(QSize buttonSize) {
    const int side = qMax(1, qRound(qMin(buttonSize.width(), buttonSize.height()) * 0.8));
    return {side, side};
}

} // namespace PictureIcons
