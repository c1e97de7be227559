// spoken_calls.cpp: runs espeak-ng and tidies what it says into a short call without clicks.
#include "spoken_calls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "sound_synthesis.h"
#include "writers/wav_writer.h"

namespace {

// A firm, slightly low British voice, a little slower than conversation.
constexpr const char* kVoiceOptions = "-v en-gb -s 140 -p 38 -a 160";

// Below this the voice is taken as silence when trimming (about -50 dB).
constexpr int kSilenceLevel = 100;

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

} // namespace

std::vector<int16_t> tidySpokenWord(const std::vector<int16_t>& voice) {
    size_t first = 0;
    while (first < voice.size() && std::abs(voice[first]) < kSilenceLevel)
        ++first;
    size_t end = voice.size();
    while (end > first && std::abs(voice[end - 1]) < kSilenceLevel)
        --end;
    // Keep a little air around the word so the fades touch only its quiet edges.
    const size_t pad = static_cast<size_t>(samplesFor(0.01f));
    first = first > pad ? first - pad : 0;
    end = std::min(voice.size(), end + pad);
    Signal signal;
    for (size_t i = first; i < end; ++i)
        signal.push_back(static_cast<float>(voice[i]));
    return finishSound(signal, 0.85f, 0.005f, 0.02f);
}

std::vector<int16_t> speakCall(const std::string& word) {
    WavPcm16 wav;
    if (!readWavPcm16(runEspeak(word), wav) || wav.sampleRate != kWavSampleRate ||
        wav.samples.empty())
        throw std::runtime_error("make-data: espeak-ng did not give 22,050 Hz 16-bit mono speech");
    return tidySpokenWord(wav.samples);
}
