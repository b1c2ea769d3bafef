#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

class QWidget;

// The background colours the screens take from the colour settings. The text of a setting
// that is not a colour falls back differently on each screen, as their designs say: the main
// menu to its fixed colours, the practice to the form's own colour, and the slide show keeps
// the colour it has.
namespace Background {

// The colour a setting's text names, system colours resolved against palette; nullopt when
// the text is not a colour.
std::optional<QColor> settingColour(const QString& text, const QPalette& palette = QPalette());
// Paints widget's background in colour.
void paint(QWidget* widget, const QColor& colour);

} // namespace Background
