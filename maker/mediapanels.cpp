#include "mediapanels.h"

#include "makertexts.h"
#include "suggestionchoices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

PicturePanel::PicturePanel(CardPreview::Place place, QWidget* parent)
    : QGroupBox(place == CardPreview::Place::WordCard ? MakerTexts::PictureInPractice
                                                      : MakerTexts::PictureInMenu,
                parent)
    , preview_(new CardPreview(place, this))
    , file_(new QPushButton(MakerTexts::FromFile, this))
    , paste_(new QPushButton(MakerTexts::Paste, this))
    , choices_(new PictureChoices(this)) {
    setAcceptDrops(true);
    preview_->setMinimumSize(200, 120);
    file_->setAccessibleName(MakerTexts::PictureFromFile);
    paste_->setAccessibleName(MakerTexts::PastePicture);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(file_);
    buttons->addWidget(paste_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addWidget(choices_);
    layout->addLayout(buttons);
    auto* hint = new QLabel(MakerTexts::DropHint, this);
    hint->setEnabled(false);
    layout->addWidget(hint);
    connect(file_, &QPushButton::clicked, this, &PicturePanel::fileClicked);
    connect(paste_, &QPushButton::clicked, this, &PicturePanel::pasteClicked);
}

void PicturePanel::show(const QString& picturePath, const QString& word, const QString& meaning) {
    if (preview_->place() == CardPreview::Place::WordCard)
        preview_->setWord(word, meaning);
    else
        preview_->setTitle(word);
    if (picturePath.isEmpty())
        preview_->clearPicture();
    else
        preview_->setPictureFile(picturePath);
}

void PicturePanel::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasImage() || event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PicturePanel::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit dropped(*event->mimeData());
}

VoicePanel::VoicePanel(QWidget* parent)
    : QGroupBox(MakerTexts::VoiceBox, parent)
    , record_(new QPushButton(MakerTexts::Record, this))
    , speak_(new QPushButton(MakerTexts::Speak, this))
    , file_(new QPushButton(MakerTexts::FromFile, this))
    , play_(new QPushButton(MakerTexts::Play, this))
    , meter_(new QProgressBar(this))
    , status_(new QLabel(this)) {
    meter_->setRange(0, 100);
    meter_->setTextVisible(false);
    meter_->setMaximumHeight(12);
    meter_->setAccessibleName(MakerTexts::RecordingLevel);
    file_->setAccessibleName(MakerTexts::VoiceFromFile);
    status_->setWordWrap(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(record_, 0, 0);
    layout->addWidget(speak_, 0, 1);
    layout->addWidget(file_, 1, 0);
    layout->addWidget(play_, 1, 1);
    layout->addWidget(meter_, 2, 0, 1, 2);
    layout->addWidget(status_, 3, 0, 1, 2);
    connect(record_, &QPushButton::clicked, this, &VoicePanel::recordClicked);
    connect(speak_, &QPushButton::clicked, this, &VoicePanel::speakClicked);
    connect(file_, &QPushButton::clicked, this, &VoicePanel::fileClicked);
    connect(play_, &QPushButton::clicked, this, &VoicePanel::playClicked);
    updateButtons();
}

void VoicePanel::setStored(bool stored) {
    stored_ = stored;
    updateButtons();
}

void VoicePanel::setRecording(bool recording) {
    recording_ = recording;
    record_->setText(recording ? MakerTexts::Stop : MakerTexts::Record);
    if (!recording)
        meter_->setValue(0);
    updateButtons();
}

void VoicePanel::setBusy(bool busy) {
    busy_ = busy;
    updateButtons();
}

void VoicePanel::setLevel(double level) {
    meter_->setValue(int(std::clamp(level, 0.0, 1.0) * 100));
}

void VoicePanel::setStatus(const QString& text) {
    status_->setText(text);
}

void VoicePanel::updateButtons() {
    record_->setEnabled(!busy_);
    speak_->setEnabled(!busy_ && !recording_);
    file_->setEnabled(!busy_ && !recording_);
    play_->setEnabled(!busy_ && !recording_ && stored_);
}
