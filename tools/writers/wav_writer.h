// wav_writer.h: writes and reads the 16-bit PCM mono WAV images that the game's sounds are.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int kWavSampleRate = 22050;

// A whole RIFF file: "fmt " (PCM, one channel, 16 bits) and "data" with the samples.
std::vector<uint8_t> buildWav(const std::vector<int16_t>& samples, int sampleRate = kWavSampleRate);

struct WavPcm16 {
    int sampleRate = 0;
    std::vector<int16_t> samples;
};

// Reads a 16-bit PCM mono WAV image. A "data" chunk whose size reaches past the end (as in a
// stream written before its length was known) is cut at the end. False for anything else.
bool readWavPcm16(const std::vector<uint8_t>& bytes, WavPcm16& wav);
