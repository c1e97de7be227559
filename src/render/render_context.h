// render_context.h: the immediate-mode 3D renderer's state and its GL-style operations.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "core/screen_rows.h"
#include "render/render_limits.h"
#include "render/triangle_groups_vector.h"
#include "render/vertex_cache.h"
#include "render/vertex_transform_vector.h"

// The numeric codes of the GL-style interface that callers speak.
constexpr int32_t GL_TRIANGLES = 4;
constexpr int32_t GL_QUADS = 7;
constexpr int32_t GL_UNSIGNED_INT = 0x1405;
constexpr int32_t GL_FLOAT = 0x1406; // required by rcVertexPointer; the data are Fixed all the same
constexpr int32_t GL_DEPTH_TEST = 0x0B71;
constexpr int32_t GL_BLEND = 0x0BE2;
constexpr int32_t GL_MODELVIEW = 0x1700;
constexpr int32_t GL_PROJECTION = 0x1701;
constexpr uint32_t GL_DEPTH_BUFFER_BIT = 0x100;
constexpr uint32_t GL_COLOR_BUFFER_BIT = 0x4000;
constexpr int32_t GL_FLAT = 0x1D00;
constexpr int32_t GL_SRC_ALPHA = 0x0302;
constexpr int32_t GL_ONE_MINUS_SRC_ALPHA = 0x0303;

// Bytes in memory order; as a pixel word that is A << 24 | B << 16 | G << 8 | R.
struct Rgba {
    uint8_t r, g, b, a;
};

constexpr uint32_t pixelWord(Rgba c) {
    return static_cast<uint32_t>(c.r) | static_cast<uint32_t>(c.g) << 8 |
           static_cast<uint32_t>(c.b) << 16 | static_cast<uint32_t>(c.a) << 24;
}

constexpr Rgba colourOfWord(uint32_t word) {
    return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
            static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
}

struct RenderContext {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* colourBuffer = nullptr; // bottom-up rows, not owned
    uint16_t* depthBuffer = nullptr;  // top-down rows, width x height, owned
    // The rows drawn into go to colourRows: the frame buffers point it at the set of the buffer
    // being drawn, so that the next frame restores only those rows; otherwise it is the context's
    // own set, which nothing reads.
    ScreenRows* colourRows = &ownColourRows;
    ScreenRows ownColourRows;
    // Rows whose depths may differ from depthRowsHold, the value the last clear wrote; a clear
    // to that value again need only fill these.
    ScreenRows depthRows;
    uint16_t depthRowsHold = kFarthestDepth;
    Rgba colour = {255, 255, 255, 255};
    Rgba clearColour = {0, 0, 0, 255};
    uint16_t clearDepth = kFarthestDepth;
    uint8_t blendOn = 0;
    uint8_t depthTestOn = 1;
    uint8_t inPrimitive = 0;
    int32_t primitiveMode = 0;
    Vec3 vertexSlots[kVertexSlots] = {};
    int32_t vertexCount = 0;
    const Vec3* vertexArray = nullptr;
    int32_t matrixMode = GL_MODELVIEW;
    FxMatrix* modelViewTop = nullptr;
    FxMatrix* projectionTop = nullptr;
    FxMatrix combined = {};
    uint8_t combinedValid = 1;
    FxMatrix modelViewStack[kMatrixStackSize] = {};
    int32_t modelViewDepth = 0;
    FxMatrix projectionStack[kMatrixStackSize] = {};
    int32_t projectionDepth = 0;
    // Emptied whenever the combined matrix is formed again or a buffer is bound, the only
    // places where the matrix or the screen size change, and by every element drawing unless
    // the arrays are locked and it reads the array the last one read.
    VertexCache vertexCache;
    const Vec3* cachedArray = nullptr;
    uint8_t arraysLocked = 0;
    // The combined matrix and the screen as the vector transform lays them out: a figure's
    // material runs share one, so it is laid out again only when either changes.
    VectorProjection projection;
    uint8_t projectionValid = 0;
};

