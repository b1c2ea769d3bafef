// Build-time tool: draws the splash picture (the program title over a few word cards) as a BMP
// at the design size of the full-window forms.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {
struct Card {
    QRectF rect;
    double angle;
    QString emoji;
    QString word;
    QColor colour;
};

void drawCard(QPainter& painter, const Card& card) {
    painter.save();
    painter.translate(card.rect.center());
    painter.rotate(card.angle);
    const QRectF box(-card.rect.width() / 2, -card.rect.height() / 2, card.rect.width(),
                     card.rect.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(box.translated(6, 8), 18, 18);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(card.colour, 6));
    painter.drawRoundedRect(box, 18, 18);

    QFont emoji(QStringLiteral("Noto Color Emoji"));
    emoji.setPixelSize(static_cast<int>(box.height() * 0.42));
    painter.setFont(emoji);
    painter.drawText(box.adjusted(0, 10, 0, -box.height() * 0.35), Qt::AlignCenter, card.emoji);

    QFont word(QStringLiteral("Noto Sans CJK JP"));
    word.setPixelSize(static_cast<int>(box.height() * 0.16));
    word.setBold(true);
    painter.setFont(word);
    painter.setPen(card.colour.darker(130));
    painter.drawText(box.adjusted(0, box.height() * 0.62, 0, -8), Qt::AlignHCenter | Qt::AlignTop,
                     card.word);
    painter.restore();
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-splash OUTPUT.bmp\n");
        return 2;
    }
    const int width = 1003; // 15045 x 10700 twips at 15 twips per pixel
    const int height = 713;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0x8e, 0xd1, 0xfc));
    sky.setColorAt(1, QColor(0xff, 0xf3, 0xc4));
    painter.fillRect(image.rect(), sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9b, 0xd7, 0x70));
    QPainterPath hill;
    hill.moveTo(0, height);
    hill.cubicTo(width * 0.25, height - 170, width * 0.6, height - 60, width, height - 150);
    hill.lineTo(width, height);
    hill.closeSubpath();
    painter.drawPath(hill);

    const Card cards[] = {
        {QRectF(110, 300, 220, 260), -9, QStringLiteral("🍎"), QStringLiteral("apple"),
         QColor(0xe5, 0x39, 0x35)},
        {QRectF(390, 330, 220, 260), 3, QStringLiteral("🐱"), QStringLiteral("cat"),
         QColor(0xfb, 0x8c, 0x00)},
        {QRectF(670, 300, 220, 260), 10, QStringLiteral("🚌"), QStringLiteral("bus"),
         QColor(0x1e, 0x88, 0xe5)},
    };
    for (const Card& card : cards)
        drawCard(painter, card);

    QFont title(QStringLiteral("Noto Sans CJK JP"));
    title.setPixelSize(78);
    title.setWeight(QFont::Black);
    painter.setFont(title);
    const QRect titleBox(0, 70, width, 110);
    painter.setPen(QColor(255, 255, 255));
    for (int dx = -4; dx <= 4; dx += 2)
        for (int dy = -4; dy <= 4; dy += 2)
            painter.drawText(titleBox.translated(dx, dy), Qt::AlignCenter,
                             QStringLiteral("ピムロ英語カード"));
    painter.setPen(QColor(0x28, 0x35, 0x93));
    painter.drawText(titleBox, Qt::AlignCenter, QStringLiteral("ピムロ英語カード"));

    QFont subtitle(QStringLiteral("Noto Sans CJK JP"));
    subtitle.setPixelSize(30);
    subtitle.setBold(true);
    painter.setFont(subtitle);
    painter.setPen(QColor(0x28, 0x35, 0x93));
    painter.drawText(QRect(0, 185, width, 50), Qt::AlignCenter,
                     QStringLiteral("えいごの ことばを おぼえよう"));

    QFont small(QStringLiteral("Noto Sans CJK JP"));
    small.setPixelSize(18);
    painter.setFont(small);
    painter.setPen(QColor(0x33, 0x55, 0x22));
    painter.drawText(QRect(0, height - 40, width - 20, 30), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("MORV  pimlotan " PIMLOTAN_VERSION));
    painter.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "make-splash: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
