// platform_headless.cpp: an in-memory display, scripted clock and injected events.
#include "platform/platform.h"

#include <cstddef>
#include <cstring>

namespace {

// Generous room on both sides of pixel (0, 0): the rotated path of the frame copy lands a
// few hundred bytes away from where the general formula would.
constexpr size_t kDisplayMargin = 1 << 20;

} // namespace

Platform* platformOpenHeadless(DisplayPitches pitches) {
    auto* platform = new Platform;
    platform->headless = true;
    platform->pitches = pitches;
    platform->displayBytes.assign(2 * kDisplayMargin, 0);
    platform->displayMemory = platform->displayBytes.data() + kDisplayMargin;
    return platform;
}

void platformInjectEvent(Platform* platform, const PlatformEvent& event) {
    platform->events.push_back(event);
}

uint16_t platformDisplayPixel(const Platform* platform, int x, int y) {
    const ptrdiff_t offset = static_cast<ptrdiff_t>(x) * (platform->pitches.cbxPitch & ~1) +
                             static_cast<ptrdiff_t>(y) * platform->pitches.cbyPitch;
    uint16_t pixel;
    std::memcpy(&pixel, platform->displayMemory + offset, 2);
    return pixel;
}
