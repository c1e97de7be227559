// rasteriser.h: fills one screen-space triangle into the bound colour and depth buffers.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"

struct RenderContext;

// 21.11 sub-pixel coordinates (2048 units per pixel), taken from Fixed by a shift.
using Subpixel = int32_t;
constexpr int kSubpixelBits = 11;
constexpr Subpixel kSubpixelOne = 1 << kSubpixelBits;
constexpr int kFixedToSubpixelShift = kFixedFractionBits - kSubpixelBits;

// x, y in pixels from the top-left corner, z the depth 0..32767.0 (0 nearest); the vertex
// transform clamps all three to the screen before they arrive here.
struct ScreenVertex {
    Fixed x, y, z;
};

// Flat colour, optional strict less-than depth test, optional alpha blend, as the context says.
// Row r is drawn when top.y <= r + 0.5 < bottom.y; column c when xl <= c + 0.5 < xr.
// Depth is interpolated with the truncated reciprocal of the doubled area. Where that area
// (32768 square pixels or more, about 180 x 180) or a depth numerator no longer fits Fixed,
// it is carried in 64 bits and the gradients divided out directly instead.
void rasteriseTriangle(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2);

// The same for vertices that the vertex transform has clamped to the screen of a context whose
// buffers are bound: the checks above are left out, since they cannot fail.
void rasteriseOnScreen(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2);

// Source colour (with its alpha) over a destination pixel, each channel's two terms truncated
// separately; the destination's alpha byte is kept.
uint32_t blendOver(uint32_t destination, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
