#pragma once

#include <QLabel>

// A label whose text always fits its room (TextFit): one line, or whole word-wrapped lines.
// The full text stays readable to assistive technology as the label's name.
class FittedLabel : public QLabel {
    Q_OBJECT
  public:
    enum class Lines { One, Whole };

    explicit FittedLabel(QWidget* parent = nullptr, Lines lines = Lines::One);

    // The type the text is designed in; the shown type may be smaller.
    void setDesignFont(const QFont& font);
    // `kept` follows the text and never gives way (a count).
    void setFittedText(const QString& text, const QString& kept = {});
    // The width the text may take from the label's left edge, when it is not the label's own
    // (a neighbour covers part of it); 0 for the label's width.
    void setRoomWidth(int width);

    QString fullText() const { return text_ + kept_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void refit();

    Lines lines_;
    QFont design_;
    QString text_;
    QString kept_;
    int roomWidth_ = 0;
};
