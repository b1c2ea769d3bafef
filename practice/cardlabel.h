#pragma once

#include "clickablelabel.h"

// A label of a practice card that reports clicks: the card's picture (turned to the word side
// by a click) and its word labels (turned back).
class CardLabel : public ClickableLabel {
    Q_OBJECT
  public:
    explicit CardLabel(QWidget* parent = nullptr);

    // Shows the picture file stretched to the label's size; the placeholder text when the file
    // is missing or unreadable. Decodes at the shown size, which is what keeps nine cards quick.
    void showPicture(const QString& path);
    QString picturePath() const { return picturePath_; }

  private:
    QString picturePath_;
};
