// render_limits.h: the renderer's fixed-point scales and its limits, the one place where the
// scalar paths and their vector twins find them.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"

// --- Scales -------------------------------------------------------------------------------

// 21.11 sub-pixel coordinates (2048 units per pixel), taken from Fixed by a shift. Depth along a
// span is carried at the same scale: the depth buffer stores its integer part, z >> 11.
using Subpixel = int32_t;
constexpr int kSubpixelBits = 11;
constexpr Subpixel kSubpixelOne = 1 << kSubpixelBits;
constexpr int kFixedToSubpixelShift = kFixedFractionBits - kSubpixelBits;

// Depths in the buffer run from 0, nearest, to 32767; the vertex transform scales the unit
// depth onto 0..32767.0 and clamps it there.
constexpr uint16_t kFarthestDepth = 32767;
constexpr Fixed kDepthRange = fxFromInt(kFarthestDepth);
static_assert(kDepthRange == 0x7FFF0000, "32767.0");

// --- The depth set-up of a triangle ----------------------------------------------------------

constexpr Fixed kThinArea = 3276;               // doubled area under 0.05 square pixels
constexpr Fixed kThinAreaReciprocal = 26214400; // 400.0 stands in for 1 / area there
// A gradient that crosses more than the whole depth range in one pixel: depth is held flat.
constexpr Fixed kMaxDepthGradient = kDepthRange;
constexpr uint32_t kUnreachableDepth = 0x7FFFFFFF; // replaces a negative starting depth

// --- Limits --------------------------------------------------------------------------------

constexpr int kMatrixStackSize = 8; // each of the two stacks
constexpr int kVertexSlots = 4;     // the vertices of the primitive being built

// Vertices with a larger index are projected afresh for every triangle that uses them.
constexpr uint32_t kVertexCacheSlots = 4096;

// Triangles set up and drawn together in vector registers, one to a lane, and the most rows a
// triangle of such a group may have to be set up there rather than one by one.
constexpr int32_t kGroupTriangles = 8;
constexpr int32_t kTriangleGroupIndices = 3 * kGroupTriangles;
constexpr int32_t kPreparedRows = 4;
