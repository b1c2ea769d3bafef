#include "deckforms.h"

#include "mediapanels.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <levelcaption.h>

namespace {

QLineEdit* field(QWidget* parent, const QString& name, int maxLength = 255) {
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

// Shows text without reporting it as an edit. A field showing it already is left as it is: the
// window shows the rows again at any time (after each change, on activation), and the
// selection of a new group's name must survive that, so that typing replaces it.
void put(QLineEdit* edit, const QString& text) {
    if (edit->text() == text)
        return;
    edit->setText(text);
    edit->setCursorPosition(0);
}

QLabel* headingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

} // namespace

GroupForm::GroupForm(QWidget* parent)
    : QWidget(parent)
    , heading_(headingLabel(this))
    , title_(field(this, QStringLiteral("グループの名前")))
    , description_(field(this, QStringLiteral("グループの説明")))
    , picture_(new PicturePanel(CardPreview::Place::Group, this)) {
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("名前"), title_);
    fields->addRow(QStringLiteral("説明"), description_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(fields);
    layout->addWidget(picture_, 1);
    const auto report = [this] { emit textsEdited(title_->text(), description_->text()); };
    connect(title_, &QLineEdit::editingFinished, this, report);
    connect(description_, &QLineEdit::editingFinished, this, report);
}

void GroupForm::show(qint64 slot, const QString& title, const QString& description) {
    heading_->setText(QStringLiteral("グループ %1（メインメニューの %1 番目）").arg(slot));
    put(title_, title);
    put(description_, description);
}

SubGroupForm::SubGroupForm(QWidget* parent)
    : QWidget(parent)
    , heading_(headingLabel(this))
    , picture_(new PicturePanel(CardPreview::Place::SubGroup, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(picture_, 1);
}

void SubGroupForm::show(qint64 group, qint64 sgroup, int words) {
    heading_->setText(
        QStringLiteral("小グループ %1-%2（単語 %3個）").arg(group).arg(sgroup).arg(words));
}

WordForm::WordForm(QWidget* parent)
    : QWidget(parent)
    , word_(field(this, QStringLiteral("英語")))
    , meaning_(field(this, QStringLiteral("意味")))
    , text1_(field(this, QStringLiteral("絵をクリックしたときの文")))
    , text2_(field(this, QStringLiteral("番号の欄に出すコード"), 40))
    , grading_(new QLabel(this))
    , reset_(new QPushButton(QStringLiteral("もとに もどす"), this))
    , picture_(new PicturePanel(CardPreview::Place::WordCard, this))
    , voice_(new VoicePanel(this)) {
    reset_->setToolTip(QStringLiteral("選んだ単語を まだ見てない（レベル 0、0回）に もどします"));
    auto* grading = new QHBoxLayout;
    grading->addWidget(grading_, 1);
    grading->addWidget(reset_);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("英語"), word_);
    fields->addRow(QStringLiteral("意味"), meaning_);
    fields->addRow(QStringLiteral("絵をクリックしたときの文"), text1_);
    fields->addRow(QStringLiteral("番号の欄のコード"), text2_);
    fields->addRow(QStringLiteral("おぼえぐあい"), grading);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(picture_, 1);
    layout->addWidget(voice_);
    for (QLineEdit* edit : {word_, meaning_, text1_, text2_})
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (texts() != shown_)
                emit textsEdited(texts());
        });
    connect(reset_, &QPushButton::clicked, this, &WordForm::resetClicked);
}

void WordForm::show(const Texts& texts, qint64 level, qint64 times, int chosen) {
    shown_ = texts;
    put(word_, texts.word);
    put(meaning_, texts.meaning);
    put(text1_, texts.text1);
    put(text2_, texts.text2);
    QString grading =
        QStringLiteral("レベル %1（%2）、%3回").arg(level).arg(levelCaption(int(level))).arg(times);
    if (chosen > 1)
        grading += QStringLiteral("　― %1語を 選んでいます").arg(chosen);
    grading_->setText(grading);
    reset_->setText(chosen > 1 ? QStringLiteral("%1語を もとに もどす").arg(chosen)
                               : QStringLiteral("もとに もどす"));
}

WordForm::Texts WordForm::texts() const {
    return {word_->text(), meaning_->text(), text1_->text(), text2_->text()};
}
