#pragma once

#include "screenwindow.h"
#include "slideshowengine.h"
#include "voiceslider.h"

#include <array>

class QAction;
class QFrame;
class QLabel;
class FittedLabel;
class PictureBox;
class QMenu;
class QPushButton;

// The slide-show screen. The show itself is SlideShowEngine; this form lays out the controls,
// forwards their events and renders the engine's screen state after each of them and after
// every tick; it speaks the voices, shows the messages and owns the menu and the ways of
// leaving the screen.
class PML0030 : public ScreenWindow, private SlideShowEngine::Events {
    Q_OBJECT
  public:
    explicit PML0030(QWidget* parent = nullptr);
    ~PML0030() override;

    void Form_Activate() override;
    SlideShowEngine& engine() { return engine_; }

    // Controls, named as on the screen.
    std::array<QPushButton*, WordDataFormat::levelCount> BT_level{};
    std::array<QLabel*, WordDataFormat::levelCount> Lb_level{};
    PictureBox* Image1 = nullptr;
    QFrame* SH_display = nullptr;
    QLabel* LB_track = nullptr;
    FittedLabel* LB_no = nullptr;
    QLabel* LB_play = nullptr;
    QLabel* LB_repeat = nullptr;
    QLabel* LB_mode = nullptr;
    QPushButton* BT_track_back = nullptr;
    QPushButton* BT_prev = nullptr;
    QPushButton* BT_itiji = nullptr;
    QPushButton* BT_stop = nullptr;
    QPushButton* BT_WAV = nullptr;
    QPushButton* BT_next = nullptr;
    QPushButton* BT_track_next = nullptr;
    QPushButton* Bt_repeat = nullptr;
    QPushButton* BT_track = nullptr;
    QPushButton* BT_color = nullptr;
    QPushButton* BT_display = nullptr;
    QPushButton* BT_exit = nullptr;
    QPushButton* BT_view = nullptr;
    VoiceSlider* Slider1 = nullptr;

    // Menu entries.
    QAction* Ver_Exit = nullptr;
    QMenu* Ver_settei = nullptr;
    QAction* Ver_col = nullptr;
    QAction* Ver_se = nullptr;
    QMenu* Help = nullptr;
    QAction* Ver_help = nullptr;
    QAction* Ver_version = nullptr;

    // Event handlers.
    void BT_level_Click(int index);
    void BT_WAV_Click();
    void BT_itiji_Click();
    void BT_stop_Click();
    void BT_next_Click();
    void BT_prev_Click();
    void BT_track_next_Click();
    void BT_track_back_Click();
    void Bt_repeat_Click();
    void BT_track_Click();
    void BT_color_Click();
    void BT_display_Click();
    void BT_exit_Click();
    void BT_view_Click();
    void Slider1_MouseUp();
    // The show's clock: one tick of the engine, then the screen shows it.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Ver_Exit_Click();

  protected:
    void beforeClose() override;

  private:
    void createControls(); // pml0030_layout.cpp
    void placeControls();  // pml0030_layout.cpp
    void createMenus();    // pml0030_menus.cpp
    void connectControls();
    void render(); // pml0030_render.cpp
    void renderPicture(const SlideShowScreen& screen);
    // SlideShowEngine::Events.
    void speakVoice(const QString& path, qint32 volume) override;
    void offerPractice(const QString& text) override;
    void firstCardReached() override;
    void reportDataError(const QString& handler) override;
    void applyBackColour();

    SlideShowEngine engine_;
    QWidget* client_ = nullptr;
    QString shownPicture_;
    int shownSliderValue_ = -1;
};
