#pragma once

#include "voice.h"

#include <vector>

// The steps that turn any take (a recording, speech, a chosen file) into a deck's Voice.
// Pure functions of their input.
namespace VoiceProcessing {

// Band-limited resampling (Kaiser-windowed sinc): downsampling filters out what the new rate
// cannot hold instead of folding it back as noise.
std::vector<float> resample(const std::vector<float>& samples, int fromRate, int toRate);

// The part from about 50 ms before the first sound to about 100 ms after the last, with short
// fades over the quiet edges so that the cut never clicks. Empty when nothing rises above the
// noise floor.
std::vector<float> trimSilence(const std::vector<float>& samples, int rate);

// Scales so that the highest peak stands at -1 dBFS; silence stays silence.
void normalise(std::vector<float>& samples);

// All of it: the offset removed, resampled to Voice::rate, trimmed and normalised, or the
// error "no voice heard".
Voice prepare(std::vector<float> samples, int rate);

} // namespace VoiceProcessing
