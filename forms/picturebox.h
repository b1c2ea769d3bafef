#pragma once

#include "clickablelabel.h"

// A picture control: shows an image file at its size and reports clicks.
class PictureBox : public ClickableLabel {
    Q_OBJECT
  public:
    // How a file is decoded. FullSize: whole, and stretched to the box as it changes size (the
    // slide show's growing card). ShownSize: at the box's size when loaded, and kept while the
    // same file is asked for again, which is what keeps nine practice cards quick.
    enum class Decoding { FullSize, ShownSize };

    explicit PictureBox(QWidget* parent = nullptr, Decoding decoding = Decoding::FullSize);

    // Loads a picture file; false (and an empty picture) when it cannot be read.
    bool loadPicture(const QString& path);
    QString picturePath() const { return picturePath_; }

  private:
    Decoding decoding_;
    QString picturePath_;
};
