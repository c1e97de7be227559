// render_target.h: a 240 x 320 frame buffer with a bound render context, for tests and for
// people who want to look at what was drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/render_context.h"

constexpr int kTargetWidth = 240;
constexpr int kTargetHeight = 320;

struct RenderTarget {
    std::vector<uint32_t> pixels; // bottom-up rows, like the game's frame buffer
    RenderContext* rc = nullptr;
};

// A fresh context bound to the pixels, colour buffer filled with background, depth cleared.
RenderTarget* makeRenderTarget(uint32_t background = 0xFF000000u);
void destroyRenderTarget(RenderTarget* target);

// The pixel at screen column x, row y (row 0 at the top).
uint32_t& pixelAt(RenderTarget& target, int x, int y);
uint16_t depthAt(const RenderTarget& target, int x, int y);

// Writes the picture as <build dir>/render-output/<name>.png and returns the path ("" when the
// file cannot be written, and always in the browser build, which has no libpng).
std::string saveRenderTargetPng(const RenderTarget& target, const std::string& name);
