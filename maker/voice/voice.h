#pragma once

#include <QMetaType>
#include <QString>
#include <vector>
#include <voicereason.h>

// A word's voice as a deck keeps it: mono samples in -1..1 at 22,050 Hz, quiet trimmed to
// about 50 ms before the first sound and 100 ms after the last, the peak at -1 dBFS. When
// there is none, reason says why, for the window to word, and error gives the detail (in
// English, for stderr).
struct Voice {
    static constexpr int rate = 22050;

    using Reason = VoiceReason;

    std::vector<float> samples;
    Reason reason = Reason::None;
    QString error;

    bool ok() const { return reason == Reason::None; }
    double seconds() const { return double(samples.size()) / rate; }
    static Voice failure(Reason reason, const QString& why);

    // A WAV file that a parent chose (any common PCM or float WAV), read and prepared.
    static Voice fromFile(const QString& path);
    // Writes the voice as 16-bit mono WAV at path (the deck's voice/NAME.wav), whole or not at
    // all, making the folder when it is missing. Returns the error, empty on success.
    QString save(const QString& path) const;
};

Q_DECLARE_METATYPE(Voice)
