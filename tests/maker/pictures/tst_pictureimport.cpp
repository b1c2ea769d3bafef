// Storing pictures in a deck: every way in gives images/NAME.jpg at the stored size, or a
// message and no change on disk.
#include "pictureimport.h"
#include "slideshowengine.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>

using PictureImport::StoredBox;

namespace {

const QString Name = QStringLiteral("dog");

bool near(QRgb pixel, const QColor& expected, int tolerance = 16) {
    return std::abs(qRed(pixel) - expected.red()) <= tolerance &&
           std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
           std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

QString colourText(QRgb pixel) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel));
}

// A colour at a point given as fractions of the picture's width and height.
struct Probe {
    double x, y;
    QColor colour;
};

void verifyColours(const QImage& picture, const QList<Probe>& probes) {
    for (const Probe& probe : probes) {
        const QRgb pixel = picture.pixel(int(probe.x * (picture.width() - 1)),
                                         int(probe.y * (picture.height() - 1)));
        QVERIFY2(near(pixel, probe.colour),
                 qPrintable(QStringLiteral("at %1, %2: %3, expected %4")
                                .arg(probe.x)
                                .arg(probe.y)
                                .arg(colourText(pixel), colourText(probe.colour.rgb()))));
    }
}

QImage filled(QSize size, const QColor& colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(size, format);
    image.fill(colour);
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

// The header of a 24-bit BMP of size; a format that cannot decode at a reduced size decodes
// whole, so the decoding limit refuses a large one before its pixels are read.
QByteArray bmpHeader(QSize size) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 pixels = quint32(size.width()) * 3 * quint32(size.height());
    out.writeRawData("BM", 2);
    out << quint32(54 + pixels) << quint32(0) << quint32(54);
    out << quint32(40) << qint32(size.width()) << qint32(size.height()) << quint16(1) << quint16(24)
        << quint32(0) << pixels << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    return bytes;
}

// The peak resident size since the last reset, in KiB; -1 where the kernel does not tell.
qint64 peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace

class TestPictureImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString deck_;
    int decks_ = 0;

    QString stored() const { return PictureImport::storedPath(deck_, Name); }
    QImage storedPicture() const { return QImage(stored()); }
    QString source(const QString& file) const { return dir_.filePath(file); }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        deck_ = dir_.filePath(QStringLiteral("deck") + QString::number(++decks_));
        QVERIFY(QDir().mkpath(deck_));
    }

    void storedSizeFitsTheBox_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("4:3 photo, height-bound") << QSize(8000, 6000) << QSize(453, 340);
        QTest::newRow("the box itself") << StoredBox << StoredBox;
        QTest::newRow("wide, width-bound") << QSize(2000, 500) << QSize(588, 147);
        QTest::newRow("one pixel, scaled up") << QSize(1, 1) << QSize(340, 340);
        QTest::newRow("small, scaled up") << QSize(100, 50) << QSize(588, 294);
        QTest::newRow("a line keeps one pixel") << QSize(10000, 1) << QSize(588, 1);
        QTest::newRow("nothing") << QSize(0, 0) << QSize();
    }
    void storedSizeFitsTheBox() {
        QFETCH(QSize, source);
        QFETCH(QSize, expected);
        QCOMPARE(PictureImport::storedSize(source), expected);
    }

    void storedBoxIsTheSlideShowsFullCard() {
        // On a 1080-row screen the forms scale by 1080 / 768; the grown card is within the
        // engine's rounding of a pixel of that.
        const double factor = 1080.0 / 768 / 15;
        QVERIFY(std::abs(StoredBox.width() - SlideShowEngine::FullWidth * factor) <= 1);
        QVERIFY(std::abs(StoredBox.height() - SlideShowEngine::FullHeight * factor) <= 1);
    }

    void storesPictureFiles_data() {
        QTest::addColumn<QString>("file");
        // Writes the source file; empty when it is a committed fixture.
        QTest::addColumn<std::function<bool(const QString&)>>("make");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QList<Probe>>("probes");

        QTest::newRow("1 x 1 GIF, scaled up in one colour")
            << QStringLiteral(":/fixtures/red-pixel.gif") << std::function<bool(const QString&)>()
            << QSize(340, 340)
            << QList<Probe>{{0, 0, Qt::red}, {0.5, 0.5, Qt::red}, {1, 1, Qt::red}};
        // Qt 6.4 reads CMYK as Adobe's writers store it (inverted, with their marker).
        QTest::newRow("CMYK JPEG in its colours")
            << QStringLiteral(":/fixtures/cmyk.jpg") << std::function<bool(const QString&)>()
            << QSize(340, 340)
            << QList<Probe>{{0.25, 0.25, Qt::cyan},
                            {0.75, 0.25, Qt::magenta},
                            {0.25, 0.75, Qt::yellow},
                            {0.75, 0.75, Qt::white}};
        QTest::newRow("transparent PNG on white")
            << source(QStringLiteral("clear.png"))
            << std::function<bool(const QString&)>([](const QString& path) {
                   QImage image = filled({100, 50}, Qt::transparent, QImage::Format_ARGB32);
                   QPainter(&image).fillRect(40, 20, 20, 10, QColor(0, 0, 255, 255));
                   return image.save(path, "PNG");
               })
            << QSize(588, 294) << QList<Probe>{{0.02, 0.02, Qt::white}, {0.5, 0.5, Qt::blue}};
        QTest::newRow("BMP scaled down")
            << source(QStringLiteral("green.bmp"))
            << std::function<bool(const QString&)>([](const QString& path) {
                   return filled({1200, 900}, Qt::green).save(path, "BMP");
               })
            << QSize(453, 340) << QList<Probe>{{0.5, 0.5, Qt::green}};
        QTest::newRow("PNG under a JPEG's name")
            << source(QStringLiteral("misnamed.jpg"))
            << std::function<bool(const QString&)>([](const QString& path) {
                   return filled({200, 100}, Qt::blue).save(path, "PNG");
               })
            << QSize(588, 294) << QList<Probe>{{0.5, 0.5, Qt::blue}};
        // A camera stores a portrait photo lying on its side and says how to turn it.
        QTest::newRow("camera photo turned upright")
            << source(QStringLiteral("turned.jpg"))
            << std::function<bool(const QString&)>([](const QString& path) {
                   QImage image = filled({1200, 600}, Qt::red);
                   QPainter(&image).fillRect(0, 0, 600, 600, Qt::blue); // left half blue
                   QImageWriter writer(path, "JPEG");
                   writer.setTransformation(QImageIOHandler::TransformationRotate90);
                   return writer.write(image);
               })
            << QSize(170, 340) << QList<Probe>{{0.5, 0.25, Qt::blue}, {0.5, 0.75, Qt::red}};
    }
    void storesPictureFiles() {
        QFETCH(QString, file);
        QFETCH(std::function<bool(const QString&)>, make);
        QFETCH(QSize, expected);
        QFETCH(QList<Probe>, probes);
        if (make)
            QVERIFY(make(file));
        QVERIFY(!QDir(deck_).exists(QStringLiteral("images")));

        const PictureImport::Result result = PictureImport::storeFile(file, deck_, Name);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.size, expected);
        QCOMPARE(stored(), QDir(deck_).filePath(QStringLiteral("images/dog.jpg")));
        QImageReader reader(stored());
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), expected);
        verifyColours(picture, probes);
        // Only the picture: no temporary file is left beside it.
        QCOMPARE(QDir(deck_ + QStringLiteral("/images")).entryList(QDir::Files),
                 QStringList{QStringLiteral("dog.jpg")});
    }

    // Large enough that a whole decode (183 MiB) would pass the decoding limit.
    void storesAHugePngAtItsReducedSize() {
        const QString file = source(QStringLiteral("huge.png"));
        {
            QImage image = filled({8000, 6000}, Qt::red, QImage::Format_RGB888);
            QPainter(&image).fillRect(4000, 0, 4000, 6000, Qt::blue);
            QVERIFY(image.save(file, "PNG"));
        }
        const bool measured = resetPeak();
        const qint64 before = peakKiB();
        QElapsedTimer timer;
        timer.start();
        const PictureImport::Result result = PictureImport::storeFile(file, deck_, Name);
        const qint64 elapsed = timer.elapsed();
        const qint64 peak = peakKiB() - before;
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.size, QSize(453, 340));
        verifyColours(storedPicture(), {{0.25, 0.5, Qt::red}, {0.75, 0.5, Qt::blue}});
        qInfo("8000 x 6000 PNG stored in %lld ms, peak grew by %lld KiB", elapsed,
              measured ? peak : -1);
        if (measured)
            QVERIFY2(peak < 64 * 1024, qPrintable(QString::number(peak)));
    }

    void refusesWhatIsNoPicture_data() {
        QTest::addColumn<QByteArray>("content"); // written to the file, unless it is missing
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString unreadable = QStringLiteral("この ファイルは 画像として 読めません。");
        QTest::newRow("text") << QByteArray("not a picture\n") << false << Name << unreadable;
        QTest::newRow("empty file") << QByteArray() << false << Name << unreadable;
        QTest::newRow("PNG header only")
            << encoded(filled({64, 64}, Qt::red), "PNG").left(40) << false << Name << unreadable;
        QTest::newRow("BMP too large to decode")
            << bmpHeader({9000, 8000}) << false << Name
            << QStringLiteral("この 画像は 大きすぎて 読めません。");
        QTest::newRow("missing file")
            << QByteArray() << true << Name << QStringLiteral("ファイルが 見つかりません。");
        QTest::newRow("name with a folder")
            << encoded(filled({64, 64}, Qt::red), "PNG") << false << QStringLiteral("../dog")
            << QStringLiteral("この 名前では 画像を 保存できません。");
    }
    void refusesWhatIsNoPicture() {
        QFETCH(QByteArray, content);
        QFETCH(bool, missing);
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QString file = source(QStringLiteral("input.png"));
        QFile::remove(file);
        if (!missing) {
            QFile input(file);
            QVERIFY(input.open(QIODevice::WriteOnly));
            input.write(content);
        }
        // The picture stored before stays as it was.
        QVERIFY(PictureImport::storeImage(filled({300, 200}, Qt::green), deck_, Name).ok());
        QFile before(stored());
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray old = before.readAll();

        const PictureImport::Result result = PictureImport::storeFile(file, deck_, name);
        QVERIFY(!result.ok());
        QCOMPARE(result.error, message);
        QVERIFY(!result.size.isValid());
        QFile after(stored());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), old);
        QCOMPARE(QDir(deck_ + QStringLiteral("/images")).entryList(QDir::Files),
                 QStringList{QStringLiteral("dog.jpg")});
        QCOMPARE(QDir(deck_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("images")});
    }

    void storesDroppedAndPastedData_data() {
        QTest::addColumn<std::function<void(QMimeData&)>>("fill");
        QTest::addColumn<bool>("storable");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QColor>("colour"); // of the stored picture

        QTest::newRow("image") << std::function<void(QMimeData&)>([](QMimeData& data) {
            data.setImageData(filled({200, 100}, Qt::red));
        }) << true << QString() << QColor(Qt::red);
        QTest::newRow("encoded PNG") << std::function<void(QMimeData&)>([](QMimeData& data) {
            data.setData(QStringLiteral("image/png"), encoded(filled({200, 100}, Qt::blue), "PNG"));
        }) << true << QString() << QColor(Qt::blue);
        QTest::newRow("file URL") << std::function<void(QMimeData&)>([this](QMimeData& data) {
            const QString file = source(QStringLiteral("dropped.bmp"));
            filled({200, 100}, Qt::green).save(file, "BMP");
            data.setUrls({QUrl::fromLocalFile(file)});
        }) << true << QString() << QColor(Qt::green);
        // A file manager offers the file and a thumbnail; the file has the whole picture.
        QTest::newRow("file URL before its thumbnail")
            << std::function<void(QMimeData&)>([this](QMimeData& data) {
                   const QString file = source(QStringLiteral("full.bmp"));
                   filled({200, 100}, Qt::green).save(file, "BMP");
                   data.setUrls({QUrl::fromLocalFile(file)});
                   data.setImageData(filled({20, 10}, Qt::red));
               })
            << true << QString() << QColor(Qt::green);
        QTest::newRow("text file URL") << std::function<void(QMimeData&)>([this](QMimeData& data) {
            const QString file = source(QStringLiteral("notes.txt"));
            QFile text(file);
            if (text.open(QIODevice::WriteOnly))
                text.write("not a picture\n");
            data.setUrls({QUrl::fromLocalFile(file)});
        }) << true << QStringLiteral("この ファイルは 画像として 読めません。")
                                       << QColor();
        QTest::newRow("web address only") << std::function<void(QMimeData&)>([](QMimeData& data) {
            data.setUrls({QUrl(QStringLiteral("https://example.org/dog.jpg"))});
        }) << false << QStringLiteral("画像が 入っていません。")
                                          << QColor();
        QTest::newRow("text only") << std::function<void(QMimeData&)>([](QMimeData& data) {
            data.setText(QStringLiteral("dog"));
        }) << false << QStringLiteral("画像が 入っていません。")
                                   << QColor();
    }
    void storesDroppedAndPastedData() {
        QFETCH(std::function<void(QMimeData&)>, fill);
        QFETCH(bool, storable);
        QFETCH(QString, error);
        QFETCH(QColor, colour);
        QMimeData data;
        fill(data);
        QCOMPARE(PictureImport::canStore(data), storable);
        const PictureImport::Result result = PictureImport::storeMimeData(data, deck_, Name);
        QCOMPARE(result.error, error);
        if (!error.isEmpty()) {
            QVERIFY(!QFile::exists(stored()));
            return;
        }
        QCOMPARE(result.size, QSize(588, 294));
        const QImage picture = storedPicture();
        QCOMPARE(picture.size(), QSize(588, 294));
        verifyColours(picture, {{0.5, 0.5, colour}});
    }

    void nullImageIsRefused() {
        const PictureImport::Result result = PictureImport::storeImage(QImage(), deck_, Name);
        QCOMPARE(result.error, QStringLiteral("画像が 入っていません。"));
        QVERIFY(!QFile::exists(stored()));
    }
};

QTEST_GUILESS_MAIN(TestPictureImport)
#include "tst_pictureimport.moc"
