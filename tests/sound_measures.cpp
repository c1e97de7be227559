// sound_measures.cpp: onset, loudness and spectral balance of a sound, written from the
// definitions (the K-weighting from its analogue prototype, the spectrum from a plain FFT)
// rather than shared with the code that makes the sounds.
#include "sound_measures.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Section {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

double run(Section& s, double x) {
    const double y = s.b0 * x + s.b1 * s.x1 + s.b2 * s.x2 - s.a1 * s.y1 - s.a2 * s.y2;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

// The two stages of the K-weighting, the head's high shelf (+4 dB above about 1.7 kHz) and
// the low cut at 38 Hz, brought to the given rate by the bilinear transform.
Section headShelf(int rate) {
    const double k = std::tan(kPi * 1681.974450955533 / rate);
    const double q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Section lowCut(int rate) {
    const double k = std::tan(kPi * 38.13547087602444 / rate);
    const double q = 0.5003270373238773;
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * kPi / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

} // namespace

int peakOf(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

double onsetSeconds(const std::vector<int16_t>& samples, int sampleRate) {
    const int half = (peakOf(samples, 0, samples.size()) + 1) / 2;
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(static_cast<int>(samples[i])) >= half)
            return static_cast<double>(i) / sampleRate;
    return 0.0;
}

double loudestMomentLufs(const std::vector<int16_t>& samples, int sampleRate) {
    Section shelf = headShelf(sampleRate);
    Section cut = lowCut(sampleRate);
    std::vector<double> energy(samples.size() + 1, 0.0);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double y = run(cut, run(shelf, samples[i] / 32768.0));
        energy[i + 1] = energy[i] + y * y;
    }
    const size_t window = std::min(samples.size(), static_cast<size_t>(sampleRate / 10));
    double loudest = 0.0;
    for (size_t start = 0; start + window <= samples.size(); ++start)
        loudest = std::max(loudest, energy[start + window] - energy[start]);
    return -0.691 + 10.0 * std::log10(std::max(loudest / std::max<size_t>(window, 1), 1e-20));
}

double energyShareAbove(const std::vector<int16_t>& samples, int sampleRate, double hz) {
    size_t n = 1;
    while (n < samples.size())
        n <<= 1;
    std::vector<std::complex<double>> spectrum(n);
    for (size_t i = 0; i < samples.size(); ++i)
        spectrum[i] = samples[i];
    fft(spectrum);
    double total = 0.0, above = 0.0;
    for (size_t k = 1; k <= n / 2; ++k) {
        const double e = std::norm(spectrum[k]);
        total += e;
        if (static_cast<double>(k) * sampleRate / static_cast<double>(n) > hz)
            above += e;
    }
    return total > 0.0 ? above / total : 0.0;
}

double ringSeconds(const std::vector<int16_t>& samples, int sampleRate) {
    const int peak = peakOf(samples, 0, samples.size());
    const size_t step = static_cast<size_t>(sampleRate / 200);
    double last = 0.0;
    for (size_t from = 0; from < samples.size(); from += step) {
        int block = 0;
        for (size_t i = from; i < std::min(samples.size(), from + step); ++i)
            block = std::max(block, std::abs(static_cast<int>(samples[i])));
        if (block * 10 >= peak)
            last = static_cast<double>(from + step) / sampleRate;
    }
    return last;
}

double loudestBurstDb(const std::vector<int16_t>& samples, int sampleRate, double fromSeconds,
                      double toSeconds) {
    const size_t window = static_cast<size_t>(sampleRate / 50);
    const size_t from = static_cast<size_t>(std::max(0.0, fromSeconds) * sampleRate);
    const size_t to = std::min(samples.size(), static_cast<size_t>(toSeconds * sampleRate));
    double loudest = 0.0;
    for (size_t start = from; start + window <= to; ++start) {
        double sum = 0.0;
        for (size_t i = start; i < start + window; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        loudest = std::max(loudest, sum);
    }
    return 10.0 * std::log10(std::max(loudest / window, 1e-3) / (32768.0 * 32768.0));
}
