// sound_measures.h: what a listener's ears and a loudness meter would say about a sound, as
// numbers: where its hit starts, how loud its loudest moment is, where its energy lies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The largest magnitude of the samples in [from, to).
int peakOf(const std::vector<int16_t>& samples, size_t from, size_t to);

// Seconds from the first sample to the first one at half the sound's peak magnitude: for a
// struck sound, the moment the hit is heard.
double onsetSeconds(const std::vector<int16_t>& samples, int sampleRate);

// Loudness (LUFS, relative to full scale) of the loudest 100 ms, K-weighted as loudness
// meters do; every window start is tried. Shorter sounds are measured whole.
double loudestMomentLufs(const std::vector<int16_t>& samples, int sampleRate);

// Share (0..1) of the sound's energy in frequencies above `hz`, from its whole spectrum.
double energyShareAbove(const std::vector<int16_t>& samples, int sampleRate, double hz);

// Seconds until the envelope (peak magnitude in 5 ms steps) last falls below a tenth (-20 dB)
// of its peak: how long the sound rings.
double ringSeconds(const std::vector<int16_t>& samples, int sampleRate);

// dB of full scale of the loudest 20 ms lying wholly between `fromSeconds` and `toSeconds`.
double loudestBurstDb(const std::vector<int16_t>& samples, int sampleRate, double fromSeconds,
                      double toSeconds);
