// sound_loudness.h: sets each sound's level by how loud it is heard (K-weighted, over its
// loudest 100 ms) rather than by its peak, with a soft limiter so no level asked for clips.
#pragma once

#include "sound_synthesis.h"

// Loudness in LUFS of the loudest 100 ms of a signal whose full scale is 1.0.
double loudestMomentLufs(const Signal& signal);

// Peaks above the knee are bent smoothly toward `ceiling`, which no output reaches.
Signal softLimited(Signal signal, float knee, float ceiling);

// Scaled (and limited where its peaks would pass the ceiling) so that its loudest 100 ms
// measure `lufs`. Throws when that would take more than a few dB of limiting: such a design
// needs more body, not more squashing.
Signal leveledTo(const Signal& signal, double lufs);
