// stylus_pointer.cpp: the mouse or the first finger down holds the stylus until its own release.
#include "platform/stylus_pointer.h"

void pressStylus(Platform* platform, StylusSource source, int64_t finger, int x, int y) {
    if (platform->stylusSource != StylusSource::None)
        return;
    platform->stylusSource = source;
    platform->stylusFinger = finger;
    platform->stylusDownX = x;
    platform->stylusDownY = y;
    platform->events.push_back({PlatformEventType::StylusDown, x, y});
}

void releaseStylus(Platform* platform, StylusSource source, int64_t finger, int x, int y) {
    if (platform->stylusSource != source ||
        (source == StylusSource::Finger && platform->stylusFinger != finger))
        return;
    platform->stylusSource = StylusSource::None;
    platform->events.push_back({PlatformEventType::StylusUp, x, y});
}

void releaseHeldStylus(Platform* platform) {
    if (platform->stylusSource == StylusSource::None)
        return;
    releaseStylus(platform, platform->stylusSource, platform->stylusFinger, platform->stylusDownX,
                  platform->stylusDownY);
}
