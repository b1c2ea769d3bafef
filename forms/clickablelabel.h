#pragma once

#include <QLabel>

// A label that reports a click: the left button pressed and released over it. A double click
// counts as one click, as on the original platform: its second press (the double-click event)
// starts nothing, so the release after it reports nothing.
//
// A picture that is missing or unreadable shows its placeholder text instead of nothing: a
// light frame with the word's meaning or the group's title in large type, so that a child
// still knows which card it is.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    // Shown while the label has neither a picture nor a text of its own.
    void setPlaceholderText(const QString& text);
    QString placeholderText() const { return placeholder_; }
    bool showsPlaceholder() const;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
    QString placeholder_;
};
