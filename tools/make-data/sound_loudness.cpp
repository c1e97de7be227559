// sound_loudness.cpp: K-weighted loudness of a sound's loudest moment, and leveling to it.
#include "sound_loudness.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Where a leveled sound's peaks start to be bent, and what they never reach (of full scale).
constexpr float kLimiterKnee = 0.75f;
constexpr float kLimiterCeiling = 0.97f;
// Peaks that would have to be pushed more than this far past the ceiling (6 dB) fail the build.
constexpr float kMostOvershoot = 2.0f;

// The K-weighting's two stages, from their analogue prototypes by the bilinear transform: a
// high shelf of +4 dB above about 1.7 kHz for the head, and a cut below 38 Hz.
Biquad headShelf() {
    const double k = std::tan(kPi * 1681.974450955533 / kSampleRate);
    const double q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return Biquad{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                  (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                  (1.0 - k / q + k * k) / a0};
}

Biquad lowCut() {
    const double k = std::tan(kPi * 38.13547087602444 / kSampleRate);
    const double q = 0.5003270373238773;
    const double a0 = 1.0 + k / q + k * k;
    return Biquad{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

float peakOf(const Signal& signal) {
    float peak = 0.0f;
    for (float s : signal)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

Signal scaled(Signal signal, double gain) {
    for (float& s : signal)
        s = static_cast<float>(s * gain);
    return signal;
}

} // namespace

double loudestMomentLufs(const Signal& signal) {
    Biquad shelf = headShelf();
    Biquad cut = lowCut();
    // Running sums of the weighted energy, so every 100 ms window costs one subtraction.
    std::vector<double> energy(signal.size() + 1, 0.0);
    for (size_t i = 0; i < signal.size(); ++i) {
        const double y = runBiquad(cut, runBiquad(shelf, signal[i]));
        energy[i + 1] = energy[i] + y * y;
    }
    const size_t window = std::min(signal.size(), static_cast<size_t>(samplesFor(0.1f)));
    double loudest = 0.0;
    for (size_t start = 0; start + window <= signal.size(); ++start)
        loudest = std::max(loudest, energy[start + window] - energy[start]);
    return -0.691 + 10.0 * std::log10(std::max(loudest / std::max<size_t>(window, 1), 1e-20));
}

Signal softLimited(Signal signal, float knee, float ceiling) {
    const float room = ceiling - knee;
    for (float& s : signal) {
        const float size = std::fabs(s);
        if (size > knee)
            s = std::copysign(knee + room * std::tanh((size - knee) / room), s);
    }
    return signal;
}

Signal leveledTo(const Signal& signal, double lufs) {
    double gain = std::pow(10.0, (lufs - loudestMomentLufs(signal)) / 20.0);
    // Limiting takes a little loudness away; a few rounds of making it up settle within 0.05 LU.
    Signal out;
    for (int round = 0; round < 8; ++round) {
        out = softLimited(scaled(signal, gain), kLimiterKnee, kLimiterCeiling);
        const double miss = lufs - loudestMomentLufs(out);
        if (std::fabs(miss) < 0.05)
            break;
        gain *= std::pow(10.0, miss / 20.0);
    }
    if (peakOf(signal) * gain > kLimiterCeiling * kMostOvershoot)
        throw std::runtime_error("make-data: a sound would need its peaks squashed by " +
                                 std::to_string(static_cast<int>(
                                     20.0 * std::log10(peakOf(signal) * gain / kLimiterCeiling))) +
                                 " dB to reach its loudness; give it more body");
    return out;
}
