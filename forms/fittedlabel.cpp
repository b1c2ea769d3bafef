#include "fittedlabel.h"

#include "textfit.h"

FittedLabel::FittedLabel(QWidget* parent, Lines lines)
    : QLabel(parent)
    , lines_(lines)
    , design_(font()) {
    // Lines are broken here, so that only whole ones are shown.
    setWordWrap(false);
}

void FittedLabel::setDesignFont(const QFont& font) {
    design_ = font;
    refit();
}

void FittedLabel::setFittedText(const QString& text, const QString& kept) {
    text_ = text;
    kept_ = kept;
    refit();
}

void FittedLabel::setRoomWidth(int width) {
    roomWidth_ = width;
    refit();
}

void FittedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refit();
}

void FittedLabel::refit() {
    const QRect room = contentsRect();
    const int width = roomWidth_ > 0 ? std::min(roomWidth_, room.width()) : room.width();
    const TextFit::Fitted fitted =
        lines_ == Lines::One ? TextFit::line(text_, design_, width, kept_)
                             : TextFit::lines(text_ + kept_, design_, QSize(width, room.height()));
    if (font() != fitted.font)
        setFont(fitted.font);
    setText(fitted.text);
    const QString whole = fullText();
    setAccessibleName(fitted.text == whole ? QString() : whole);
}
