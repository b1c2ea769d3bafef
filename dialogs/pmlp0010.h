#pragma once

#include "clickablelabel.h"
#include "preferencedialog.h"

#include <QLabel>
#include <QPushButton>
#include <array>
#include <vector>

// The screen-colour dialog: six swatches for the colours of the main menu, the practice screen
// and the slide show. OK keeps the colours in the shared settings and in PML020.ini; Cancel and
// the close box discard them.
class PMLP0010 : public PreferenceDialog {
    Q_OBJECT
  public:
    // The swatches in the order of their working values.
    enum Swatch { MainBack, MainSelect, PracticeBack, PracticeOk, PracticeNg, SlideBack };
    static constexpr int SwatchCount = 6;

    PMLP0010();

    static qint32 defaultColour(Swatch swatch);
    // The colour a swatch holds now (a Windows colour number).
    qint32 workingValue(Swatch swatch) const { return values_.at(swatch); }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    ClickableLabel* Lb_main_fm;
    ClickableLabel* Lb_main_sh;
    ClickableLabel* Lb_rensyu_fm;
    ClickableLabel* Lb_rensyu_ok;
    ClickableLabel* Lb_rensyu_ng;
    ClickableLabel* Lb_sr_fm;
    QPushButton* BT_OK;
    QPushButton* BT_can;
    QPushButton* BT_def;

  public slots:
    void Lb_main_fm_Click() { chooseColour(MainBack); }
    void Lb_main_sh_Click() { chooseColour(MainSelect); }
    void Lb_rensyu_fm_Click() { chooseColour(PracticeBack); }
    void Lb_rensyu_ok_Click() { chooseColour(PracticeOk); }
    void Lb_rensyu_ng_Click() { chooseColour(PracticeNg); }
    void Lb_sr_fm_Click() { chooseColour(SlideBack); }
    void BT_def_Click();
    void BT_OK_Click();
    void BT_can_Click();

  private:
    void Form_Load();
    void chooseColour(Swatch swatch);
    void paintSwatch(Swatch swatch);
    ClickableLabel* swatch(Swatch swatch) const;
    static QString& sharedColour(Swatch swatch);

    std::array<qint32, SwatchCount> values_{};
};
