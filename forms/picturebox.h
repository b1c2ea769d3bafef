#pragma once

#include "clickablelabel.h"

// A picture control: shows an image stretched to its size and reports clicks.
class PictureBox : public ClickableLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr)
        : ClickableLabel(parent) {
        setScaledContents(true);
    }

    // Loads a picture file; false (and an empty picture) when it cannot be read.
    bool loadPicture(const QString& path);
};
