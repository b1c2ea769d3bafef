#pragma once

#include <QLabel>

// A label that reports a click of the left mouse button released over it, as the colour
// swatches need.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
