#include "voiceprocessing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

// Levels are the RMS of 10 ms frames. A take is heard when its loudest frame passes the floor,
// which lies above the hiss of a quiet room through a laptop microphone and well below speech
// at arm's length. Where sound begins and ends is then decided relative to the take: 40 dB
// under its loudest frame (which keeps the soft "g" of "goat" or the "f" of "fish"), but
// above the take's own noise, and never more than 20 dB under the loudest frame.
constexpr double frameSeconds = 0.010;
constexpr float noiseFloor = 0.01f;    // -40 dBFS
constexpr float relativeQuiet = 0.01f; // -40 dB
constexpr float relativeCap = 0.1f;    // -20 dB
constexpr float overNoise = 2.0f;      // +6 dB over the quietest tenth of the frames
// A sample counts as the first or last of the sound above this many times the noise's RMS,
// so that a noise peak in the same frame does not move the cut.
constexpr float noisePeak = 5.0f;
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

// The filter's weight for an input sample at distance (in input samples) from the position of
// an output sample.
double kernelAt(double distance, double cutoff) {
    const std::vector<double>& table = kernelTable();
    const double position = std::abs(distance) * cutoff * tableSteps;
    const auto index = std::size_t(position);
    if (index >= std::size_t(zeroCrossings * tableSteps))
        return 0;
    const double fraction = position - double(index);
    return cutoff * (table[index] + (table[index + 1] - table[index]) * fraction);
}

