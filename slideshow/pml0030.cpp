#include "pml0030.h"

#include "background.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "screentexts.h"
#include "slideshowengine.h"
#include "voiceslider.h"

#include <QPushButton>

using namespace PMCM000;

PML0030::PML0030(QWidget* parent)
    : ScreenWindow(parent)
    , engine_({DataFilePath, DataFolder, SelectedLevel, LevelChosen, DialogOpen, SlideInterval,
               VoiceVolume, HeightFactor, WidthFactor},
              *this) {
    // Form_Load.
    setObjectName(QStringLiteral("PML0030"));
    setWindowTitle(FormCaption());
    createControls();
    placeControls();
    createMenus();
    connectControls();
    engine_.load();
    render();
}

PML0030::~PML0030() = default;

void PML0030::connectControls() {
    // The engine runs its own ticks first (it connected first); the screen then shows them.
    for (QTimer* timer : {&engine_.Timer1, &engine_.Timer2, &engine_.Timer3})
        connect(timer, &QTimer::timeout, this, &PML0030::render);

    for (int i = 0; i < static_cast<int>(BT_level.size()); ++i)
        connect(BT_level[i], &QPushButton::clicked, this, [this, i] { BT_level_Click(i); });
    const std::pair<QPushButton*, void (PML0030::*)()> buttons[] = {
        {BT_WAV, &PML0030::BT_WAV_Click},
        {BT_itiji, &PML0030::BT_itiji_Click},
        {BT_stop, &PML0030::BT_stop_Click},
        {BT_next, &PML0030::BT_next_Click},
        {BT_prev, &PML0030::BT_prev_Click},
        {BT_track_next, &PML0030::BT_track_next_Click},
        {BT_track_back, &PML0030::BT_track_back_Click},
        {Bt_repeat, &PML0030::Bt_repeat_Click},
        {BT_track, &PML0030::BT_track_Click},
        {BT_color, &PML0030::BT_color_Click},
        {BT_display, &PML0030::BT_display_Click},
        {BT_exit, &PML0030::BT_exit_Click},
        {BT_view, &PML0030::BT_view_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);
    connect(Slider1, &VoiceSlider::released, this, &PML0030::Slider1_MouseUp);
}

void PML0030::Form_Activate() {
    applyBackColour();
    engine_.activate();
    render();
}

void PML0030::applyBackColour() {
    // A colour text that is not a number leaves the colour as it was.
    if (const auto colour = Background::settingColour(SlideBackColor, client_->palette()))
        Background::paint(client_, *colour);
}

void PML0030::BT_level_Click(int index) {
    engine_.SelectLevel(index);
    render();
}

void PML0030::BT_WAV_Click() {
    engine_.play();
    render();
}

void PML0030::BT_itiji_Click() {
    engine_.pause();
    render();
}

void PML0030::BT_stop_Click() {
    engine_.StopShow();
    render();
}

void PML0030::BT_next_Click() {
    engine_.next();
    render();
}

void PML0030::BT_prev_Click() {
    engine_.previous();
    render();
}

void PML0030::BT_track_next_Click() {
    engine_.nextLevel();
    render();
}

void PML0030::BT_track_back_Click() {
    engine_.previousLevel();
    render();
}

void PML0030::Bt_repeat_Click() {
    engine_.toggleRepeat();
    render();
}

void PML0030::BT_track_Click() {
    engine_.toggleMode();
    render();
}

void PML0030::BT_color_Click() {
    engine_.cyclePanelColour();
    render();
}

void PML0030::BT_display_Click() {
    engine_.togglePanel();
    render();
}

void PML0030::Slider1_MouseUp() {
    if (Slider1)
        engine_.setVoiceVolume(Slider1->value());
}

void PML0030::Timer1_Timer() {
    engine_.Timer1_Timer();
    render();
}

void PML0030::Timer2_Timer() {
    engine_.Timer2_Timer();
    render();
}

void PML0030::Timer3_Timer() {
    engine_.Timer3_Timer();
    render();
}

void PML0030::BT_exit_Click() {
    leaveFor(Forms::Id::MainMenu);
}

void PML0030::BT_view_Click() {
    leaveFor(Forms::Id::Practice);
}

void PML0030::speakVoice(const QString& path, qint32 volume) {
    render();
    // The voice blocks the event loop, so the picture is painted before it starts.
    if (isVisible())
        client_->repaint();
    PlaySoundFile(path, SoundMode::AtVolumeWait, volume);
}

// Each message comes up over the screen as it is at that moment.
void PML0030::offerPractice(const QString& text) {
    render();
    const Prompter::Answer answer = platform().prompter->message(
        text, AppTitle, Prompter::Icon::Information, Prompter::Buttons::YesNo);
    if (answer == Prompter::Answer::Yes)
        leaveFor(Forms::Id::Practice);
}

void PML0030::firstCardReached() {
    render();
    platform().prompter->message(ShowTexts::FirstCard, AppTitle);
}

void PML0030::reportDataError(const QString& handler) {
    render();
    platform().prompter->message(ScreenTexts::WrongData, QStringLiteral("PML0030") + handler,
                                 Prompter::Icon::Critical);
}

void PML0030::beforeClose() {
    engine_.StopShow();
}
