// The main menu's controls and their places, from design twips and the screen scale.
#include "fittedlabel.h"
#include "layout.h"
#include "levelcaption.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "singleclick.h"

#include <QMenuBar>

using namespace PMCM000;

namespace {
using Layout::indexedName;
using Layout::named;

// The column headers: the level captions, but the main menu's own text for level 0.
QString levelHeader(int level) {
    return level == 0 ? QStringLiteral("まだ見てない") : levelCaption(level);
}
} // namespace

void Pml0010::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    for (int i = 0; i < Groups; ++i) {
        Sh_bar[i] = named(new QWidget(client), indexedName("Sh_bar", i));
        Sh_bar[i]->setAutoFillBackground(true);
        Im_big[i] = named(new PictureBox(client), indexedName("Im_big", i));
        connect(Im_big[i], &PictureBox::clicked, this, [this, i] { Im_big_Click(i); });
        Lb_groupno[i] = named(new FittedLabel(client), indexedName("Lb_groupno", i));
    }

    Fr_1 = named(new QGroupBox(client), QStringLiteral("Fr_1"));
    Fr_1->setAutoFillBackground(true);
    Lb_setumei =
        named(new FittedLabel(Fr_1, FittedLabel::Lines::Whole), QStringLiteral("Lb_setumei"));
    for (int r = 0; r < Rows; ++r) {
        Im_syo[r] = named(new PictureBox(Fr_1), indexedName("Im_syo", r));
        connect(Im_syo[r], &PictureBox::clicked, this, [this, r] { Im_syo_Click(r); });
        // clicked() comes from the user only; ticks set by the page display stay silent.
        Ch_syo[r] = named(new QCheckBox(Fr_1), indexedName("Ch_syo", r));
        connect(Ch_syo[r], &QCheckBox::clicked, this, [this, r] { Ch_syo_Click(r); });
        countDoubleClickAsOne(Ch_syo[r]); // one tick, one write
        Lb_sno[r] = named(new FittedLabel(Fr_1), indexedName("Lb_sno", r));
        for (int n = 0; n < Levels; ++n) {
            const QByteArray digit = QByteArray::number(n);
            Lb_level[n][r] = named(new QLabel(levelHeader(n), Fr_1),
                                   indexedName(QByteArray("Lb_level" + digit).constData(), r));
            Lb_lvkosu[n][r] = named(new QLabel(QStringLiteral("999個"), Fr_1),
                                    indexedName(QByteArray("Lb_lvkosu" + digit).constData(), r));
            Lb_level[n][r]->setAlignment(Qt::AlignCenter);
            Lb_lvkosu[n][r]->setAlignment(Qt::AlignCenter);
        }
    }

    auto button = [this](QWidget* parent, const char* name, const QString& caption,
                         void (Pml0010::*handler)()) {
        auto* b = named(new QPushButton(caption, parent), QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    Bt_up = button(Fr_1, "Bt_up", QStringLiteral("▲"), &Pml0010::Bt_up_Click);
    Bt_up1 = button(Fr_1, "Bt_up1", QStringLiteral("∧"), &Pml0010::Bt_up1_Click);
    Bt_down1 = button(Fr_1, "Bt_down1", QStringLiteral("∨"), &Pml0010::Bt_down1_Click);
    Bt_down = button(Fr_1, "Bt_down", QStringLiteral("▼"), &Pml0010::Bt_down_Click);
    Bt_rensyu =
        button(client, "Bt_rensyu", QStringLiteral("練習画面へ"), &Pml0010::Bt_rensyu_Click);
    Bt_sraid =
        button(client, "Bt_sraid", QStringLiteral("スライドショー"), &Pml0010::Bt_sraid_Click);
    Bt_syokika =
        button(client, "Bt_syokika", QStringLiteral("もとにもどす"), &Pml0010::Bt_syokika_Click);
}

void Pml0010::placeControls() {
    using Layout::px;
    // The client area under the menu bar is exactly the form's inner coordinate range.
    centralWidget()->setFixedSize(px(FormScaleWidth), px(FormScaleHeight));

    const QFont base = font();
    auto fontOf = [&base](double points) {
        QFont f = base;
        f.setPointSizeF(std::max(1.0, points));
        return f;
    };
    auto sized = [&fontOf](QWidget* widget, double points) { widget->setFont(fontOf(points)); };

    double top = 525 * HeightFactor;
    const double left = 450 * WidthFactor;
    for (int i = 0; i < Groups; ++i) {
        if (i > 0)
            top += MenuButtonHeight + 390; // the gap is not scaled
        Layout::placeScaled(Im_big[i], MenuButtonHeight, MenuButtonWidth, top, left);
        Layout::placeScaled(Lb_groupno[i], 225 * HeightFactor, 2235 * WidthFactor,
                            top + MenuButtonHeight, left);
        Lb_groupno[i]->setDesignFont(fontOf(FontSize9));
        Layout::placeScaled(Sh_bar[i], MenuButtonHeight, MenuButtonWidth, top,
                            left + MenuButtonWidth);
    }

    Layout::placeScaled(Fr_1, GroupFrameHeight, GroupFrameWidth, 105 * HeightFactor,
                        2835 * WidthFactor);
    sized(Fr_1, FontSize9);
    Layout::placeScaled(Lb_setumei, DescriptionHeight, DescriptionWidth, 270 * HeightFactor,
                        480 * WidthFactor);
    Lb_setumei->setDesignFont(fontOf(FontSize12));

    const double rowLeft = 1400 * WidthFactor;
    const double headerHeight = SubGroupPictureHeight / 2;
    double rowTop = 1050 * HeightFactor;
    for (int r = 0; r < Rows; ++r) {
        if (r > 0)
            rowTop += SubGroupPictureHeight + 160 * HeightFactor;
        Layout::placeScaled(Im_syo[r], SubGroupPictureHeight, SubGroupPictureWidth, rowTop,
                            rowLeft);
        Layout::placeScaled(Lb_sno[r], 225 * HeightFactor, 550 * WidthFactor, rowTop,
                            750 * WidthFactor);
        Lb_sno[r]->setDesignFont(fontOf(FontSize9));
        // The tick box sits just left of its picture, centred on it, below the number.
        const QSize tick = Ch_syo[r]->sizeHint();
        Ch_syo[r]->setGeometry(px(rowLeft) - tick.width() - 2,
                               px(rowTop + SubGroupPictureHeight / 2) - tick.height() / 2,
                               tick.width(), tick.height());
        double headerLeft = rowLeft + SubGroupPictureWidth;
        for (int n = 0; n < Levels; ++n) {
            Layout::placeScaled(Lb_level[n][r], headerHeight, SubGroupPictureWidth, rowTop,
                                headerLeft);
            Layout::placeScaled(Lb_lvkosu[n][r], headerHeight, SubGroupPictureWidth,
                                rowTop + headerHeight, headerLeft);
            sized(Lb_level[n][r], FontSize8);
            sized(Lb_lvkosu[n][r], FontSize8);
            headerLeft += SubGroupPictureWidth;
        }
        if (r == 0) {
            Layout::placeScaled(Bt_up, PageButtonHeight, PageButtonWidth, rowTop,
                                100 * WidthFactor);
            Layout::placeScaled(Bt_up1, PageButtonHeight, PageButtonWidth,
                                rowTop + PageButtonHeight, 100 * WidthFactor);
        }
        if (r == Rows - 1) {
            Layout::placeScaled(Bt_down1, PageButtonHeight, PageButtonWidth, rowTop,
                                100 * WidthFactor);
            Layout::placeScaled(Bt_down, PageButtonHeight, PageButtonWidth,
                                rowTop + PageButtonHeight, 100 * WidthFactor);
        }
    }
    for (QPushButton* b : {Bt_up, Bt_up1, Bt_down1, Bt_down})
        sized(b, FontSize9);

    const double actionLeft = 12390 * WidthFactor;
    const QRect groupRect[] = {Im_big[1]->geometry(), Im_big[2]->geometry(), Im_big[4]->geometry()};
    QPushButton* actions[] = {Bt_rensyu, Bt_sraid, Bt_syokika};
    for (int i = 0; i < 3; ++i) {
        actions[i]->setGeometry(px(actionLeft), groupRect[i].top(), px(MenuButtonWidth),
                                px(MenuButtonHeight));
        sized(actions[i], FontSize9);
    }
}
