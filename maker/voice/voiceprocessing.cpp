#include "voiceprocessing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace VoiceProcessing {

namespace {

// The kernel reaches this many zero crossings either side; with the Kaiser window below the
// stop band lies about 80 dB down and the transition is narrow enough to end at the lower
// Nyquist frequency.
constexpr int zeroCrossings = 32;
constexpr int tableSteps = 512; // per zero crossing, interpolated linearly
constexpr double kaiserBeta = 8.0;
// The pass band ends a little below the lower Nyquist frequency, leaving room for the filter's
// transition.
constexpr double passBand = 0.92;

// Thresholds are on the RMS of 10 ms frames. The floor lies above the hiss of a quiet room
// through a laptop microphone and well below speech at arm's length; the relative one keeps a
// soft "s" or "f" at the start of a loud word.
constexpr double frameSeconds = 0.010;
constexpr float noiseFloor = 0.01f;    // -40 dBFS
constexpr float relativeFloor = 0.01f; // -40 dB under the loudest frame
constexpr double leadSeconds = 0.050;
constexpr double tailSeconds = 0.100;
constexpr double fadeSeconds = 0.005;
const float peakTarget = float(std::pow(10.0, -1.0 / 20.0)); // -1 dBFS

double besselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 50 && term > 1e-12 * sum; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// The windowed sinc at 0, 1/tableSteps, ... zeroCrossings (in zero crossings), one more entry
// so that interpolation at the very end stays inside.
const std::vector<double>& kernelTable() {
    static const std::vector<double> table = [] {
        const int size = zeroCrossings * tableSteps + 2;
        std::vector<double> t(std::size_t(size), 0.0);
        const double norm = besselI0(kaiserBeta);
        for (int i = 0; i <= zeroCrossings * tableSteps; ++i) {
            const double x = double(i) / tableSteps;
            const double sinc =
                i == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
            const double r = x / zeroCrossings;
            t[std::size_t(i)] = sinc * besselI0(kaiserBeta * std::sqrt(1 - r * r)) / norm;
        }
        return t;
    }();
    return table;
}

std::vector<float> frameRms(const std::vector<float>& samples, std::size_t frame) {
    std::vector<float> rms;
    rms.reserve(samples.size() / frame + 1);
    for (std::size_t at = 0; at < samples.size(); at += frame) {
        const std::size_t end = std::min(samples.size(), at + frame);
        double sum = 0;
        for (std::size_t i = at; i < end; ++i)
            sum += double(samples[i]) * samples[i];
        rms.push_back(float(std::sqrt(sum / double(end - at))));
    }
    return rms;
}

} // namespace

std::vector<float> resample(const std::vector<float>& samples, int fromRate, int toRate) {
    if (fromRate == toRate || samples.empty() || fromRate <= 0 || toRate <= 0)
        return samples;
    const std::vector<double>& table = kernelTable();
    const double step = double(fromRate) / toRate; // input samples per output sample
    // The cut-off as a fraction of the input's Nyquist frequency.
    const double cutoff = passBand * std::min(1.0, double(toRate) / fromRate);
    const double reach = zeroCrossings / cutoff; // in input samples
    const auto inputSize = std::ptrdiff_t(samples.size());
    const auto outputSize = std::size_t(std::ceil(double(samples.size()) / step));
    std::vector<float> out(outputSize);
    for (std::size_t n = 0; n < outputSize; ++n) {
        const double t = double(n) * step;
        const auto first = std::max<std::ptrdiff_t>(0, std::ptrdiff_t(std::ceil(t - reach)));
        const auto last =
            std::min<std::ptrdiff_t>(inputSize - 1, std::ptrdiff_t(std::floor(t + reach)));
        double sum = 0;
        for (std::ptrdiff_t k = first; k <= last; ++k) {
            const double position = std::abs(t - double(k)) * cutoff * tableSteps;
            const auto index = std::size_t(position);
            if (index >= std::size_t(zeroCrossings * tableSteps))
                continue;
            const double fraction = position - double(index);
            const double h = table[index] + (table[index + 1] - table[index]) * fraction;
            sum += samples[std::size_t(k)] * h;
        }
        out[n] = float(sum * cutoff);
    }
    return out;
}

std::vector<float> trimSilence(const std::vector<float>& samples, int rate) {
    if (samples.empty() || rate <= 0)
        return {};
    const auto frame = std::max<std::size_t>(1, std::size_t(std::lround(rate * frameSeconds)));
    const std::vector<float> rms = frameRms(samples, frame);
    const float loudest = *std::max_element(rms.begin(), rms.end());
    if (loudest < noiseFloor)
        return {};
    const float threshold = std::max(noiseFloor, loudest * relativeFloor);
    const auto isSound = [threshold](float level) { return level >= threshold; };

    // The first and last loud frame, then the first and last loud sample in them.
    const std::size_t firstFrame =
        std::size_t(std::find_if(rms.begin(), rms.end(), isSound) - rms.begin());
    const std::size_t lastFrame =
        rms.size() - 1 -
        std::size_t(std::find_if(rms.rbegin(), rms.rend(), isSound) - rms.rbegin());
    // (Bounded by the frame: rounding can put a frame's RMS a hair above all its samples.)
    const std::size_t firstEnd = std::min(samples.size(), (firstFrame + 1) * frame);
    std::size_t onset = firstFrame * frame;
    while (onset + 1 < firstEnd && std::abs(samples[onset]) < threshold)
        ++onset;
    std::size_t offset = std::min(samples.size(), (lastFrame + 1) * frame) - 1;
    while (offset > lastFrame * frame && std::abs(samples[offset]) < threshold)
        --offset;

    const auto lead = std::size_t(std::lround(rate * leadSeconds));
    const auto tail = std::size_t(std::lround(rate * tailSeconds));
    const std::size_t begin = onset > lead ? onset - lead : 0;
    const std::size_t end = std::min(samples.size(), offset + 1 + tail);
    std::vector<float> out(samples.begin() + std::ptrdiff_t(begin),
                           samples.begin() + std::ptrdiff_t(end));

    // Fades only over the quiet margins, never into the sound itself.
    const auto fade = std::size_t(std::lround(rate * fadeSeconds));
    const std::size_t fadeIn = std::min(fade, onset - begin);
    for (std::size_t i = 0; i < fadeIn; ++i)
        out[i] *= float(i) / float(fadeIn);
    const std::size_t fadeOut = std::min(fade, end - offset - 1);
    for (std::size_t i = 0; i < fadeOut; ++i)
        out[out.size() - 1 - i] *= float(i) / float(fadeOut);
    return out;
}

void normalise(std::vector<float>& samples) {
    float peak = 0;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    if (peak <= 0)
        return;
    const float gain = peakTarget / peak;
    for (float& s : samples)
        s *= gain;
}

Voice prepare(std::vector<float> samples, int rate) {
    if (!samples.empty()) {
        // A microphone's constant offset would read as sound to the thresholds.
        const double mean =
            std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size());
        for (float& s : samples)
            s -= float(mean);
    }
    Voice voice;
    voice.samples = trimSilence(resample(samples, rate, Voice::rate), Voice::rate);
    if (voice.samples.empty())
        return Voice::failure(QStringLiteral("no voice heard"));
    normalise(voice.samples);
    return voice;
}

} // namespace VoiceProcessing
