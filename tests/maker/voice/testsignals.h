#pragma once

// Known signals for the voice tests: what went in is known exactly, so what the processing
// keeps can be measured against it.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace TestSignals {

inline double dbfs(double db) {
    return std::pow(10.0, db / 20.0);
}

inline std::vector<float> silence(double seconds, int rate) {
    return std::vector<float>(std::size_t(std::lround(seconds * rate)), 0.0f);
}

inline std::vector<float> tone(double seconds, int rate, double hertz, double peak) {
    std::vector<float> out(std::size_t(std::lround(seconds * rate)));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = float(peak * std::sin(2 * std::numbers::pi * hertz * double(i) / rate));
    return out;
}

// Gaussian noise of the given RMS, the same every run.
inline std::vector<float> noise(double seconds, int rate, double rms, unsigned seed = 7) {
    std::mt19937 generator(seed);
    std::normal_distribution<float> normal(0.0f, float(rms));
    std::vector<float> out(std::size_t(std::lround(seconds * rate)));
    for (float& s : out)
        s = normal(generator);
    return out;
}

inline std::vector<float> join(std::initializer_list<std::vector<float>> parts) {
    std::vector<float> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline std::vector<float> mixed(std::vector<float> a, const std::vector<float>& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        a[i] += b[i];
    return a;
}

inline float peak(const std::vector<float>& samples) {
    float p = 0;
    for (const float s : samples)
        p = std::max(p, std::abs(s));
    return p;
}

// Seconds before the first sample at or above level.
inline double leadingQuiet(const std::vector<float>& samples, int rate, float level) {
    const auto it = std::find_if(samples.begin(), samples.end(),
                                 [level](float s) { return std::abs(s) >= level; });
    return double(it - samples.begin()) / rate;
}

// Seconds after the last sample at or above level.
inline double trailingQuiet(const std::vector<float>& samples, int rate, float level) {
    const auto it = std::find_if(samples.rbegin(), samples.rend(),
                                 [level](float s) { return std::abs(s) >= level; });
    return double(it - samples.rbegin()) / rate;
}

} // namespace TestSignals
