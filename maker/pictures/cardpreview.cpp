#include "cardpreview.h"

#include "clickablelabel.h"
#include "fittedlabel.h"
#include "layout.h"
#include "picturebox.h"
#include "rectangleshape.h"
#include "wordcard.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <cmath>

namespace {

// The controls in design twips of the 1024 x 768 screen: the practice's card (WordCard) and the
// main menu's pictures (core's SubGroupPicture and MenuButton metrics,
// mainmenu/pml0010_layout.cpp).
using DesignRect = QRectF;
constexpr QSizeF cardArea = WordCard::Shape;
constexpr DesignRect cardMeaning{WordCard::Picture.left(),
                                 WordCard::ButtonsTop - WordCard::MeaningHeight,
                                 WordCard::Picture.width(), WordCard::MeaningHeight};
constexpr DesignRect subGroupPicture{0, 0, 1080, 768};
constexpr DesignRect groupPicture{0, 0, 1350, 960};
constexpr DesignRect groupTitle{0, 960, 2235, 225};
constexpr double titlePoints = 9;

// The screens' factor on a 1920 x 1080 screen (1080 / 768 rows).
constexpr double fullHdFactor = 1080.0 / 768.0;

QSizeF area(CardPreview::Place place) {
    switch (place) {
    case CardPreview::Place::WordCard:
        return cardArea;
    case CardPreview::Place::SubGroup:
        return subGroupPicture.size();
    case CardPreview::Place::Group:
        return {groupTitle.width(), groupTitle.bottom()};
    }
    return {};
}

int pixels(double twips, double factor) {
    return static_cast<int>(std::lround(twips * factor / Layout::TwipsPerPixel));
}

} // namespace

CardPreview::CardPreview(Place place, QWidget* parent)
    : QWidget(parent)
    , place_(place) {
    // Named as the screens name the controls they stand for.
    switch (place_) {
    case Place::WordCard: {
        const WordCard::Parts card = WordCard::create(this, -1, PictureBox::Decoding::FullSize);
        shape_ = card.shape;
        picture_ = card.picture;
        word_ = card.word;
        phrase_ = card.phrase;
        meaning_ = card.meaning;
        setWordSideUp(false);
        break;
    }
    case Place::SubGroup:
        picture_ = Layout::named(new PictureBox(this), "Im_syo");
        break;
    case Place::Group:
        picture_ = Layout::named(new PictureBox(this), "Im_big");
        title_ = Layout::named(new FittedLabel(this), "Lb_groupno");
        break;
    }
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    placeControls();
}

bool CardPreview::setPictureFile(const QString& path) {
    // Read here, not by PictureBox::loadPicture: QPixmap::load caches by path, modification
    // second and size, so a picture just stored again under its name would show the old one.
    // The box stretches it as the screens do.
    const QImage image = path.isEmpty() ? QImage() : QImageReader(path).read();
    if (image.isNull()) {
        picture_->clear();
        return false;
    }
    setPicture(image);
    return true;
}

void CardPreview::setPicture(const QImage& image) {
    picture_->setPixmap(QPixmap::fromImage(image));
}

void CardPreview::clearPicture() {
    picture_->clear();
}

void CardPreview::setWord(const QString& word, const QString& meaning, const QString& phrase) {
    // As the practice: the meaning names a card without a picture, else the word.
    picture_->setPlaceholderText(meaning.isEmpty() ? word : meaning);
    picture_->setAccessibleName(meaning.isEmpty() ? word : meaning);
    if (place_ != Place::WordCard)
        return;
    word_->setText(word);
    phrase_->setText(phrase);
    meaning_->setText(meaning);
}

void CardPreview::setWordSideUp(bool up) {
    if (place_ != Place::WordCard)
        return;
    picture_->setVisible(!up);
    word_->setVisible(up);
    phrase_->setVisible(up);
}

void CardPreview::setTitle(const QString& title) {
    picture_->setPlaceholderText(title);
    picture_->setAccessibleName(title);
    if (title_)
        title_->setFittedText(title);
}

QSize CardPreview::sizeHint() const {
    const QSizeF twips = area(place_);
    return {pixels(twips.width(), fullHdFactor), pixels(twips.height(), fullHdFactor)};
}

int CardPreview::heightForWidth(int width) const {
    const QSizeF twips = area(place_);
    return static_cast<int>(std::lround(width * twips.height() / twips.width()));
}

void CardPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void CardPreview::placeControls() {
    // The screen factor that makes the whole area fit, centred.
    const QSizeF twips = area(place_);
    const double factor = std::max(
        1e-3, std::min(width() / twips.width(), height() / twips.height()) * Layout::TwipsPerPixel);
    const QSize shown(pixels(twips.width(), factor), pixels(twips.height(), factor));
    const QPoint origin((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    const auto put = [&](QWidget* widget, const DesignRect& rect) {
        const int left = pixels(rect.left(), factor), top = pixels(rect.top(), factor);
        widget->setGeometry(origin.x() + left, origin.y() + top,
                            pixels(rect.right(), factor) - left,
                            pixels(rect.bottom(), factor) - top);
    };
    switch (place_) {
    case Place::WordCard:
        put(shape_, {{0, 0}, WordCard::Shape});
        put(picture_, WordCard::Picture);
        put(word_, WordCard::Word);
        put(phrase_, WordCard::Phrase);
        put(meaning_, cardMeaning);
        Layout::setFontPoints(word_, WordCard::WordPoints * factor);
        Layout::setFontPoints(phrase_, WordCard::PhrasePoints * factor);
        Layout::setFontPoints(meaning_, WordCard::MeaningPoints * factor);
        break;
    case Place::SubGroup:
        put(picture_, subGroupPicture);
        break;
    case Place::Group: {
        put(picture_, groupPicture);
        put(title_, groupTitle);
        QFont font = title_->font();
        font.setPointSizeF(std::max(1.0, titlePoints * factor));
        title_->setDesignFont(font);
        break;
    }
    }
    update();
}
