// The slide-show screen's controls and their places, from design twips and the screen scale.
#include "fittedlabel.h"
#include "layout.h"
#include "levelcaption.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0030.h"
#include "showtexts.h"
#include "svgicon.h"
#include "voiceslider.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace PMCM000;

namespace {
using Layout::indexedName;
using Layout::named;

// The designed fonts where they are installed, else the Noto faces of the same kind: the
// panel's counter needs a fixed pitch so that its padded numbers line up.
QFont designFont(const QFont& base, bool fixedPitch, bool bold, double points) {
    QFont font = base;
    if (fixedPitch)
        font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                          QStringLiteral("monospace")});
    else
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    font.setBold(bold);
    font.setPointSizeF(std::max(1.0, points));
    return font;
}

} // namespace

// A static library's resources are linked in only when asked for.
static void initResources() {
    Q_INIT_RESOURCE(slideshow);
}

void PML0030::createControls() {
    initResources();
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);

    for (int i = 0; i < static_cast<int>(BT_level.size()); ++i) {
        BT_level[i] = new QPushButton(levelCaption(i), client_);
        BT_level[i]->setObjectName(indexedName("BT_level", i));
        Lb_level[i] = new QLabel(QStringLiteral("999"), client_);
        Lb_level[i]->setObjectName(indexedName("Lb_level", i));
        Lb_level[i]->setAlignment(Qt::AlignCenter);
    }
    BT_exit = named(new QPushButton(client_), "BT_exit");
    BT_view = named(new QPushButton(client_), "BT_view");
    BT_exit->setAccessibleName(QStringLiteral("もどる"));
    BT_view->setAccessibleName(QStringLiteral("れんしゅう"));

    Image1 = named(new PictureBox(client_), "Image1");
    Image1->setAccessibleName(QStringLiteral("カード"));

    // The panel first, so that its labels lie on it.
    SH_display = named(new QFrame(client_), "SH_display");
    SH_display->setAutoFillBackground(true);
    LB_track = named(new QLabel(levelCaption(0), client_), "LB_track");
    LB_no = named(new FittedLabel(client_), "LB_no");
    LB_no->setFittedText(QStringLiteral("9999/9999"));
    LB_play = named(new QLabel(ShowTexts::Stopped, client_), "LB_play");
    LB_repeat = named(new QLabel(QStringLiteral("repeat"), client_), "LB_repeat");
    LB_mode = named(new QLabel(QStringLiteral("track"), client_), "LB_mode");

    auto button = [this](const char* name, const QString& caption) {
        return named(new QPushButton(caption, client_), name);
    };
    BT_track_back = button("BT_track_back", QStringLiteral("｜<<"));
    BT_prev = button("BT_prev", QStringLiteral("<<"));
    BT_itiji = button("BT_itiji", QStringLiteral("||"));
    BT_stop = button("BT_stop", QStringLiteral("■"));
    BT_WAV = button("BT_WAV", QStringLiteral("＞"));
    BT_next = button("BT_next", QStringLiteral(">>"));
    BT_track_next = button("BT_track_next", QStringLiteral(">>｜"));
    Bt_repeat = button("Bt_repeat", QStringLiteral("くりかえす"));
    BT_track = button("BT_track", QStringLiteral("もーど"));
    BT_color = button("BT_color", QStringLiteral("いろ"));
    BT_display = button("BT_display", QStringLiteral("ひょうじ"));

    Slider1 = named(new VoiceSlider(client_), "Slider1");
}

void PML0030::placeControls() {
    using Layout::place;
    using Layout::placeScaled;
    // The client area under the menu bar is exactly the form's inner coordinate range.
    client_->setFixedSize(Layout::px(FormScaleWidth), Layout::px(FormScaleHeight));

    const double levelLeft = 1950 * WidthFactor;
    const double countHeight = 255 * HeightFactor;
    for (int i = 0; i < static_cast<int>(BT_level.size()); ++i) {
        const double left = levelLeft + i * LevelButtonWidth;
        placeScaled(BT_level[i], LevelButtonHeight, LevelButtonWidth, 0, left);
        BT_level[i]->setFont(designFont(font(), false, false, FontSize9));
        placeScaled(Lb_level[i], countHeight, LevelButtonWidth, LevelButtonHeight, left);
        Layout::setFontPoints(Lb_level[i], FontSize9);
    }

    placeScaled(BT_exit, SquareButtonHeight, SquareButtonWidth, 705 * HeightFactor,
                284 * WidthFactor);
    placeScaled(BT_view, SquareButtonHeight, SquareButtonWidth, 705 * HeightFactor,
                1000 * WidthFactor);
    // The button icons were 32 x 32 pixels on the design screen.
    const int iconSide = Layout::pxV(32 * Layout::TwipsPerPixel);
    const qreal ratio = devicePixelRatioF();
    BT_exit->setIcon(svgIcon(ExitDoorIcon, iconSide, ratio));
    BT_view->setIcon(svgIcon(QStringLiteral(":/slideshow/flashcard.svg"), iconSide, ratio));
    for (QPushButton* b : {BT_exit, BT_view})
        b->setIconSize(QSize(iconSide, iconSide));

    place(Image1, 3630, 6270, 2955, 4215);

    place(SH_display, 990, 5500, 6940, 4830);
    place(LB_track, 310, 1600, 7000, 5175);
    place(LB_no, 570, 3165, 7290, 6500);
    place(LB_play, 570, 700, 7290, 8500);
    place(LB_repeat, 232, 654, 7290, 9500);
    place(LB_mode, 232, 654, 7500, 9500);
    LB_track->setFont(designFont(font(), true, true, FontSize12));
    LB_no->setDesignFont(designFont(font(), true, true, FontSize24));
    // A four-digit counter shrinks rather than run under the play state beside it.
    LB_no->setRoomWidth(LB_play->x() - LB_no->x());
    LB_play->setFont(designFont(font(), true, true, FontSize24));
    Layout::setFontPoints(LB_repeat, FontSize8);
    Layout::setFontPoints(LB_mode, FontSize8);

    double left = 5416 * WidthFactor;
    for (QPushButton* b :
         {BT_track_back, BT_prev, BT_itiji, BT_stop, BT_WAV, BT_next, BT_track_next}) {
        placeScaled(b, SmallButtonHeight, SmallButtonWidth, 7950 * HeightFactor, left);
        Layout::setFontPoints(b, FontSize9);
        left += SmallButtonWidth;
    }
    // The option buttons' size is ours: wide enough for "くりかえす" at 9 points.
    const double optionWidth = 1215 * WidthFactor;
    left = 5150 * WidthFactor;
    for (QPushButton* b : {Bt_repeat, BT_track, BT_color, BT_display}) {
        placeScaled(b, SmallButtonHeight, optionWidth, 8600 * HeightFactor, left);
        Layout::setFontPoints(b, FontSize9);
        left += optionWidth;
    }

    placeScaled(Slider1, SliderHeight, SliderWidth, 9645 * HeightFactor, 12000 * WidthFactor);
}
