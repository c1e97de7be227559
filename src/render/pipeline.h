// pipeline.h: matrix products, the vertex transform with whole-primitive rejection, and the
// hand-over of projected triangles and quads to the rasteriser.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/rasteriser.h"

struct RenderContext;
struct ColourRun;
struct IndexRange;

FxMatrix fxMatrixIdentity();
// a x b, b applied to vertices first; each element is four separately truncated products.
FxMatrix fxMatrixMultiply(const FxMatrix& a, const FxMatrix& b);

// Projects v through combined onto a width x height screen. False when the vertex is
// rejected: w of 0, or outside the view volume (depth below 0 included).
bool transformVertex(const Vec3& v, const FxMatrix& combined, int32_t width, int32_t height,
                     ScreenVertex& out);

// Refreshes the combined matrix if a matrix changed since it was last formed.
void updateCombinedMatrix(RenderContext* rc);

// Drawn whole or not at all: any rejected vertex drops the primitive.
void drawTriangle(RenderContext* rc, const Vec3& v0, const Vec3& v1, const Vec3& v2);
// Triangles (0, 1, 2) and (0, 2, 3).
void drawQuad(RenderContext* rc, const Vec3 corners[4]);
// Triangles (indices[i], indices[i + 1], indices[i + 2]) of the array, each drawn whole or
// not at all, as drawTriangle draws them; a vertex shared by several is transformed once.
// The slots are left holding the last triangle, as copying each one in would leave them.
// `known`, where given, holds every index, and the drawing need not look for them itself.
void drawIndexedTriangles(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                          int32_t count, const IndexRange* known = nullptr);
// rcDrawColourRuns as one drawing, where that is how this processor draws elements and every
// run holds whole triangles; false, having drawn nothing, where it is not.
bool drawIndexedColourRuns(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                           const ColourRun* runs, int32_t runCount,
                           const IndexRange* known = nullptr);
