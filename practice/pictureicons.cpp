#include "pictureicons.h"

#include "svgicon.h"

#include <QGuiApplication>

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
