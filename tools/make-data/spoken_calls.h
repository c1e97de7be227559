// spoken_calls.h: the umpire's calls, spoken by espeak-ng while the data is built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The word as 22,050 Hz 16-bit samples, trimmed to the voice and faded at both ends.
// Throws std::runtime_error, naming the missing program, when espeak-ng cannot be run: the
// build must fail rather than ship other sounds.
std::vector<int16_t> speakCall(const std::string& word);

// The trimming and fading alone, for any recorded voice.
std::vector<int16_t> tidySpokenWord(const std::vector<int16_t>& voice);
