#include "wordcard.h"

#include "clickablelabel.h"
#include "layout.h"
#include "rectangleshape.h"

#include <QLabel>

namespace WordCard {
namespace {

QString nameOf(const char* name, int index) {
    const QString base = QString::fromLatin1(name);
    return index < 0 ? base : Layout::indexedName(base, index);
}

ClickableLabel* whiteLabel(QWidget* parent, const QString& name) {
    auto* label = Layout::named(new ClickableLabel(parent), name);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    useFace(label);
    return label;
}

} // namespace

void useFace(QWidget* widget) {
    QFont font = widget->font();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    widget->setFont(font);
}

Parts create(QWidget* parent, int index, PictureBox::Decoding decoding) {
    Parts parts;
    parts.shape = Layout::named(new RectangleShape(parent), nameOf("Sh_word", index));
    parts.picture = Layout::named(new PictureBox(parent, decoding), nameOf("Im_word", index));
    parts.word = whiteLabel(parent, nameOf("LB_word", index));
    parts.phrase = whiteLabel(parent, nameOf("LB_meaning", index));
    parts.meaning = Layout::named(new QLabel(parent), nameOf("LB_meanings", index));
    parts.meaning->setAlignment(Qt::AlignCenter);
    return parts;
}

} // namespace WordCard
