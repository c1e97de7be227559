// sound_output.h: plays one WAV image from memory at a time, replacing what is playing.
#pragma once

#include <cstdint>
#include <vector>

struct SDL_AudioSpec;

// Two kinds, chosen when opened: the SDL audio device, or a headless recorder for tests and
// tools. Without an audio device the SDL kind stays silent and nothing fails.
struct SoundOutput {
    bool headless = true;
    // Headless: every request in order, the sound id for a play (even of a missing image) and
    // -1 for a stop.
    std::vector<int> requests;
    // The id of the sound that was last started and not stopped since, or -1.
    int playing = -1;
    // SDL: device 0 means no audio.
    uint32_t device = 0;
    int deviceFrequency = 0;
    uint16_t deviceFormat = 0;
    uint8_t deviceChannels = 0;
};

SoundOutput* soundOutputOpenHeadless();
SoundOutput* soundOutputOpenSdl();
void soundOutputClose(SoundOutput* output);

// Starts the WAV image (a whole RIFF file) without waiting; whatever played is cut off.
// A null image only stops. A WAV that cannot be parsed plays nothing.
void soundOutputPlay(SoundOutput* output, int id, const uint8_t* wav, uint32_t size);
void soundOutputStop(SoundOutput* output);
