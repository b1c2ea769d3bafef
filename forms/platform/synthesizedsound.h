#pragma once

#include <QByteArray>

// Short sounds the program makes itself, as complete WAV files (16-bit mono PCM).
enum class SynthesizedSound {
    DefaultChime, // played instead of a sound file that cannot be found or decoded
    Ok,           // a bright short chime
    Ng,           // a soft low tone
};

QByteArray synthesizeWav(SynthesizedSound sound);
