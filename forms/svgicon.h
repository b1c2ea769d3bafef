#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Pictures of our own, drawn sharp from SVG resources: side x side device-independent pixels
// at the screen's pixel ratio. A resource that is not a picture gives a null icon, and a
// transparent pixmap.
QPixmap svgPixmap(const QString& resource, int side, qreal pixelRatio);
QIcon svgIcon(const QString& resource, int side, qreal pixelRatio);

// The exit door of the buttons that go back to the main menu.
inline const QString ExitDoorIcon = QStringLiteral(":/forms/exitdoor.svg");
