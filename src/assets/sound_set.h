// sound_set.h: the twelve sound effects, loaded from the archive once and played by id.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/sound_ids.h"

struct PakArchive;
struct SoundOutput;

// The file names exactly as stored, spaces included ("golpe normal1.wav" has none).
extern const char16_t* const kSoundFileNames[kSoundCount];

struct SoundSet {
    uint8_t muted = 0;
    // Whole WAV images; an empty image is a sound that was not in the archive.
    std::vector<uint8_t> sounds[kSoundCount];
    SoundOutput* output = nullptr; // not owned
};

// Loads every sound it finds; a missing one leaves its slot empty. A sound that is there but not
// a usable WAV image raises "File data corrupt" naming it. The archive may be null (no sounds at
// all), the output too (nothing is heard).
SoundSet* makeSoundSet(PakArchive* archive, SoundOutput* output);
// RIFF/WAVE with one "fmt " chunk of PCM, one or two channels of 16 bits, before a "data" chunk
// of whole sample frames, every chunk inside the RIFF size and the RIFF size inside the image.
bool wavImageUsable(const uint8_t* bytes, uint32_t size);
void destroySoundSet(SoundSet* set);

// Starts the sound without waiting, cutting off the one playing; a missing sound only stops.
void playSound(SoundSet* set, int id);
void stopSound(SoundSet* set);
// A non-zero flag also stops the sound that is playing.
void setSoundMuted(SoundSet* set, uint8_t muted);
