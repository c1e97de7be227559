// sound_device.h: the audio device behind a non-headless SoundOutput: SDL's on the desktop,
// WebAudio in the browser build; one file of each is built.
#pragma once

#include <cstdint>

struct SoundOutput;

// Cuts off whatever the device plays.
void soundDeviceStop(SoundOutput* output);
// Starts the WAV image on the stopped device; false when it cannot be parsed or played.
bool soundDevicePlay(SoundOutput* output, const uint8_t* wav, uint32_t size);
void soundDeviceClose(SoundOutput* output);
