// wav_image.h: the PCM samples of a WAV image in memory, for a device that takes raw samples.
#pragma once

#include <cstdint>
#include <vector>

struct WavImage {
    int frequency = 0;
    int channels = 0;
    // Every channel's samples interleaved, scaled to -1 .. 1.
    std::vector<float> samples;
};

// A RIFF "WAVE" image with a PCM "fmt " chunk of 8 or 16 bits per sample and one or two
// channels, and a "data" chunk; false for anything else, or a chunk that runs past the end.
bool readWavImage(const uint8_t* wav, uint32_t size, WavImage& image);
