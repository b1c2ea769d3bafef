#include "pml0020.h"

#include "forms.h"
#include "mediapath.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "screentexts.h"
#include "voiceslider.h"

using namespace PMCM000;
PML0020::PML0020(QWidget* parent, quint32 seed)
    : ScreenWindow(parent)
    , drill_({DataFilePath, SelectedLevel, LevelChosen, PracticeMode, DialogOpen}, *this, seed) {
    setObjectName(QStringLiteral("PML0020"));
    setWindowTitle(FormCaption());
    createControls();
    createMenus();
    placeControls();
    drill_.Form_Load();
    render();
}

PML0020::~PML0020() = default;

void PML0020::Form_Activate() {
    applyBackColour();
    // A dialog left open elsewhere must not keep the screen from being built the first time.
    if (!topRowShown_)
        DialogOpen = false;
    const bool rebuilding = !DialogOpen;
    if (rebuilding) {
        // Shown before the drill starts the chosen level, so that a message it ends in (no
        // words left) comes up over the whole screen.
        topRowShown_ = true;
        Slider1->setValue(VoiceVolume);
        shownPicture_.fill(QString()); // pictures put in place meanwhile are read
    }
    drill_.Form_Activate();
    render();
}

void PML0020::BT_level_Click(int index) {
    drill_.BT_level_Click(index);
    render();
}

void PML0020::BT_OK_Click(int index) {
    drill_.BT_OK_Click(index);
    render();
}

void PML0020::BT_NG_Click(int index) {
    drill_.BT_NG_Click(index);
    render();
}

void PML0020::BT_WAV_Click(int index) {
    if (!drill_.cardView(index).voiceButton)
        return;
    const QString voice = drill_.state().ScreenCards[index].voice;
    PlaySoundFile(MediaPath::findVoice(DataFolder, voice), SoundMode::AtVolume, VoiceVolume);
}

void PML0020::Im_word_Click(int index) {
    drill_.Im_word_Click(index);
    renderCard(index);
}

void PML0020::LB_word_Click(int index) {
    drill_.LB_word_Click(index);
    renderCard(index);
}

void PML0020::LB_meaning_Click(int index) {
    drill_.LB_word_Click(index);
    renderCard(index);
}

void PML0020::BT_next_Click() {
    drill_.BT_next_Click();
    render();
}

void PML0020::BT_mode_Click(int index) {
    drill_.BT_mode_Click(index);
    render();
}

void PML0020::BT_view_Click() {
    leaveFor(Forms::Id::SlideShow);
}

void PML0020::BT_exit_Click() {
    leaveFor(Forms::Id::MainMenu);
}

void PML0020::Slider1_MouseUp() {
    VoiceVolume = Slider1->value();
}

void PML0020::showMessage(PracticeDrill::Message message, const QString& handler) {
    render(); // the message comes up over the screen as it is at that moment
    Prompter& prompter = *platform().prompter;
    const QString handlerTitle = QStringLiteral("PML0020") + handler;
    switch (message) {
    case PracticeDrill::Message::LevelFinished:
        prompter.message(QStringLiteral("えらんだランクのれんしゅうがおわりました。"), ScreenTitle,
                         Prompter::Icon::Information);
        break;
    case PracticeDrill::Message::WrongData:
        prompter.message(ScreenTexts::WrongData, handlerTitle, Prompter::Icon::Warning);
        break;
    case PracticeDrill::Message::SaveFailed:
        prompter.message(ScreenTexts::NotSaved, handlerTitle, Prompter::Icon::Warning);
        break;
    }
}

void PML0020::playEffect(PracticeDrill::Effect effect) {
    if (!EffectSoundsOn)
        return;
    if (effect == PracticeDrill::Effect::Ok)
        PlaySoundFile(OkSoundPath, SoundMode::AtVolume, OkSoundVolume);
    else
        PlaySoundFile(NgSoundPath, SoundMode::AtVolume, NgSoundVolume);
}
