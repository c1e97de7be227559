// spoken_calls.cpp: runs espeak-ng and tidies what it says into a short call without clicks.
#include "spoken_calls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "sound_synthesis.h"
#include "writers/wav_writer.h"

namespace {

// A firm British voice at a middle pitch (a deeper one turns to mush on small speakers), at
// the pace of conversation: slower speech blurs the "f" of "Fault" toward "fall".
constexpr const char* kVoiceOptions = "-v en-gb -s 155 -p 65 -a 160";

// Below this (of 32,768) the voice is taken as silence when trimming (about -50 dB).
constexpr float kSilenceLevel = 100.0f;

std::vector<uint8_t> runEspeak(const std::string& word) {
    const std::string command =
        "espeak-ng " + std::string(kVoiceOptions) + " --stdout \"" + word + "\" 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("make-data: cannot start espeak-ng (install it with "
                                 "scripts/install-deps)");
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const int status = pclose(pipe);
    if (status != 0 || bytes.empty())
        throw std::runtime_error("make-data: espeak-ng is missing or failed to speak \"" + word +
                                 "\" (install it with scripts/install-deps)");
    return bytes;
}

// The strengthened "f": noise in the band where the lips and teeth hiss, this long, ending a
// little into the vowel and as loud as the vowel less this many dB.
constexpr float kFricativeSeconds = 0.11f;
constexpr float kFricativeOverlap = 0.012f;
constexpr float kFricativeBelowVowelDb = 9.0f;
constexpr uint32_t kSeedFricative = 0xF0F0F0F1u;

// RMS of the loudest `window` samples.
float loudestRms(const Signal& signal, int window) {
    double sum = 0.0, loudest = 0.0;
    for (size_t i = 0; i < signal.size(); ++i) {
        sum += static_cast<double>(signal[i]) * signal[i];
        if (i >= static_cast<size_t>(window))
            sum -= static_cast<double>(signal[i - window]) * signal[i - window];
        loudest = std::max(loudest, sum);
    }
    return static_cast<float>(std::sqrt(loudest / window));
}

// Where voicing starts: the first moment the band below 1 kHz (the vowel's body; an "f" has
// almost nothing there) comes within 12 dB of its loudest.
size_t voicingStart(const Signal& voice) {
    Biquad body = makeLowPass(1000.0, 0.7);
    Signal low(voice.size());
    for (size_t i = 0; i < voice.size(); ++i)
        low[i] = std::fabs(runBiquad(body, voice[i]));
    float peak = 0.0f;
    for (float s : low)
        peak = std::max(peak, s);
    for (size_t i = 0; i < low.size(); ++i)
        if (low[i] >= peak * 0.25f)
            return i;
    return 0;
}

// Lays a hiss in front of the vowel: rising, held, then falling under the vowel's start.
Signal withStrongF(Signal voice) {
    NoiseSource noise = makeNoise(kSeedFricative);
    Signal hiss = noiseBurst(noise, 4500.0f, 0.9f, 0.0f, 1.0f, kFricativeSeconds);
    Biquad cut = makeHighPass(2000.0, 0.7);
    const int length = static_cast<int>(hiss.size());
    const int rise = samplesFor(0.035f);
    const int fall = samplesFor(kFricativeOverlap + 0.01f);
    for (int i = 0; i < length; ++i) {
        const float shape =
            std::min({1.0f, static_cast<float>(i) / rise, static_cast<float>(length - i) / fall});
        hiss[i] = runBiquad(cut, hiss[i]) * shape;
    }
    const float vowel = loudestRms(voice, samplesFor(0.02f));
    const float gain = vowel * std::pow(10.0f, -kFricativeBelowVowelDb / 20.0f) /
                       loudestRms(hiss, samplesFor(0.02f));
    const int end = static_cast<int>(voicingStart(voice)) + samplesFor(kFricativeOverlap);
    // The voice is moved later when its own "f" is shorter than the one laid in front.
    const int shift = std::max(0, length - end);
    Signal out = delayed(voice, static_cast<float>(shift) / kSampleRate);
    mixInto(out, hiss, end + shift - length, gain);
    return out;
}

bool startsWithF(const std::string& word) {
    return !word.empty() && (word[0] == 'f' || word[0] == 'F');
}

} // namespace

std::vector<int16_t> tidySpokenWord(const Signal& voice, double lufs) {
    size_t first = 0;
    while (first < voice.size() && std::fabs(voice[first]) < kSilenceLevel)
        ++first;
    size_t end = voice.size();
    while (end > first && std::fabs(voice[end - 1]) < kSilenceLevel)
        --end;
    // Keep a little air around the word so the fades touch only its quiet edges.
    const size_t pad = static_cast<size_t>(samplesFor(0.01f));
    first = first > pad ? first - pad : 0;
    end = std::min(voice.size(), end + pad);
    return finishSound(Signal(voice.begin() + first, voice.begin() + end), lufs, 0.005f, 0.02f);
}

std::vector<int16_t> speakCall(const std::string& word, double lufs) {
    WavPcm16 wav;
    if (!readWavPcm16(runEspeak(word), wav) || wav.sampleRate != kWavSampleRate ||
        wav.samples.empty())
        throw std::runtime_error("make-data: espeak-ng did not give 22,050 Hz 16-bit mono speech");
    Signal voice(wav.samples.begin(), wav.samples.end());
    if (startsWithF(word))
        voice = withStrongF(std::move(voice));
    return tidySpokenWord(voice, lufs);
}
