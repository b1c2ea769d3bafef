#include "voiceslider.h"

VoiceSlider::VoiceSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setAccessibleName(QStringLiteral("こえの おおきさ"));
    setRange(0, 65535);
    setPageStep(6554);
    setSingleStep(655);
    connect(this, &QSlider::sliderReleased, this, [this] { emit released(value()); });
    connect(this, &QSlider::valueChanged, this, [this](int volume) {
        if (!isSliderDown())
            emit released(volume);
    });
}
