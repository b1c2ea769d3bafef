#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// Fits a text into the room of its label, so that it is never cut through a glyph and keeps
// what matters: the type first shrinks (not below minScale of its design size), then the text
// is elided with "…".
namespace TextFit {

constexpr double MinScale = 0.7;

struct Fitted {
    QFont font;
    QString text; // lines are separated by '\n'
};

// One line in `width` pixels. `kept` follows the text and never gives way (a count): the
// text before it is elided first.
Fitted line(const QString& text, const QFont& design, int width, const QString& kept = {},
            double minScale = MinScale);

// Word-wrapped lines in `room`: whole lines only. When the text does not fit at the smallest
// type, the last line that fits ends with "…".
Fitted lines(const QString& text, const QFont& design, QSize room, double minScale = MinScale);

} // namespace TextFit
