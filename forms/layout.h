#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QWidget;

// Forms are designed in twips (15 per pixel on the design screen) and stretched by the screen
// scale factors. These helpers turn design values into pixels.
namespace Layout {

constexpr double TwipsPerPixel = 15.0;

// Already scaled twips to whole pixels.
int px(double scaledTwips);
// Design twips: heights and tops scale by HeightFactor, widths and lefts by WidthFactor.
int pxV(double designTwips);
int pxH(double designTwips);
QRect designRect(double height, double width, double top, double left);
// Places a control from design twips (height, width, top, left), as the forms list them.
void place(QWidget* widget, double height, double width, double top, double left);
// Places a control from already scaled twips (the shared layout metrics).
void placeScaled(QWidget* widget, double height, double width, double top, double left);
// Sets the point size of a widget's font (the font metrics are already scaled).
void setFontPoints(QWidget* widget, double points);

// The object name of element index of a control array: "Name(index)".
inline QString indexedName(const QString& name, int index) {
    return name + u'(' + QString::number(index) + u')';
}
inline QString indexedName(const char* name, int index) {
    return indexedName(QString::fromLatin1(name), index);
}
// Gives a new control its name and returns it.
template <typename Object> Object* named(Object* object, const QString& name) {
    object->setObjectName(name);
    return object;
}
template <typename Object> Object* named(Object* object, const char* name) {
    return named(object, QString::fromLatin1(name));
}

} // namespace Layout
