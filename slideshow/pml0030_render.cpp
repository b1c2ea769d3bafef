// Copies the show engine's screen state onto the controls.
#include "fittedlabel.h"
#include "layout.h"
#include "picturebox.h"
#include "pml0030.h"
#include "slideshowengine.h"
#include "voiceslider.h"
#include "wincolor.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <cstdio>

namespace {
void apply(QWidget* widget, const ControlState& state) {
    widget->setEnabled(state.enabled);
    widget->setVisible(state.visible);
}

void setBackground(QWidget* widget, QPalette::ColorRole role, qint32 colour) {
    const QColor wanted = WinColor::toQColor(colour);
    if (widget->palette().color(role) == wanted)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, wanted);
    widget->setPalette(palette);
}
} // namespace

void PML0030::render() {
    const SlideShowScreen& screen = engine_.screen();
    for (size_t i = 0; i < BT_level.size(); ++i) {
        apply(BT_level[i], screen.BT_level[i]);
        setBackground(BT_level[i], QPalette::Button, screen.BT_level_colour[i]);
        Lb_level[i]->setText(screen.Lb_level[i]);
    }

    renderPicture(screen);

    // The slider is set only when the engine's value changes, never under the user's hand.
    if (screen.sliderValue != shownSliderValue_) {
        const QSignalBlocker quiet(Slider1); // not a volume the user chose
        Slider1->setValue(screen.sliderValue);
        shownSliderValue_ = screen.sliderValue;
    }
    apply(Slider1, screen.Slider1);

    const std::pair<QWidget*, const ControlState*> controls[] = {
        {BT_track_back, &screen.BT_track_back},
        {BT_prev, &screen.BT_prev},
        {BT_itiji, &screen.BT_itiji},
        {BT_stop, &screen.BT_stop},
        {BT_WAV, &screen.BT_WAV},
        {BT_next, &screen.BT_next},
        {BT_track_next, &screen.BT_track_next},
        {Bt_repeat, &screen.Bt_repeat},
        {BT_track, &screen.BT_track},
        {BT_color, &screen.BT_color},
        {BT_display, &screen.BT_display},
        {BT_view, &screen.BT_view},
        {SH_display, &screen.SH_display},
        {LB_track, &screen.LB_track},
        {LB_no, &screen.LB_no},
        {LB_play, &screen.LB_play},
        {LB_repeat, &screen.LB_repeat},
        {LB_mode, &screen.LB_mode},
    };
    for (const auto& [widget, state] : controls)
        apply(widget, *state);

    setBackground(SH_display, QPalette::Window, screen.panelColour);
    LB_track->setText(screen.trackText);
    LB_no->setFittedText(screen.counterText);
    LB_play->setText(screen.playText);
    LB_mode->setText(screen.modeText);
}

void PML0030::renderPicture(const SlideShowScreen& screen) {
    // Image1's rectangle is in twips of the scaled form.
    Image1->setGeometry(Layout::px(screen.imageLeft), Layout::px(screen.imageTop),
                        Layout::px(screen.imageWidth), Layout::px(screen.imageHeight));
    Image1->setPlaceholderText(screen.pictureText);
    // What the card shows, for assistive technology.
    Image1->setAccessibleName(screen.pictureText.isEmpty() ? QStringLiteral("カード")
                                                           : screen.pictureText);
    if (screen.picturePath != shownPicture_) {
        // A missing or unreadable picture shows the placeholder; the show goes on.
        if (!Image1->loadPicture(screen.picturePath) && !screen.picturePath.isEmpty())
            std::fprintf(stderr, "pimlotan: picture missing or unreadable: %s\n",
                         qPrintable(screen.picturePath));
        shownPicture_ = screen.picturePath;
    }
    apply(Image1, screen.Image1);
}
