#include "background.h"

#include "wincolor.h"

#include <QWidget>

namespace Background {

std::optional<QColor> settingColour(const QString& text, const QPalette& palette) {
    const std::optional<qint32> value = WinColor::parse(text);
    if (!value)
        return std::nullopt;
    return WinColor::toQColor(*value, palette);
}

void paint(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace Background
