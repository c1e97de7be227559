// sound_synthesis.h: the building blocks of the synthesised sound effects (noise, filters,
// envelopes) and the finishing that makes every sound start and end in silence at its loudness.
#pragma once

#include <cstdint>
#include <vector>

using Signal = std::vector<float>;

inline constexpr float kSampleRate = 22050.0f;

int samplesFor(float seconds);

// Deterministic white noise in -1..1 from a fixed seed, the same on every machine.
struct NoiseSource {
    uint32_t state;
};
NoiseSource makeNoise(uint32_t seed);
float nextNoise(NoiseSource& noise);
// Uniform in 0..1.
float nextUniform(NoiseSource& noise);

// Second-order band-pass (unity gain at the centre) and low-pass sections.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};
Biquad makeBandPass(double centreHz, double q);
Biquad makeLowPass(double cutoffHz, double q);
Biquad makeHighPass(double cutoffHz, double q);
float runBiquad(Biquad& filter, float x);
// New band-pass coefficients, keeping the filter's state (for sweeps without clicks).
void retuneBandPass(Biquad& filter, double centreHz, double q);

// e^(-t / tau) after a linear attack of the given length.
float attackDecay(float t, float attack, float tau);

// Adds `source` into `target` starting at sample `at`, scaled; `target` grows as needed.
void mixInto(Signal& target, const Signal& source, int at, float gain);

// A damped sine whose frequency glides exponentially from `startHz` to `endHz`.
Signal dampedSine(float startHz, float endHz, float glideTime, float tau, float seconds);
// Band-passed noise under an attack-decay envelope.
Signal noiseBurst(NoiseSource& noise, float centreHz, float q, float attack, float tau,
                  float seconds);

// High-passed noise under an attack-decay envelope: the broadband crack of a hard contact.
Signal noiseCrack(NoiseSource& noise, float cutoffHz, float attack, float tau, float seconds);

// Scaled so that the largest magnitude is `peak`.
Signal normalised(Signal signal, float peak);

// The same signal after `seconds` of silence, so a fade-in can lie wholly before an attack.
Signal delayed(const Signal& signal, float seconds);

// Fades in and out with raised cosines of the given lengths so neither end clicks, levels the
// loudest 100 ms to `lufs` (K-weighted, full scale 1.0) and rounds to 16-bit samples.
std::vector<int16_t> finishSound(Signal signal, double lufs, float fadeIn, float fadeOut);
