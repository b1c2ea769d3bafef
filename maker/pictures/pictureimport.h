#pragma once

#include <QSize>
#include <QString>
#include <slidecard.h>

class QImage;
class QMimeData;

// A deck's pictures are JPEG files images/NAME.jpg beside its .pml. The deck maker stores every
// picture it is given (a file, a pasted or dropped image) there at one size, so that each screen
// shows it sharp and no deck carries pictures larger than any screen needs.
namespace PictureImport {

// The largest place a picture is shown on a 1920 x 1080 screen: the slide show's card at the end
// of its growth. The practice cards (3135 x 1815 twips) and the main menu's pictures
// (1350 x 960 and 1080 x 768) are smaller.
inline constexpr QSize StoredBox = SlideCard::FullHdPixels;

// A picture of `source` pixels scaled to fit StoredBox with its proportions kept: down, or up
// for a small one. Never below 1 x 1.
QSize storedSize(QSize source);

struct Result {
    QString error; // for the window, in the program's Japanese; empty when stored
    QSize size;    // of the stored picture
    bool ok() const { return error.isEmpty(); }
};

// <deckFolder>/images/<name>.jpg, or empty when name is not a plain file name.
QString storedPath(const QString& deckFolder, const QString& name);

// Each stores a picture as storedPath(deckFolder, name), creating images/ when missing. The file
// is replaced whole: when anything fails, nothing is written and a picture already stored under
// that name stays as it was.
Result storeFile(const QString& file, const QString& deckFolder, const QString& name);
Result storeImage(const QImage& image, const QString& deckFolder, const QString& name);
// A drop or the clipboard: a local picture file, encoded image data (image/png, ...) or an
// image, in that order, since the file keeps the most (its orientation, its full size).
Result storeMimeData(const QMimeData& data, const QString& deckFolder, const QString& name);
// Whether storeMimeData may take the data (a drop is accepted).
bool canStore(const QMimeData& data);

} // namespace PictureImport
