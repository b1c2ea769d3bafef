#include "textfit.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>

namespace TextFit {

namespace {
QFont scaled(const QFont& design, double scale) {
    QFont font = design;
    font.setPointSizeF(std::max(1.0, design.pointSizeF() * scale));
    return font;
}

// Scales from the design size down to minScale, in small steps, until fits() holds; the
// smallest scale when it never does.
template <typename Fits> QFont shrink(const QFont& design, double minScale, Fits fits) {
    constexpr double Step = 0.02;
    for (double scale = 1.0; scale > minScale; scale -= Step) {
        const QFont font = scaled(design, scale);
        if (fits(font))
            return font;
    }
    return scaled(design, minScale);
}

QStringList wrap(const QString& text, const QFont& font, qreal width) {
    QString laidOut = text;
    laidOut.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = text.mid(line.textStart(), line.textLength());
        while (part.endsWith(u'\n') || part.endsWith(u' '))
            part.chop(1);
        result << part;
    }
    layout.endLayout();
    return result;
}

int wholeLines(const QFont& font, int height) {
    return std::max(1, static_cast<int>(height / QFontMetricsF(font).lineSpacing()));
}
} // namespace

Fitted line(const QString& text, const QFont& design, int width, const QString& kept,
            double minScale) {
    const QString whole = text + kept;
    const QFont font = shrink(design, minScale, [&](const QFont& f) {
        return QFontMetricsF(f).horizontalAdvance(whole) <= width;
    });
    const QFontMetricsF metrics(font);
    if (metrics.horizontalAdvance(whole) <= width)
        return {font, whole};
    const qreal room = width - metrics.horizontalAdvance(kept);
    return {font, metrics.elidedText(text, Qt::ElideRight, std::max<qreal>(0, room)) + kept};
}

Fitted lines(const QString& text, const QFont& design, QSize room, double minScale) {
    const QFont font = shrink(design, minScale, [&](const QFont& f) {
        return wrap(text, f, room.width()).size() <= wholeLines(f, room.height());
    });
    QStringList shown = wrap(text, font, room.width());
    const int fit = wholeLines(font, room.height());
    if (shown.size() > fit) {
        // The last line that fits takes the rest of the text, elided.
        QString rest = shown.mid(fit - 1).join(u' ');
        shown = shown.mid(0, fit - 1);
        const QFontMetricsF metrics(font);
        QString last = metrics.elidedText(rest, Qt::ElideRight, room.width());
        shown << last;
    }
    return {font, shown.join(u'\n')};
}

} // namespace TextFit
