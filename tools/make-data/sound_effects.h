// sound_effects.h: the twelve sound effects of data.pak, synthesised or spoken at build time.
#pragma once

#include <cstdint>
#include <vector>

#include "writers/pak_writer.h"

// The WAV image of one `SoundId`.
std::vector<uint8_t> makeSoundEffect(int id);

// Adds all twelve under "D:\VELDAR\Data\Sounds\" with the game's file names.
void addSoundEffects(std::vector<PakWriterEntry>& entries);
