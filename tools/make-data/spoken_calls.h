// spoken_calls.h: the umpire's calls, spoken by espeak-ng while the data is built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound_synthesis.h"

// The word as 22,050 Hz 16-bit samples, trimmed to the voice, faded at both ends and leveled
// to `lufs` over its loudest 100 ms. A word that starts with an "f" gets a stronger "f" than
// the speech synthesiser gives it, which small speakers and a noisy room would lose.
// Throws std::runtime_error, naming the missing program, when espeak-ng cannot be run: the
// build must fail rather than ship other sounds.
std::vector<int16_t> speakCall(const std::string& word, double lufs);

// The trimming, fading and leveling alone, for any recorded voice (full scale 32,768).
std::vector<int16_t> tidySpokenWord(const Signal& voice, double lufs);
