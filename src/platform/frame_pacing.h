// frame_pacing.h: how long the loop rests after a frame that changed nothing on screen.
#pragma once

#include <cstdint>

// The rest of the idle period since the last frame was presented, in whole milliseconds, for a
// clock of the given frequency: 0 when the period has passed or nothing was presented yet.
uint32_t idleWaitMilliseconds(uint64_t clockFrequency, uint64_t lastPresent, uint64_t now);
