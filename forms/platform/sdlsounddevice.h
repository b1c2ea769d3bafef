#pragma once

#include "platform/sounddevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct Mix_Chunk;

// Sound through SDL2_mixer on one channel. The device is opened on the first play (opening it
// at start-up would delay the splash) and closed again when idle, since an open device is fed
// silence and costs CPU. Without a usable device it falls back to SDL's dummy driver, which
// keeps real durations, for that opening only; when even that fails every play is silent.
class SdlSoundDevice : public QObject, public SoundDevice {
    Q_OBJECT
  public:
    SdlSoundDevice();
    ~SdlSoundDevice() override;

    void setVolume(quint32 word) override { volumeWord_ = word; }
    quint32 volume() const override { return volumeWord_; }
    void play(const QString& path, bool wait) override;

    // Only a regular file up to this size is read; anything else plays the default sound.
    static constexpr qint64 MaxFileBytes = 50 * 1024 * 1024;
    static bool isPlayableFile(const QString& path);

    // Mix_Volume has 129 steps (0..128); 0..65535 maps onto them rounding to nearest.
    static int mixerVolume(quint32 word);

    // What the last play chose: the file, the default chime instead of a file that cannot be
    // read or decoded, or nothing (no device at all).
    enum class Source { Nothing, File, DefaultChime };
    Source lastSource() const { return lastSource_; }
    // A sound is still being played.
    bool playing() const;

  private:
    bool ensureOpen();
    void closeWhenIdle();
    void close();
    int durationMs(const Mix_Chunk* chunk) const;

    quint32 volumeWord_ = 0xFFFFFFFFu;
    Source lastSource_ = Source::Nothing;
    bool open_ = false;
    Mix_Chunk* chunk_ = nullptr;
    QByteArray defaultChime_;
    QTimer idleTimer_;
    QElapsedTimer sinceBusy_;
};
