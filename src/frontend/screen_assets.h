// screen_assets.h: every archive entry the screens can ask for, found by walking the screen tables.
#pragma once

#include <vector>

#include "core/wide_string.h"
#include "frontend/screen_tables.h"

enum class AssetUse : uint8_t { Backdrop, Face, Mask };

struct ScreenAsset {
    WideString name; // full entry name
    AssetUse use;
    int32_t width; // the size the loader fills: 240 x 320 for backdrops, the button's for faces
    int32_t height;
};

// Each name once (the first use wins), in table order: backdrops, faces and masks of all screens,
// every alternative picture included.
std::vector<ScreenAsset> screenAssets();
