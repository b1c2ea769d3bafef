#include "suggestionchoices.h"

#include "makertexts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <emojipicture.h>

namespace {

constexpr int IconSide = 40;

QIcon iconOf(const Suggestions::Picture& picture, const QString& imagesFolder) {
    if (!picture.emoji.isEmpty())
        return QIcon(QPixmap::fromImage(EmojiPicture::draw(picture.emoji, QSize(IconSide, IconSide),
                                                           EmojiPicture::softBackground(0))));
    QImageReader reader(QDir(imagesFolder).filePath(picture.deckPicture + QStringLiteral(".jpg")));
    reader.setScaledSize(reader.size().scaled(IconSide, IconSide, Qt::KeepAspectRatio));
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace

PictureChoices::PictureChoices(QWidget* parent)
    : QWidget(parent)
    , search_(new QLineEdit(this)) {
    search_->setPlaceholderText(MakerTexts::PictureSearch);
    search_->setAccessibleName(MakerTexts::PictureSearch);
    search_->setClearButtonEnabled(true);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (int i = 0; i < MaxShown; ++i) {
        auto* button = new QToolButton(this);
        button->setIconSize(QSize(IconSide, IconSide));
        button->setAutoRaise(true);
        button->setToolTip(MakerTexts::PictureChoiceTip);
        row->addWidget(button);
        buttons_ << button;
        connect(button, &QToolButton::clicked, this, [this, i] {
            if (i < shown_.size())
                emit chosen(shown_.at(i));
        });
    }
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(search_);
    connect(search_, &QLineEdit::textEdited, this, &PictureChoices::searchEdited);
    show({}, {});
}

void PictureChoices::show(const QList<Suggestions::Picture>& pictures,
                          const QString& imagesFolder) {
    shown_ = pictures.first(std::min<qsizetype>(pictures.size(), MaxShown));
    for (qsizetype i = 0; i < buttons_.size(); ++i) {
        QToolButton* button = buttons_.at(i);
        // A hidden button would let the row shrink and the others move under the mouse.
        button->setEnabled(i < shown_.size());
        button->setIcon(i < shown_.size() ? iconOf(shown_.at(i), imagesFolder) : QIcon());
        button->setAccessibleName(i >= shown_.size()             ? QString()
                                  : shown_.at(i).emoji.isEmpty() ? shown_.at(i).deckPicture
                                                                 : shown_.at(i).emoji);
    }
}

MeaningChoices::MeaningChoices(QWidget* parent)
    : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < MaxShown; ++i) {
        auto* button = new QPushButton(this);
        // Long readings are cut short, never widen the form.
        button->setMaximumWidth(76);
        row->addWidget(button);
        buttons_ << button;
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (i < shown_.size())
                emit chosen(shown_.at(i));
        });
    }
    row->addStretch();
    show({});
}

void MeaningChoices::show(const QStringList& meanings) {
    shown_ = meanings.first(std::min<qsizetype>(meanings.size(), MaxShown));
    for (qsizetype i = 0; i < buttons_.size(); ++i) {
        QPushButton* button = buttons_.at(i);
        const QString text = i < shown_.size() ? shown_.at(i) : QString();
        button->setText(button->fontMetrics().elidedText(text, Qt::ElideRight, 56));
        button->setAccessibleName(text);
        button->setToolTip(text.isEmpty() ? QString()
                                          : text + u'\n' + MakerTexts::MeaningChoiceTip);
        button->setVisible(i < shown_.size());
    }
}
