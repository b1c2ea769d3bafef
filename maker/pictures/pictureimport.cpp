#include "pictureimport.h"

#include "mediapath.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QSaveFile>
#include <QUrl>
#include <cmath>
#include <makertexts.h>
#include <optional>

namespace PictureImport {
namespace {

// What one decoded picture may allocate, in MiB: a 32-megapixel photo decodes whole; a larger
// one only where its format decodes at a reduced size (JPEG, PNG, SVG), which also keeps the
// peak of an 8000 x 6000 picture small.
constexpr int DecodeLimitMiB = 128;
constexpr int JpegQuality = 90;

Result failed(const QString& error) {
    return {error, {}};
}

bool decodesWhole(const QSize& size) {
    return qint64(size.width()) * size.height() * 4 <= qint64(DecodeLimitMiB) * 1024 * 1024;
}

// What the screens can show: sRGB (phones embed wider colour spaces), the stored size, and no
// transparency (JPEG has none; the cards are white).
QImage prepared(QImage image) {
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    const QSize size = storedSize(image.size());
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage flat(size, QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

Result write(const QImage& picture, const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failed(MakerTexts::PictureNotSaved);
    // Written beside the target and renamed over it: a failure leaves the old picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(MakerTexts::PictureNotSaved);
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(JpegQuality);
    if (!writer.write(picture) || !file.commit())
        return failed(MakerTexts::PictureNotSaved);
    return {{}, picture.size()};
}

Result storeRead(QImageReader& reader, const QString& path) {
    reader.setDecideFormatFromContent(true); // a PNG named .jpg is still a picture
    reader.setAutoTransform(true);           // camera photos stand as they were taken
    reader.setAllocationLimit(DecodeLimitMiB);
    if (!reader.canRead())
        return failed(MakerTexts::PictureUnreadableFile);
    // The size is the stored one, before the photo is turned upright.
    const QSize stored = reader.size();
    bool reduced = false;
    if (stored.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize target = storedSize(turned ? stored.transposed() : stored);
        const bool vector = reader.format().startsWith("svg");
        if (vector || target.width() < (turned ? stored.height() : stored.width())) {
            reader.setScaledSize(turned ? target.transposed() : target);
            reduced = true;
        }
    }
    QImage image = reader.read();
    if (image.isNull())
        return failed(stored.isValid() && !reduced && !decodesWhole(stored)
                          ? MakerTexts::PictureTooLarge
                          : MakerTexts::PictureUnreadableFile);
    return write(prepared(std::move(image)), path);
}

} // namespace

QSize storedSize(QSize source) {
    if (source.isEmpty())
        return {};
    const double scale = std::min(double(StoredBox.width()) / source.width(),
                                  double(StoredBox.height()) / source.height());
    // A long thin picture keeps at least one pixel across.
    return {std::max(1, int(std::lround(source.width() * scale))),
            std::max(1, int(std::lround(source.height() * scale)))};
}

QString storedPath(const QString& deckFolder, const QString& name) {
    const QString file = MediaPath::pictureFile(name);
    return file.isEmpty() ? QString() : QDir(deckFolder).filePath(file);
}

Result storeFile(const QString& file, const QString& deckFolder, const QString& name) {
    const QString path = storedPath(deckFolder, name);
    if (path.isEmpty())
        return failed(MakerTexts::PictureBadName);
    if (!QFileInfo(file).isFile())
        return failed(MakerTexts::PictureFileMissing);
    QImageReader reader(file);
    return storeRead(reader, path);
}

Result storeImage(const QImage& image, const QString& deckFolder, const QString& name) {
    const QString path = storedPath(deckFolder, name);
    if (path.isEmpty())
        return failed(MakerTexts::PictureBadName);
    if (image.isNull())
        return failed(MakerTexts::NoPictureInData);
    return write(prepared(image), path);
}

Result storeMimeData(const QMimeData& data, const QString& deckFolder, const QString& name) {
    const QString path = storedPath(deckFolder, name);
    if (path.isEmpty())
        return failed(MakerTexts::PictureBadName);
    std::optional<Result> fromFile;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        fromFile = storeFile(url.toLocalFile(), deckFolder, name);
        if (fromFile->ok())
            return *fromFile;
        break; // one file was meant; its error is the answer unless image data follows
    }
    for (const QString& format : data.formats()) {
        if (!format.startsWith(QStringLiteral("image/")))
            continue;
        QByteArray bytes = data.data(format);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        if (const Result stored = storeRead(reader, path); stored.ok())
            return stored;
    }
    if (data.hasImage())
        return storeImage(qvariant_cast<QImage>(data.imageData()), deckFolder, name);
    return fromFile.value_or(failed(MakerTexts::NoPictureInData));
}

bool canStore(const QMimeData& data) {
    if (data.hasImage())
        return true;
    for (const QString& format : data.formats())
        if (format.startsWith(QStringLiteral("image/")))
            return true;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return true;
    return false;
}

} // namespace PictureImport
