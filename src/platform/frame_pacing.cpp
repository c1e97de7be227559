// frame_pacing.cpp: keeps the loop at the display's rate while frames change nothing on screen.
#include <SDL.h>

#include "platform/platform.h"

namespace {

// Unchanged frames are not presented, so vsync no longer holds the loop back; the clock does,
// at the rate a display would have shown them.
constexpr uint64_t kIdleFramesPerSecond = 60;

} // namespace

void platformSkipDraw(Platform* platform) {
    if (platform->headless)
        return;
    const uint64_t period = platform->clockFrequency / kIdleFramesPerSecond;
    const uint64_t now = SDL_GetPerformanceCounter();
    if (platform->lastPresent != 0 && now - platform->lastPresent < period) {
        const uint64_t wait = period - (now - platform->lastPresent);
        SDL_Delay(static_cast<uint32_t>(wait * 1000 / platform->clockFrequency));
    }
    platform->lastPresent = SDL_GetPerformanceCounter();
}
