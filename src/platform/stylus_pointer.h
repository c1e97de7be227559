// stylus_pointer.h: the one stylus that the mouse or the first finger holds, for the window
// platforms (SDL and the browser's page).
#pragma once

#include <cstdint>

#include "platform/platform.h"

// A press while the stylus is held by another pointer is dropped; otherwise a StylusDown.
void pressStylus(Platform* platform, StylusSource source, int64_t finger, int x, int y);
// The holder's own release only: a StylusUp, so every StylusDown gets exactly one.
void releaseStylus(Platform* platform, StylusSource source, int64_t finger, int x, int y);
// When the window or page loses its release (focus lost, page hidden, touch cancelled): the
// press ends where it began, so the game lets go of a pressed button face.
void releaseHeldStylus(Platform* platform);
