#include "synthesizedsound.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
constexpr int SampleRate = 22050;

struct Note {
    double startSeconds;
    double lengthSeconds;
    double hertz;
    double endHertz; // a glide when it differs from hertz
    double loudness; // 0..1
    double decay;    // per second; larger dies away faster
};

std::vector<Note> notesOf(SynthesizedSound sound) {
    switch (sound) {
    case SynthesizedSound::DefaultChime:
        return {{0.0, 0.30, 1318.5, 1318.5, 0.45, 9}, {0.12, 0.30, 1046.5, 1046.5, 0.45, 9}};
    case SynthesizedSound::Ok:
        return {{0.0, 0.20, 1046.5, 1046.5, 0.35, 12},
                {0.07, 0.20, 1318.5, 1318.5, 0.35, 12},
                {0.14, 0.35, 1568.0, 1568.0, 0.40, 8}};
    case SynthesizedSound::Ng:
        return {{0.0, 0.45, 233.1, 196.0, 0.55, 4}};
    }
    return {};
}

void appendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}
} // namespace

QByteArray synthesizeWav(SynthesizedSound sound) {
    const std::vector<Note> notes = notesOf(sound);
    double totalSeconds = 0;
    for (const Note& note : notes)
        totalSeconds = std::max(totalSeconds, note.startSeconds + note.lengthSeconds);
    std::vector<double> mix(static_cast<size_t>(totalSeconds * SampleRate) + 1, 0.0);

    for (const Note& note : notes) {
        const auto first = static_cast<size_t>(note.startSeconds * SampleRate);
        const auto count = static_cast<size_t>(note.lengthSeconds * SampleRate);
        double phase = 0;
        for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / SampleRate;
            const double progress = t / note.lengthSeconds;
            const double hertz = note.hertz + (note.endHertz - note.hertz) * progress;
            phase += 2 * std::numbers::pi * hertz / SampleRate;
            // A quick attack and a release at the end keep the sound free of clicks.
            const double attack = std::min(1.0, t / 0.005);
            const double release = std::min(1.0, (note.lengthSeconds - t) / 0.02);
            const double envelope = attack * release * std::exp(-note.decay * t);
            const double tone = std::sin(phase) + 0.25 * std::sin(2 * phase);
            mix[first + i] += note.loudness * envelope * tone / 1.25;
        }
    }

    QByteArray samples;
    samples.reserve(static_cast<qsizetype>(mix.size() * 2));
    for (const double value : mix) {
        const auto sample = static_cast<qint16>(std::lround(std::clamp(value, -1.0, 1.0) * 32767));
        appendLittleEndian(samples, static_cast<quint16>(sample), 2);
    }

    QByteArray wav("RIFF");
    appendLittleEndian(wav, static_cast<quint32>(36 + samples.size()), 4);
    wav += "WAVEfmt ";
    appendLittleEndian(wav, 16, 4); // format chunk size
    appendLittleEndian(wav, 1, 2);  // PCM
    appendLittleEndian(wav, 1, 2);  // mono
    appendLittleEndian(wav, SampleRate, 4);
    appendLittleEndian(wav, SampleRate * 2, 4); // bytes per second
    appendLittleEndian(wav, 2, 2);              // block align
    appendLittleEndian(wav, 16, 2);             // bits per sample
    wav += "data";
    appendLittleEndian(wav, static_cast<quint32>(samples.size()), 4);
    wav += samples;
    return wav;
}
