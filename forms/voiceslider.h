#pragma once

#include <QSlider>

// The voice-volume slider of the practice and the slide show: 0..65535, a tenth of it a page.
// It reports the volume when it is let go; a click on the groove or a key moves it without a
// drag, and counts as let go at once.
class VoiceSlider : public QSlider {
    Q_OBJECT
  public:
    explicit VoiceSlider(QWidget* parent = nullptr);

  signals:
    void released(int volume);
};
