// A picture that is missing shows its placeholder: a light frame with the text, in large type.
#include "picturebox.h"
#include "testmain.h"

#include <QImage>
#include <QPixmap>

namespace {
// The number of pixels darker than the placeholder's frame: the drawn text.
int darkPixels(const QImage& image) {
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 0x90;
    return dark;
}
} // namespace

class TestPlaceholder : public QObject {
    Q_OBJECT

  private slots:
    void placeholderOnlyWithoutAPicture_data() {
        QTest::addColumn<QString>("placeholder");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("shown");
        QTest::newRow("missing picture")
            << QStringLiteral("いぬ") << false << QSize(200, 120) << true;
        QTest::newRow("long title, small box")
            << QStringLiteral("いろいろな どうぶつの なまえ") << false << QSize(90, 60) << true;
        QTest::newRow("slide show picture growing")
            << QStringLiteral("ねこ") << false << QSize(12, 8) << true;
        QTest::newRow("picture present")
            << QStringLiteral("いぬ") << true << QSize(200, 120) << false;
        QTest::newRow("no placeholder set") << QString() << false << QSize(200, 120) << false;
    }
    void placeholderOnlyWithoutAPicture() {
        QFETCH(QString, placeholder);
        QFETCH(bool, picture);
        QFETCH(QSize, size);
        QFETCH(bool, shown);
        PictureBox box;
        box.resize(size);
        box.setPlaceholderText(placeholder);
        QPixmap yellow(8, 8);
        yellow.fill(Qt::yellow);
        if (picture)
            box.setPixmap(yellow);
        QCOMPARE(box.showsPlaceholder(), shown);
        const QImage drawn = box.grab().toImage();
        if (!shown) { // a picture fills the box; nothing at all is drawn without one
            QCOMPARE(darkPixels(drawn), 0);
            return;
        }
        // The text is drawn inside the frame, large enough to read in a box of card size.
        const int dark = darkPixels(drawn);
        QVERIFY2(dark > 0, "no text drawn");
        if (size.height() >= 100)
            QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
        QVERIFY(qGray(drawn.pixel(0, 0)) < qGray(drawn.pixel(size.width() / 2, 2)) ||
                size.height() < 20); // the frame is darker than the light inside
    }
};

PIMLOTAN_TEST_MAIN(TestPlaceholder)
#include "tst_placeholder.moc"
