#pragma once

#include "preferencedialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVariant>
#include <array>

// The sound dialog: the volumes of the voices and of the OK and NG effect sounds, which of four
// sound files is the OK and which the NG sound, the mute switch and the slide show's hold time.
// Every control works on a copy of the shared settings; OK writes the copy back and saves
// PML030.ini and PML040.ini, Cancel and the close box throw it away.
class PMLP0020 : public PreferenceDialog {
    Q_OBJECT
  public:
    static constexpr int FileRows = 4;

    PMLP0020();

    // The working copy, for the screens' tests.
    qint32 voiceVolume() const { return voiceVolume_; }
    qint32 okVolume() const { return okVolume_; }
    qint32 ngVolume() const { return ngVolume_; }
    qint16 interval() const { return interval_; }
    QString soundFile(int row) const { return sounds_.at(static_cast<size_t>(row)); }
    // The sound a row index stands for: the list entry of that row.
    QString okSoundPath() const;
    QString ngSoundPath() const;

    QLabel* Lb_onsei;
    QSlider* Sl_onsei;
    QPushButton* Bt_sampleonsei;
    QLabel* Lb_ok;
    QSlider* Sl_ok;
    QPushButton* Bt_sampleok;
    QLabel* Lb_ng;
    QSlider* Sl_ng;
    QPushButton* Bt_sampleng;
    QLabel* Lb_distance;
    QLineEdit* Tx_kankak;
    QPushButton* Cm_up;
    QPushButton* Cm_down;
    QLabel* Lb_not;
    QCheckBox* Ck_okng;
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    std::array<QRadioButton*, FileRows> Op_ok{};
    std::array<QRadioButton*, FileRows> Op_ng{};
    std::array<QLineEdit*, FileRows> Tx_file{};
    std::array<QPushButton*, FileRows> Bt_sample{};
    QPushButton* Bt_2;
    QPushButton* Bt_3;
    QPushButton* BT_OK;
    QPushButton* BT_can;

  public slots:
    // The copies follow the sliders whenever their value changes (mouse, drag or keys), so the
    // volume that is tried and saved is always the one on screen.
    void Sl_onsei_Change(int value) { voiceVolume_ = value; }
    void Sl_ok_Change(int value) { okVolume_ = value; }
    void Sl_ng_Change(int value) { ngVolume_ = value; }
    void Cm_up_Click();
    void Cm_down_Click();
    void Op_ok_Click(int index) { okIndex_ = index; }
    void Op_ng_Click(int index) { ngIndex_ = index; }
    void Bt_2_Click() { chooseFile(2); }
    void Bt_3_Click() { chooseFile(3); }
    void Bt_sample_Click(int index);
    void Bt_sampleok_Click();
    void Bt_sampleng_Click();
    void Bt_sampleonsei_Click();
    void BT_OK_Click();
    void BT_can_Click();

  private:
    void createControls();
    void Form_Load();
    void placeControls();
    void chooseFile(int row);
    void showInterval();

    qint32 voiceVolume_ = 0;
    qint32 okVolume_ = 0;
    qint32 ngVolume_ = 0;
    std::array<QString, 6> sounds_;
    // As in the shared settings: the text read from the file until an option is chosen.
    QVariant okIndex_;
    QVariant ngIndex_;
    qint16 interval_ = 0;
};
