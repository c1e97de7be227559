// frame_pacing.cpp: keeps the loop at the display's rate while frames change nothing on screen.
#include <SDL.h>

#include "platform/frame_pacing.h"
#include "platform/platform.h"

namespace {

// Unchanged frames are not presented, so vsync no longer holds the loop back; the clock does,
// at the rate a display would have shown them.
constexpr uint64_t kIdleFramesPerSecond = 60;

} // namespace

uint32_t idleWaitMilliseconds(uint64_t clockFrequency, uint64_t lastPresent, uint64_t now) {
    const uint64_t period = clockFrequency / kIdleFramesPerSecond;
    if (lastPresent == 0 || now - lastPresent >= period)
        return 0;
    const uint64_t wait = period - (now - lastPresent);
    return static_cast<uint32_t>(wait * 1000 / clockFrequency);
}

void platformSkipDraw(Platform* platform) {
    if (platform->headless)
        return;
    const uint32_t wait = idleWaitMilliseconds(platform->clockFrequency, platform->lastPresent,
                                               SDL_GetPerformanceCounter());
    if (wait > 0)
        SDL_Delay(wait);
    platform->lastPresent = SDL_GetPerformanceCounter();
}
