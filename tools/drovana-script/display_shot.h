// display_shot.h: what the headless display shows, saved as a PNG picture.
#pragma once

#include <string>

struct Platform;

// Reads the RGB565 display memory through its pitches, widens every channel to 8 bits by
// repeating its top bits, and writes the 240 x 320 picture. False when it cannot be written.
bool writeDisplayShot(const Platform* platform, const std::string& path);
