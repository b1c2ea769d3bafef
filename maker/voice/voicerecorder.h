#pragma once

#include "voice.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <vector>

// Records one take from the default microphone through SDL's capture, never blocking the
// thread it lives on: a timer takes what SDL has queued about 40 times a second.
class VoiceRecorder : public QObject {
    Q_OBJECT

  public:
    explicit VoiceRecorder(QObject* parent = nullptr);
    ~VoiceRecorder() override;

    // Opens the microphone and listens. finished() follows: after stop(), after the longest
    // take, or (from the event loop, never inside this call) when there is no microphone.
    void start();
    // Ends the take; finished() follows at once with the prepared voice or "no voice heard".
    void stop();
    bool isRecording() const { return m_device != 0; }

    // A take stops by itself after this much sound (10 s unless set).
    void setMaximumSeconds(double seconds) { m_maximumSeconds = seconds; }

  signals:
    // The peak of the last 50 ms, 0..1, on every poll while recording.
    void levelChanged(double level);
    void finished(const Voice& voice);

  private:
    bool take(); // moves what SDL queued into m_samples; true when the take is full
    void poll();
    void finish();
    void close();

    std::uint32_t m_device = 0;
    int m_rate = 0;
    int m_channels = 0;
    double m_maximumSeconds = 10;
    std::vector<float> m_samples;
    QTimer m_timer;
};
