#pragma once

#include <QPushButton>

// A push button whose caption breaks onto a second line when it is wider than the button, as
// the narrow design buttons need for captions such as "初期設定に戻す".
class WrapButton : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};
