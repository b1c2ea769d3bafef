#pragma once

#include "practicedrill.h"
#include "screenwindow.h"
#include "voiceslider.h"

#include <QRandomGenerator>
#include <array>

class ClickableLabel;
class PictureBox;
class FittedLabel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

class RectangleShape;
namespace Forms {
enum class Id;
}

// The practice screen: six level buttons with their counts, nine cards in a three-by-three
// grid, "Next ⇒", the order buttons, the way to the slide show and back to the main menu, the
// voice volume and the menus. The rules are PracticeDrill's; this form shows its state and
// forwards the clicks.
class PML0020 : public ScreenWindow, private PracticeDrill::Events {
    Q_OBJECT
  public:
    static constexpr int Cards = PracticeDrill::BatchSize;
    static constexpr int Levels = PracticeDrill::LevelCount;

    // Form_Load: lays the screen out and resets it. seed drives the shuffled order.
    explicit PML0020(QWidget* parent = nullptr,
                     quint32 seed = QRandomGenerator::global()->generate());
    ~PML0020() override;

    void Form_Activate() override;
    const PracticeDrill& drill() const { return drill_; }

    // Controls, named as the screen's design names them.
    std::array<QPushButton*, Levels> BT_level{};
    std::array<QLabel*, Levels> Lb_level{};
    std::array<RectangleShape*, Cards> Sh_word{};
    std::array<PictureBox*, Cards> Im_word{};
    std::array<ClickableLabel*, Cards> LB_word{};
    std::array<ClickableLabel*, Cards> LB_meaning{};
    std::array<QLabel*, Cards> LB_meanings{};
    std::array<QPushButton*, Cards> BT_OK{};
    std::array<QPushButton*, Cards> BT_NG{};
    std::array<QPushButton*, Cards> BT_WAV{};
    std::array<QLabel*, Cards> Lb_kaisu{};
    std::array<FittedLabel*, Cards> Lb_wno{};
    // Beside the counts while gradings cannot be written, so that a parent notices.
    QLabel* notSaved = nullptr;
    QPushButton* BT_next = nullptr;
    std::array<QPushButton*, 2> BT_mode{};
    QPushButton* BT_view = nullptr;
    QPushButton* BT_exit = nullptr;
    VoiceSlider* Slider1 = nullptr;

    QAction* Ver_Exit = nullptr;
    QMenu* Ver_settei = nullptr;
    QAction* Ver_col = nullptr;
    QAction* Ver_se = nullptr;
    QMenu* HELP = nullptr;
    QAction* Ver_help = nullptr;
    QAction* Ver_version = nullptr;

  public slots:
    void BT_level_Click(int index);
    void BT_OK_Click(int index);
    void BT_NG_Click(int index);
    void BT_WAV_Click(int index);
    void Im_word_Click(int index);
    void LB_word_Click(int index);
    void LB_meaning_Click(int index);
    void BT_next_Click();
    void BT_mode_Click(int index);
    void BT_view_Click();
    void BT_exit_Click();
    void Slider1_MouseUp();

    void Ver_Exit_Click();

  private:
    // PracticeDrill::Events
    void showMessage(PracticeDrill::Message message, const QString& handler) override;
    void playEffect(PracticeDrill::Effect effect) override;

    // pml0020_layout.cpp
    void createControls();
    void placeControls();
    // pml0020_menus.cpp
    void createMenus();
    // pml0020_render.cpp
    void render();
    void renderTopRow();
    void renderCard(int position);
    // The picture a card position shows (deck folder and name), so that a render after each
    // click looks a picture up only when the card's word changed: a missing picture is searched
    // for in the whole images folder, which costs milliseconds per card.
    std::array<QString, Cards> shownPicture_{};
    void applyBackColour();

    QWidget* client_ = nullptr;
    PracticeDrill drill_;
    bool topRowShown_ = false; // from the first activation on
};
