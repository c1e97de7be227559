// sound_synthesis.cpp: noise, filters and envelopes for the synthesised sound effects.
#include "sound_synthesis.h"

#include <algorithm>
#include <cmath>

#include "sound_loudness.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Raised cosine from 0 at i = 0 to 1 at i = length: no step and no kink at the ends.
float fadeGain(int i, int length) {
    return static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / length));
}

} // namespace

int samplesFor(float seconds) {
    return static_cast<int>(seconds * kSampleRate + 0.5f);
}

NoiseSource makeNoise(uint32_t seed) {
    return NoiseSource{seed ? seed : 1u};
}

float nextUniform(NoiseSource& noise) {
    // xorshift32: fixed arithmetic, so the bytes of data.pak do not depend on the C library.
    uint32_t x = noise.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    noise.state = x;
    return static_cast<float>(x >> 8) / 16777216.0f;
}

float nextNoise(NoiseSource& noise) {
    return nextUniform(noise) * 2.0f - 1.0f;
}

Biquad makeBandPass(double centreHz, double q) {
    const double w = 2.0 * kPi * centreHz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    return Biquad{alpha / a0, 0.0, -alpha / a0, -2.0 * std::cos(w) / a0, (1.0 - alpha) / a0};
}

Biquad makeLowPass(double cutoffHz, double q) {
    const double w = 2.0 * kPi * cutoffHz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    return Biquad{(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0,
                  (1.0 - alpha) / a0};
}

Biquad makeHighPass(double cutoffHz, double q) {
    const double w = 2.0 * kPi * cutoffHz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    return Biquad{(1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, -2.0 * c / a0,
                  (1.0 - alpha) / a0};
}

void retuneBandPass(Biquad& filter, double centreHz, double q) {
    const Biquad tuned = makeBandPass(centreHz, q);
    filter.b0 = tuned.b0;
    filter.b1 = tuned.b1;
    filter.b2 = tuned.b2;
    filter.a1 = tuned.a1;
    filter.a2 = tuned.a2;
}

float runBiquad(Biquad& f, float x) {
    const double y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return static_cast<float>(y);
}

float attackDecay(float t, float attack, float tau) {
    if (t < 0.0f)
        return 0.0f;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / tau);
}

void mixInto(Signal& target, const Signal& source, int at, float gain) {
    const size_t end = static_cast<size_t>(at) + source.size();
    if (target.size() < end)
        target.resize(end, 0.0f);
    for (size_t i = 0; i < source.size(); ++i)
        target[static_cast<size_t>(at) + i] += source[i] * gain;
}

Signal dampedSine(float startHz, float endHz, float glideTime, float tau, float seconds) {
    Signal out(samplesFor(seconds));
    double phase = 0.0;
    const double ratio = std::log(endHz / startHz);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const double glide = std::min(1.0, t / static_cast<double>(glideTime));
        const double hz = startHz * std::exp(ratio * glide);
        out[i] = static_cast<float>(std::sin(phase)) * attackDecay(t, 0.0005f, tau);
        phase += 2.0 * kPi * hz / kSampleRate;
    }
    return out;
}

Signal noiseBurst(NoiseSource& noise, float centreHz, float q, float attack, float tau,
                  float seconds) {
    Signal out(samplesFor(seconds));
    Biquad band = makeBandPass(centreHz, q);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        out[i] = runBiquad(band, nextNoise(noise)) * attackDecay(t, attack, tau);
    }
    return out;
}

Signal noiseCrack(NoiseSource& noise, float cutoffHz, float attack, float tau, float seconds) {
    Signal out(samplesFor(seconds));
    Biquad cut = makeHighPass(cutoffHz, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        out[i] = runBiquad(cut, nextNoise(noise)) * attackDecay(t, attack, tau);
    }
    return out;
}

Signal normalised(Signal signal, float peak) {
    float largest = 0.0f;
    for (float s : signal)
        largest = std::max(largest, std::fabs(s));
    if (largest > 0.0f)
        for (float& s : signal)
            s *= peak / largest;
    return signal;
}

Signal delayed(const Signal& signal, float seconds) {
    Signal out(samplesFor(seconds), 0.0f);
    out.insert(out.end(), signal.begin(), signal.end());
    return out;
}

std::vector<int16_t> finishSound(Signal signal, double lufs, float fadeIn, float fadeOut) {
    const int count = static_cast<int>(signal.size());
    const int in = std::min(samplesFor(fadeIn), count);
    const int out = std::min(samplesFor(fadeOut), count);
    for (int i = 0; i < in; ++i)
        signal[i] *= fadeGain(i, in);
    for (int i = 0; i < out; ++i)
        signal[count - 1 - i] *= fadeGain(i, out);
    // Leveled after fading, so the loudness of the finished sound is the one asked for.
    signal = leveledTo(signal, lufs);
    std::vector<int16_t> samples(signal.size());
    for (int i = 0; i < count; ++i)
        samples[i] =
            static_cast<int16_t>(std::clamp(std::round(signal[i] * 32767.0f), -32768.0f, 32767.0f));
    return samples;
}
