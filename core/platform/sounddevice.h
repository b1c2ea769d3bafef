#pragma once

#include <QString>
#include <QtGlobal>

// The wave output: one volume word (low 16 bits left, high 16 bits right) and one voice.
class SoundDevice {
  public:
    virtual ~SoundDevice() = default;

    virtual void setVolume(quint32 word) = 0;
    virtual quint32 volume() const = 0;
    // Plays a WAV file; an unplayable file plays the built-in default sound. With wait = false a
    // sound still playing is replaced; with wait = true the call returns when the sound ends.
    virtual void play(const QString& path, bool wait) = 0;
};
