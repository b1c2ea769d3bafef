#include "svgicon.h"

#include <QPainter>
#include <QSvgRenderer>

// Pulls the shared pictures into a static link (outside any namespace, as the macro needs).
static void initFormResources() {
    Q_INIT_RESOURCE(forms);
}

QPixmap svgPixmap(const QString& resource, int side, qreal pixelRatio) {
    initFormResources();
    const int pixels = static_cast<int>(side * pixelRatio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

QIcon svgIcon(const QString& resource, int side, qreal pixelRatio) {
    if (!QSvgRenderer(resource).isValid())
        return {};
    return QIcon(svgPixmap(resource, side, pixelRatio));
}
