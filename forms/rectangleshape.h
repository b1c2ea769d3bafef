#pragma once

#include <QColor>
#include <QWidget>
#include <optional>

// A filled rectangle behind a card: a thin frame while transparent, or filled with a colour.
class RectangleShape : public QWidget {
    Q_OBJECT
  public:
    explicit RectangleShape(QWidget* parent = nullptr);

    // nullopt: transparent.
    void setFill(std::optional<QColor> fill);
    std::optional<QColor> fill() const { return fill_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<QColor> fill_;
};
