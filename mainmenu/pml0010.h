#pragma once

#include "activatableform.h"
#include "groupbrowser.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <array>
#include <functional>

class FittedLabel;
class PictureBox;

// The main menu: the big groups on the left, the chosen group's sub-groups seven to a page with
// their level counts, the marks that choose what to study, the reset and the ways out. It stays
// loaded for the whole run; closing it ends the program.
class Pml0010 : public QMainWindow, public ActivatableForm {
    Q_OBJECT
  public:
    static constexpr int Groups = WordDataFormat::lastGroup;
    static constexpr int Rows = GroupBrowser::RowsPerPage;
    static constexpr int Levels = GroupBrowser::LevelCount;

    // How ファイル → ひらく makes a deck the data file (the program hands in its deck choice,
    // which converts older decks: this library then does not link their reader); true when the
    // data file changed. Without one the item does nothing, as in the manual's pictures.
    using DeckChooser = std::function<bool(const QString& startFolder)>;
    explicit Pml0010(DeckChooser chooseDeck = {}, QWidget* parent = nullptr);

    void Form_Activate() override;

    void Im_big_Click(int index);
    void Im_syo_Click(int index);
    void Ch_syo_Click(int index);
    void Bt_up_Click();
    void Bt_down_Click();
    void Bt_up1_Click();
    void Bt_down1_Click();
    void Bt_syokika_Click();
    void Bt_rensyu_Click();
    void Bt_sraid_Click();
    void Ver_open_Click();
    void Ver_make_Click();
    void Ver_pro_Click();
    void Ver_end_Click();

    const GroupBrowser& browser() const { return browser_; }

    std::array<PictureBox*, Groups> Im_big{};
    std::array<FittedLabel*, Groups> Lb_groupno{};
    std::array<QWidget*, Groups> Sh_bar{};
    QGroupBox* Fr_1 = nullptr;
    FittedLabel* Lb_setumei = nullptr;
    std::array<PictureBox*, Rows> Im_syo{};
    std::array<QCheckBox*, Rows> Ch_syo{};
    std::array<FittedLabel*, Rows> Lb_sno{};
    // Lb_level[n][r] is Lb_level<n>(r): the header of level n in row r; Lb_lvkosu likewise.
    std::array<std::array<QLabel*, Rows>, Levels> Lb_level{};
    std::array<std::array<QLabel*, Rows>, Levels> Lb_lvkosu{};
    QPushButton* Bt_up = nullptr;
    QPushButton* Bt_down = nullptr;
    QPushButton* Bt_up1 = nullptr;
    QPushButton* Bt_down1 = nullptr;
    QPushButton* Bt_rensyu = nullptr;
    QPushButton* Bt_sraid = nullptr;
    QPushButton* Bt_syokika = nullptr;
    QAction* Ver_open = nullptr;
    QAction* Ver_make = nullptr;
    QAction* Ver_pro = nullptr;
    QAction* Ver_end = nullptr;
    QAction* Ver_col = nullptr;
    QAction* Ver_se = nullptr;
    QAction* Ver_help = nullptr;
    QAction* Ver_version = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // pml0010_layout.cpp
    void createControls();
    void placeControls();
    // pml0010_menus.cpp
    void createMenus();
    // pml0010_render.cpp
    void applyColours();
    void HideGroupColumn();
    void HideSubGroupArea();
    void HideRows();
    void PageDisplay();
    void ShowRowTallies(int row, const GroupBrowser::Row& content);
    void ShowActionButtons();

    void GroupClick(int index);
    void loadPicture(PictureBox* picture, const QString& name);
    // Runs a handler's work; a data error or refused write is reported under the handler's name.
    void guarded(const char* handler, const std::function<void()>& work);

    // Room left of and right of the frame's title, for the frame's own border.
    static constexpr int FrameTitleMargin = 24;

    DeckChooser chooseDeck_;
    GroupBrowser browser_;
    QString groupTitle_; // the chosen group's whole title; the frame may show it elided
    int SuppressFlag = 0;
    bool makerStarted_ = false; // the deck maker was started from here: the deck may change
};
