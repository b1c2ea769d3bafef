#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

// Colours as the settings files store them: 0x00BBGGRR for a plain colour, or 0x80000000 plus
// a system-colour index for a colour of the desktop theme.
namespace WinColor {

constexpr qint32 SystemFlag = static_cast<qint32>(0x80000000u);
constexpr qint32 ButtonFace = SystemFlag | 15;

QColor toQColor(qint32 value, const QPalette& palette = QPalette());
qint32 fromQColor(const QColor& color);
// The signed decimal text of a settings file; nullopt when it is not a 32-bit number.
std::optional<qint32> parse(const QString& text);
QString toText(qint32 value);

} // namespace WinColor
