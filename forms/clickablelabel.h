#pragma once

#include <QLabel>

// A label that reports a click: the left button pressed and released over it. A double click
// counts as one click, as on the original platform: its second press (the double-click event)
// starts nothing, so the release after it reports nothing.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};
