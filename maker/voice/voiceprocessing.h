#pragma once

#include "voice.h"

#include <vector>

// The steps that turn any take (a recording, speech, a chosen file) into a deck's Voice.
// Pure functions of their input.
namespace VoiceProcessing {

// Band-limited resampling (Kaiser-windowed sinc): downsampling filters out what the new rate
// cannot hold instead of folding it back as noise.
std::vector<float> resample(const std::vector<float>& samples, int fromRate, int toRate);

// The sound with 50 ms of quiet before it and 100 ms after it (the take's own quiet, faded at
// the cut so that it never clicks, made up with silence where the take had less). Empty when
// nothing rises above the noise floor.
std::vector<float> trimSilence(const std::vector<float>& samples, int rate);

// Removes a constant offset (a microphone's DC) and rumble under 20 Hz.
void removeOffset(std::vector<float>& samples, int rate);

// Scales so that the highest peak stands at -1 dBFS; silence stays silence.
void normalise(std::vector<float>& samples);

// All of it: the offset removed, resampled to Voice::rate, trimmed and normalised, or the
// error "no voice heard".
Voice prepare(std::vector<float> samples, int rate);

} // namespace VoiceProcessing
