#include "deckforms.h"

#include "makertexts.h"
#include "mediapanels.h"
#include "suggestionchoices.h"

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
    , title_(field(this, MakerTexts::GroupTitleField))
    , description_(field(this, MakerTexts::GroupDescriptionField))
    , picture_(new PicturePanel(CardPreview::Place::Group, this)) {
    auto* fields = new QFormLayout;
    fields->addRow(MakerTexts::TitleLabel, title_);
    fields->addRow(MakerTexts::DescriptionLabel, description_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(fields);
    layout->addWidget(picture_, 1);
    const auto report = [this] { emit textsEdited(title_->text(), description_->text()); };
    connect(title_, &QLineEdit::editingFinished, this, report);
    connect(description_, &QLineEdit::editingFinished, this, report);
}

void GroupForm::show(qint64 slot, const QString& title, const QString& description) {
    heading_->setText(MakerTexts::GroupHeading.arg(slot));
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
    heading_->setText(MakerTexts::SubGroupHeading.arg(group).arg(sgroup).arg(words));
}

WordForm::WordForm(QWidget* parent)
    : QWidget(parent)
    , word_(field(this, MakerTexts::WordLabel))
    , meaning_(field(this, MakerTexts::MeaningLabel))
    , meaningChoices_(new MeaningChoices(this))
    , text1_(field(this, MakerTexts::PhraseLabel))
    , text2_(field(this, MakerTexts::CodeField, 40))
    , grading_(new QLabel(this))
    , reset_(new QPushButton(MakerTexts::ResetWord, this))
    , picture_(new PicturePanel(CardPreview::Place::WordCard, this))
    , voice_(new VoicePanel(this)) {
    reset_->setToolTip(MakerTexts::ResetTip);
    // The button on a line of its own: beside it, a long level caption would not fit the
    // form's fixed width.
    auto* grading = new QVBoxLayout;
    grading->addWidget(grading_);
    auto* reset = new QHBoxLayout;
    reset->addWidget(reset_);
    reset->addStretch();
    grading->addLayout(reset);
    auto* fields = new QFormLayout;
    fields->addRow(MakerTexts::WordLabel, word_);
    fields->addRow(MakerTexts::MeaningLabel, meaning_);
    fields->addRow(meaningChoices_); // the whole width: five readings side by side
    fields->addRow(MakerTexts::PhraseLabel, text1_);
    fields->addRow(MakerTexts::CodeLabel, text2_);
    fields->addRow(MakerTexts::GradingLabel, grading);
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
    connect(meaningChoices_, &MeaningChoices::chosen, this, &WordForm::chooseMeaning);
}

void WordForm::chooseMeaning(const QString& meaning) {
    meaning_->setText(meaning);
    if (texts() != shown_)
        emit textsEdited(texts());
}

void WordForm::show(const Texts& texts, qint64 level, qint64 times, int chosen) {
    shown_ = texts;
    put(word_, texts.word);
    put(meaning_, texts.meaning);
    put(text1_, texts.text1);
    put(text2_, texts.text2);
    QString grading = MakerTexts::Grading.arg(level).arg(levelCaption(int(level))).arg(times);
    if (chosen > 1)
        grading += MakerTexts::WordsChosen.arg(chosen);
    grading_->setText(grading);
    reset_->setText(chosen > 1 ? MakerTexts::ResetWords.arg(chosen) : MakerTexts::ResetWord);
}

WordForm::Texts WordForm::texts() const {
    return {word_->text(), meaning_->text(), text1_->text(), text2_->text()};
}