// Rows first .. end - 1 are about to be drawn: their colour, and their depth, must be restored
// before the next frame. Depth is marked even where it is not tested and so not stored: the few
// rows cleared for nothing cost less than telling them apart on every triangle.
inline void markRowsDrawn(RenderContext& rc, int32_t first, int32_t end) {
    markRows(*rc.colourRows, first, end);
    markRows(rc.depthRows, first, end);
}

// Context management; every operation below takes its context explicitly.
RenderContext* rcCreate();
void rcDestroy(RenderContext* rc);
// Binds the buffer only when rc and buffer are non-null and both sizes are at least 1, keeping
// the depth buffer when the pixel count is unchanged.
void rcBindBuffer(RenderContext* rc, uint32_t* colourBuffer, int32_t width, int32_t height);

// Rows drawn into the bound colour buffer from now on are added to `rows` as well (screen rows
// from the top), until another set is given; null gives the context's own set back.
void rcTrackColourRows(RenderContext* rc, ScreenRows* rows);

// State. A depth clear fills only the rows written since the last one when the clear value is
// the same and the buffer no taller than the screen.
void rcClear(RenderContext* rc, uint32_t mask);
void rcClearColor(RenderContext* rc, Fixed r, Fixed g, Fixed b, Fixed a);
void rcClearDepth(RenderContext* rc, double depth);
void rcColor3(RenderContext* rc, uint8_t r, uint8_t g, uint8_t b);
void rcColor4(RenderContext* rc, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void rcEnable(RenderContext* rc, int32_t capability);
void rcDisable(RenderContext* rc, int32_t capability);
// Accepted for the callers' sake; shading is always flat and the blend always source alpha
// over one minus source alpha.
void rcShadeModel(RenderContext* rc, int32_t mode);
void rcBlendFunc(RenderContext* rc, int32_t sourceFactor, int32_t destinationFactor);
void rcFinish(RenderContext* rc);
// While the arrays are locked the caller leaves their coordinates as they are, so element
// drawings of one array (a mesh's runs of one material) share its projected vertices.
void rcLockArrays(RenderContext* rc);
void rcUnlockArrays(RenderContext* rc);

// Matrices: act on the stack chosen by rcMatrixMode, and only for the two matrix modes.
void rcMatrixMode(RenderContext* rc, int32_t mode);
void rcLoadIdentity(RenderContext* rc);
void rcLoadMatrix(RenderContext* rc, const FxMatrix& m);
void rcMultMatrix(RenderContext* rc, const FxMatrix& m);
void rcPushMatrix(RenderContext* rc);
void rcPopMatrix(RenderContext* rc);

// Primitives: triangles and quads, drawn whole as soon as their last vertex arrives.
void rcBegin(RenderContext* rc, int32_t mode);
void rcVertex(RenderContext* rc, Fixed x, Fixed y, Fixed z);
void rcEnd(RenderContext* rc);
void rcVertexPointer(RenderContext* rc, int32_t size, int32_t type, int32_t stride,
                     const Vec3* pointer);
void rcDrawElements(RenderContext* rc, int32_t mode, int32_t count, int32_t type,
                    const uint32_t* indices);
// The same for indices that all lie in `range`, which the drawing then need not find: a mesh's
// range is known once it is loaded, and holds every index of its faces. Every index must lie in
// it: the drawing reads the projections of the range's vertices only.
void rcDrawRangeElements(RenderContext* rc, int32_t mode, IndexRange range, int32_t count,
                         int32_t type, const uint32_t* indices);

// Consecutive triangles of one colour: the indices from where the run before ended (or 0) up to
// `end`.
struct ColourRun {
    int32_t end;
    Rgba colour;
};

// Each run drawn as rcColor4 with its colour and rcDrawElements of its triangles would draw it,
// leaving the last run's colour current. One drawing rather than one a run: a mesh's material
// runs are short, and their triangles share set-ups across the runs' borders.
void rcDrawColourRuns(RenderContext* rc, const uint32_t* indices, const ColourRun* runs,
                      int32_t runCount);
// The same for indices that all lie in `range`, as for rcDrawRangeElements.
void rcDrawRangeColourRuns(RenderContext* rc, IndexRange range, const uint32_t* indices,
                           const ColourRun* runs, int32_t runCount);
