#include "cardpreview.h"

#include "clickablelabel.h"
#include "fittedlabel.h"
#include "layout.h"
#include "picturebox.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace {

// The controls in design twips of the 1024 x 768 screen, from the screens' layout: the practice
// card (practice/pml0020_layout.cpp: the shape, its picture, the word labels over the picture's
// halves and the meaning label above the buttons) and the main menu's pictures
// (core's SubGroupPicture and MenuButton metrics, mainmenu/pml0010_layout.cpp).
struct DesignRect {
    double left, top, width, height;
};
constexpr QSizeF cardArea{3335, 2400};
constexpr DesignRect cardPicture{100, 105, 3135, 1815};
constexpr DesignRect cardWord{100, 105, 3135, 1815 / 2.0};
constexpr DesignRect cardPhrase{100, 105 + 1815 / 2.0, 3135, 1815 / 2.0};
constexpr DesignRect cardMeaning{100, 3000 - 375 - 600, 3135, 375};
constexpr DesignRect subGroupPicture{0, 0, 1080, 768};
constexpr DesignRect groupPicture{0, 0, 1350, 960};
constexpr DesignRect groupTitle{0, 960, 2235, 225};

// The design points of the texts.
constexpr double wordPoints = 18, phrasePoints = 12, meaningPoints = 9, titlePoints = 9;

// The screens' factor on a 1920 x 1080 screen (1080 / 768 rows).
constexpr double fullHdFactor = 1080.0 / 768.0;

QSizeF area(CardPreview::Place place) {
    switch (place) {
    case CardPreview::Place::WordCard:
        return cardArea;
    case CardPreview::Place::SubGroup:
        return {subGroupPicture.width, subGroupPicture.height};
    case CardPreview::Place::Group:
        return {groupTitle.width, groupTitle.top + groupTitle.height};
    }
    return {};
}

int pixels(double twips, double factor) {
    return static_cast<int>(std::lround(twips * factor / Layout::TwipsPerPixel));
}

// The card's labels in the face the practice designs them in.
void useCardFace(QWidget* widget) {
    QFont font = widget->font();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    widget->setFont(font);
}

ClickableLabel* whiteLabel(QWidget* parent, const QString& name) {
    auto* label = Layout::named(new ClickableLabel(parent), name);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    useCardFace(label);
    return label;
}

} // namespace

CardPreview::CardPreview(Place place, QWidget* parent)
    : QWidget(parent)
    , place_(place) {
    // Named as the screens name the controls they stand for.
    switch (place_) {
    case Place::WordCard:
        picture_ = Layout::named(new PictureBox(this), "Im_word");
        word_ = whiteLabel(this, QStringLiteral("LB_word"));
        phrase_ = whiteLabel(this, QStringLiteral("LB_meaning"));
        meaning_ = Layout::named(new QLabel(this), "LB_meanings");
        meaning_->setAlignment(Qt::AlignCenter);
        setWordSideUp(false);
        break;
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

void CardPreview::paintEvent(QPaintEvent*) {
    if (place_ != Place::WordCard)
        return;
    // The practice's card shape while it is not coloured by a grading.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(card_.adjusted(0, 0, -1, -1));
}

void CardPreview::placeControls() {
    // The screen factor that makes the whole area fit, centred.
    const QSizeF twips = area(place_);
    const double factor = std::max(
        1e-3, std::min(width() / twips.width(), height() / twips.height()) * Layout::TwipsPerPixel);
    const QSize shown(pixels(twips.width(), factor), pixels(twips.height(), factor));
    const QPoint origin((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    const auto put = [&](QWidget* widget, const DesignRect& rect) {
        const int left = pixels(rect.left, factor), top = pixels(rect.top, factor);
        widget->setGeometry(origin.x() + left, origin.y() + top,
                            pixels(rect.left + rect.width, factor) - left,
                            pixels(rect.top + rect.height, factor) - top);
    };
    switch (place_) {
    case Place::WordCard:
        card_ = QRect(origin, shown);
        put(picture_, cardPicture);
        put(word_, cardWord);
        put(phrase_, cardPhrase);
        put(meaning_, cardMeaning);
        Layout::setFontPoints(word_, wordPoints * factor);
        Layout::setFontPoints(phrase_, phrasePoints * factor);
        Layout::setFontPoints(meaning_, meaningPoints * factor);
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
