// app_icon.h: the launcher icon, the logo's tennis ball under a floodlight on a rounded tile.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

// The sizes the desktop's icon theme gets, in pixels.
constexpr int kAppIconSizes[] = {48, 128, 256};
// The sizes a web app manifest needs for a phone's home screen and splash screen.
constexpr int kWebIconSizes[] = {192, 512};

// Drawn at its own size rather than scaled, so the small icon keeps crisp edges. alpha holds
// the tile's coverage (0..1) per pixel: the corners are transparent.
struct AppIcon {
    Canvas canvas;
    std::vector<float> alpha;
};
AppIcon drawAppIcon(int size);

// "drovana-<size>.png" in folder for every desktop size; false when one cannot be written.
bool writeAppIcons(const std::string& folder);
// The same for the web app's sizes.
bool writeWebIcons(const std::string& folder);
