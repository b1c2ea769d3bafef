#pragma once

#include <QWidget>

class ClickableLabel;
class FittedLabel;
class PictureBox;
class QImage;
class QLabel;
class RectangleShape;

// A deck's picture as a screen shows it, for the deck maker: a word card as the practice shows
// it (its picture side or, turned over, its word side, with the meaning under either), or a
// sub-group's or a group's picture as the main menu shows it. The screens stretch a picture to
// their box, so the preview keeps each box's proportions and scales the whole to its own size;
// its size hint is the size a 1920 x 1080 screen shows.
class CardPreview : public QWidget {
    Q_OBJECT
  public:
    enum class Place { WordCard, SubGroup, Group };

    explicit CardPreview(Place place, QWidget* parent = nullptr);

    Place place() const { return place_; }

    // A stored picture, read anew each time (it may just have been replaced). False, and the
    // placeholder shown, when it is missing or cannot be read.
    bool setPictureFile(const QString& path);
    // A picture that is not stored yet (dropped or pasted).
    void setPicture(const QImage& image);
    void clearPicture();

    // A word card's texts: the meaning is shown under the picture and in place of a missing
    // picture; the phrase (text1) under the word on its word side.
    void setWord(const QString& word, const QString& meaning, const QString& phrase = {});
    // The word side up instead of the picture, as a card turned over in the practice.
    void setWordSideUp(bool up);
    // A group's or sub-group's title: in place of a missing picture, and under a group's one.
    void setTitle(const QString& title);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeControls();

    Place place_;
    RectangleShape* shape_ = nullptr; // the word card's
    PictureBox* picture_ = nullptr;
    // The word card's labels.
    ClickableLabel* word_ = nullptr;
    ClickableLabel* phrase_ = nullptr;
    QLabel* meaning_ = nullptr;
    // The group's title under its picture.
    FittedLabel* title_ = nullptr;
};
