#pragma once

#include "levelcaption.h"
#include "showtexts.h"
#include "worddataformat.h"

#include <QString>
#include <array>

// What the slide-show screen shows, as the show engine leaves it: the form only copies this
// onto its controls. Fields are named after the controls they drive; the start values are the
// controls' design state.
struct ControlState {
    bool visible = true;
    bool enabled = true;
};

struct SlideShowScreen {
    template <typename T> static std::array<T, WordDataFormat::levelCount> filled(const T& value) {
        std::array<T, WordDataFormat::levelCount> values;
        values.fill(value);
        return values;
    }

    static constexpr int Levels = WordDataFormat::levelCount;
    std::array<ControlState, Levels> BT_level{};
    std::array<qint32, Levels> BT_level_colour = filled<qint32>(ShowTexts::LevelButtonColour);
    std::array<QString, Levels> Lb_level = filled(QStringLiteral("999"));

    // The card picture: its rectangle in twips (already clamped at 0), its file, and what it
    // shows when the file is missing (the word's meaning, or the word).
    ControlState Image1;
    int imageTop = 0;
    int imageLeft = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    QString picturePath;
    QString pictureText;

    ControlState Slider1;
    int sliderValue = 0;

    ControlState BT_track_back, BT_prev, BT_itiji, BT_stop, BT_WAV, BT_next, BT_track_next;
    ControlState Bt_repeat, BT_track, BT_color, BT_display, BT_view;

    // The information panel.
    ControlState SH_display, LB_track, LB_no, LB_play, LB_repeat, LB_mode;
    qint32 panelColour = ShowTexts::PanelGreen;
    QString trackText = levelCaption(0);
    QString counterText = QStringLiteral("9999/9999");
    QString playText = ShowTexts::Stopped;
    QString modeText = QStringLiteral("track");
};
