#include "emojipicture.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>

namespace EmojiPicture {

namespace {

int graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace

QString family() {
    return QStringLiteral("Noto Color Emoji");
}

bool fontInstalled() {
    return QFontInfo(QFont(family())).family() == family();
}

QString drawable(const QString& emoji) {
    return QString(emoji).remove(QChar(0xFE0F));
}

bool fontShows(const QString& emoji) {
    const QString text = drawable(emoji);
    if (text.isEmpty())
        return false;
    QTextLayout layout(text, QFont(family()));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.rawFont().familyName() != family())
            return false;
        for (quint32 index : run.glyphIndexes()) {
            if (index == 0)
                return false;
            ++glyphs;
        }
    }
    return glyphs == graphemeCount(text);
}

QColor softBackground(qint64 group, int depth) {
    static const QColor pastel[] = {QColor(0xcd, 0xeb, 0xb4), QColor(0xff, 0xd9, 0xa8),
                                    QColor(0xe3, 0xdd, 0xf5), QColor(0xc9, 0xe4, 0xf8),
                                    QColor(0xfa, 0xd3, 0xdf), QColor(0xff, 0xf0, 0xa8)};
    const QColor base = group >= 1 && group <= 6 ? pastel[group - 1] : Qt::white;
    return base.darker(100 + 12 * depth);
}

QImage draw(const QString& emoji, QSize size, const QColor& background) {
    const QString text = drawable(emoji);
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    QFont font(family());
    font.setPixelSize(100);
    const qreal width = std::max<qreal>(1, QFontMetricsF(font).horizontalAdvance(text));
    const qreal scale = std::min(size.height() * 0.70 / 100, size.width() * 0.85 / width);
    font.setPixelSize(std::max(8, int(100 * scale)));
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text);
    return image;
}

} // namespace EmojiPicture
