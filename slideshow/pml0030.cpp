#include "pml0030.h"

#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "slideshowengine.h"
#include "wincolor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QSlider>

using namespace PMCM000;

PML0030::PML0030(QWidget* parent)
    : QMainWindow(parent)
    , ActivatableForm(this)
    , engine_(new SlideShowEngine(this)) {
    // Form_Load.
    setObjectName(QStringLiteral("PML0030"));
    LeavingByCommand = false;
    setWindowTitle(FormCaption());
    createControls();
    layOutControls();
    createMenu();
    connectControls();
    engine_->load();
}

PML0030::~PML0030() = default;

void PML0030::connectControls() {
    SlideShowEngine* engine = engine_;
    connect(engine, &SlideShowEngine::changed, this, &PML0030::render);
    connect(engine, &SlideShowEngine::aboutToSpeak, this, &PML0030::showCardNow);
    connect(engine, &SlideShowEngine::practiceOffered, this, &PML0030::offerPractice);
    connect(engine, &SlideShowEngine::firstCardReached, this, &PML0030::showFirstCardMessage);
    connect(engine, &SlideShowEngine::dataError, this, &PML0030::reportDataError);

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
    // The volume is taken when the mouse is let go, also after a click beside the handle.
    Slider1->installEventFilter(this);
}

bool PML0030::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Slider1 && event->type() == QEvent::MouseButtonRelease) {
        const bool handled = QMainWindow::eventFilter(watched, event);
        // The slider moves on the release itself; read it once that is done.
        QMetaObject::invokeMethod(this, &PML0030::Slider1_MouseUp, Qt::QueuedConnection);
        return handled;
    }
    return QMainWindow::eventFilter(watched, event);
}

void PML0030::Form_Activate() {
    applyBackColour();
    engine_->activate();
}

void PML0030::applyBackColour() {
    // A colour text that is not a number leaves the colour as it was.
    if (const auto colour = WinColor::parse(SlideBackColor)) {
        QPalette palette = client_->palette();
        palette.setColor(QPalette::Window, WinColor::toQColor(*colour, palette));
        client_->setPalette(palette);
    }
}

void PML0030::BT_level_Click(int index) {
    engine_->SelectLevel(index);
}

void PML0030::BT_WAV_Click() {
    engine_->play();
}

void PML0030::BT_itiji_Click() {
    engine_->pause();
}

void PML0030::BT_stop_Click() {
    engine_->StopShow();
}

void PML0030::BT_next_Click() {
    engine_->next();
}

void PML0030::BT_prev_Click() {
    engine_->previous();
}

void PML0030::BT_track_next_Click() {
    engine_->nextLevel();
}

void PML0030::BT_track_back_Click() {
    engine_->previousLevel();
}

void PML0030::Bt_repeat_Click() {
    engine_->toggleRepeat();
}

void PML0030::BT_track_Click() {
    engine_->toggleMode();
}

void PML0030::BT_color_Click() {
    engine_->cyclePanelColour();
}

void PML0030::BT_display_Click() {
    engine_->togglePanel();
}

void PML0030::Slider1_MouseUp() {
    if (Slider1)
        engine_->setVoiceVolume(Slider1->value());
}

void PML0030::BT_exit_Click() {
    leaveTo(Forms::Id::MainMenu);
}

void PML0030::BT_view_Click() {
    leaveTo(Forms::Id::Practice);
}

void PML0030::leaveTo(Forms::Id form) {
    LeavingByCommand = true;
    if (!Forms::show(form)) {
        // Without the other screen this one stays: closing it would leave no window at all.
        LeavingByCommand = false;
        return;
    }
    close();
}

void PML0030::offerPractice(const QString& text) {
    const Prompter::Answer answer = platform().prompter->message(
        text, AppTitle, Prompter::Icon::Information, Prompter::Buttons::YesNo);
    if (answer == Prompter::Answer::Yes)
        leaveTo(Forms::Id::Practice);
}

void PML0030::showFirstCardMessage() {
    platform().prompter->message(ShowTexts::FirstCard, AppTitle);
}

void PML0030::reportDataError(const QString& handler) {
    platform().prompter->message(ShowTexts::WrongData, QStringLiteral("PML0030") + handler,
                                 Prompter::Icon::Critical);
}

void PML0030::closeEvent(QCloseEvent* event) {
    engine_->StopShow();
    event->accept();
    if (!LeavingByCommand) {
        // The close box: every form is unloaded and the program ends.
        Forms::unloadAll();
        QApplication::quit();
    }
}