// Above this many weights the bank costs more memory than it saves time (odd rates only).
constexpr long long maximumBank = 1 << 20;

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
    // The cut-off as a fraction of the input's Nyquist frequency.
    const double cutoff = passBand * std::min(1.0, double(toRate) / fromRate);
    const int half = int(std::ceil(zeroCrossings / cutoff)); // the kernel's reach, in input samples
    const int taps = 2 * half;
    // Output sample n lies at input position n * down / up = base + phase / up; it reads the
    // taps input samples from base - half + 1 on.
    const long long common = std::gcd(fromRate, toRate);
    const long long up = toRate / common;
    const long long down = fromRate / common;
    const auto inputSize = (long long)samples.size();
    const auto outputSize = std::size_t((inputSize * up + down - 1) / down);

    // Zeros either side, so that every output sample reads a whole window.
    std::vector<float> padded(std::size_t(inputSize + taps), 0.0f);
    std::copy(samples.begin(), samples.end(), padded.begin() + half);
    const auto tapDistance = [half](double fraction, int tap) { return fraction + half - 1 - tap; };

    std::vector<float> out(outputSize);
    if (up * taps <= maximumBank) {
        // The usual rates (8 to 192 kHz against 22,050 Hz) repeat after a few hundred output
        // samples at most: one set of weights per phase, computed once.
        std::vector<float> bank(std::size_t(up * taps));
        for (long long phase = 0; phase < up; ++phase)
            for (int tap = 0; tap < taps; ++tap)
                bank[std::size_t(phase * taps + tap)] =
                    float(kernelAt(tapDistance(double(phase) / double(up), tap), cutoff));
        for (std::size_t n = 0; n < outputSize; ++n) {
            const long long at = (long long)n * down;
            const float* x = padded.data() + at / up + 1;
            const float* weight = bank.data() + (at % up) * taps;
            float sum = 0;
            for (int tap = 0; tap < taps; ++tap)
                sum += x[tap] * weight[tap];
            out[n] = sum;
        }
    } else {
        for (std::size_t n = 0; n < outputSize; ++n) {
            const long long at = (long long)n * down;
            const float* x = padded.data() + at / up + 1;
            const double fraction = double(at % up) / double(up);
            double sum = 0;
            for (int tap = 0; tap < taps; ++tap)
                sum += x[tap] * kernelAt(tapDistance(fraction, tap), cutoff);
            out[n] = float(sum);
        }
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
    std::vector<float> sorted = rms;
    const auto tenth = sorted.begin() + std::ptrdiff_t(sorted.size() / 10);
    std::nth_element(sorted.begin(), tenth, sorted.end());
    const float noise = *tenth;
    const float threshold =
        std::min(std::max(loudest * relativeQuiet, noise * overNoise), loudest * relativeCap);
    const float sampleThreshold =
        std::min(std::max(threshold, noise * noisePeak), loudest * relativeCap);
    const auto isSound = [threshold](float level) { return level >= threshold; };

    // The first and last loud frame, then the first and last loud sample in them.
    const std::size_t firstFrame =
        std::size_t(std::find_if(rms.begin(), rms.end(), isSound) - rms.begin());
    const std::size_t lastFrame =
        rms.size() - 1 -
        std::size_t(std::find_if(rms.rbegin(), rms.rend(), isSound) - rms.rbegin());
    // A loud frame has a sample at its RMS, but not always one over the noise's peaks (and
    // rounding can put the RMS a hair above every sample); then the frame's edge stands.
    const auto firstLoud = [&](std::size_t from, std::size_t to, float level) {
        const auto it = std::find_if(samples.begin() + std::ptrdiff_t(from),
                                     samples.begin() + std::ptrdiff_t(to),
                                     [level](float x) { return std::abs(x) >= level; });
        return std::size_t(it - samples.begin());
    };
    const auto lastLoud = [&](std::size_t from, std::size_t to, float level) {
        for (std::size_t i = to; i > from; --i)
            if (std::abs(samples[i - 1]) >= level)
                return i - 1;
        return to;
    };
    const std::size_t firstBegin = firstFrame * frame;
    const std::size_t firstEnd = std::min(samples.size(), firstBegin + frame);
    std::size_t onset = firstLoud(firstBegin, firstEnd, sampleThreshold);
    if (onset == firstEnd)
        onset = firstLoud(firstBegin, firstEnd, threshold);
    if (onset == firstEnd)
        onset = firstBegin;
    const std::size_t lastBegin = lastFrame * frame;
    const std::size_t lastEnd = std::min(samples.size(), lastBegin + frame);
    std::size_t offset = lastLoud(lastBegin, lastEnd, sampleThreshold);
    if (offset == lastEnd)
        offset = lastLoud(lastBegin, lastEnd, threshold);
    if (offset == lastEnd)
        offset = lastEnd - 1;

    const auto lead = std::size_t(std::lround(rate * leadSeconds));
    const auto tail = std::size_t(std::lround(rate * tailSeconds));
    const std::size_t begin = onset > lead ? onset - lead : 0;
    const std::size_t end = std::min(samples.size(), offset + 1 + tail);
    // Where the take had less quiet than that, silence makes up the rest: every voice then
    // starts and ends alike (the slide show's timing), and no sound starts on its first sample.
    const std::size_t padBefore = lead - (onset - begin);
    const std::size_t padAfter = tail - (end - offset - 1);
    std::vector<float> out(padBefore, 0.0f);
    out.reserve(padBefore + (end - begin) + padAfter);
    out.insert(out.end(), samples.begin() + std::ptrdiff_t(begin),
               samples.begin() + std::ptrdiff_t(end));
    out.resize(out.size() + padAfter, 0.0f);

    // Fades only over the quiet margins that the take had, never into the sound itself.
    const auto fade = std::size_t(std::lround(rate * fadeSeconds));
    const std::size_t fadeIn = std::min(fade, onset - begin);
    for (std::size_t i = 0; i < fadeIn; ++i)
        out[padBefore + i] *= float(i) / float(fadeIn);
    const std::size_t fadeOut = std::min(fade, end - offset - 1);
    for (std::size_t i = 0; i < fadeOut; ++i)
        out[out.size() - padAfter - 1 - i] *= float(i) / float(fadeOut);
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

void removeOffset(std::vector<float>& samples, int rate) {
    if (samples.empty() || rate <= 0)
        return;
    // A one-pole high-pass at 20 Hz. Subtracting the mean instead would shift the digital
    // silence around synthesised speech by the speech's own slight asymmetry.
    const double pole = 1 - 2 * std::numbers::pi * 20 / rate;
    double previousIn = samples.front(); // no step at the start for a constant offset
    double previousOut = 0;
    for (float& s : samples) {
        const double out = s - previousIn + pole * previousOut;
        previousIn = s;
        previousOut = out;
        s = float(out);
    }
}

Voice prepare(std::vector<float> samples, int rate) {
    removeOffset(samples, rate);
    Voice voice;
    voice.samples = trimSilence(resample(samples, rate, Voice::rate), Voice::rate);
    if (voice.samples.empty())
        return Voice::failure(Voice::Reason::NoVoiceHeard, QStringLiteral("no voice heard"));
    normalise(voice.samples);
    return voice;
}

} // namespace VoiceProcessing
