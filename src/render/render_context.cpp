// render_context.cpp: the immediate-mode 3D renderer's state and its GL-style operations.
#include "render/render_context.h"

#include <algorithm>

#include "render/bulk_memory.h"
#include "render/pipeline.h"

namespace {

bool isMatrixMode(int32_t mode) {
    return mode == GL_MODELVIEW || mode == GL_PROJECTION;
}

// The top of the selected stack and its depth; null for a mode that selects no stack.
FxMatrix** selectedTop(RenderContext* rc, int32_t** depth, FxMatrix** stack) {
    if (rc->matrixMode == GL_MODELVIEW) {
        *depth = &rc->modelViewDepth;
        *stack = rc->modelViewStack;
        return &rc->modelViewTop;
    }
    if (rc->matrixMode == GL_PROJECTION) {
        *depth = &rc->projectionDepth;
        *stack = rc->projectionStack;
        return &rc->projectionTop;
    }
    return nullptr;
}

FxMatrix* selectedMatrix(RenderContext* rc) {
    if (!isMatrixMode(rc->matrixMode))
        return nullptr;
    rc->combinedValid = 0;
    return rc->matrixMode == GL_MODELVIEW ? rc->modelViewTop : rc->projectionTop;
}

uint8_t clearColourByte(Fixed component) {
    return static_cast<uint8_t>(fxMul(component, fxFromInt(255)) >> kFixedFractionBits);
}

void setCapability(RenderContext* rc, int32_t capability, uint8_t on) {
    if (capability == GL_BLEND)
        rc->blendOn = on;
    else if (capability == GL_DEPTH_TEST)
        rc->depthTestOn = on;
}

} // namespace

RenderContext* rcCreate() {
    RenderContext* rc = new RenderContext;
    rc->modelViewStack[0] = fxMatrixIdentity();
    rc->projectionStack[0] = fxMatrixIdentity();
    rc->modelViewTop = &rc->modelViewStack[0];
    rc->projectionTop = &rc->projectionStack[0];
    rc->combined = fxMatrixIdentity();
    return rc;
}

void rcDestroy(RenderContext* rc) {
    if (!rc)
        return;
    delete[] rc->depthBuffer;
    delete rc;
}

void rcBindBuffer(RenderContext* rc, uint32_t* colourBuffer, int32_t width, int32_t height) {
    if (!rc || !colourBuffer || width < 1 || height < 1)
        return;
    const int64_t pixels = static_cast<int64_t>(width) * height;
    if (!rc->depthBuffer || pixels != static_cast<int64_t>(rc->width) * rc->height) {
        delete[] rc->depthBuffer;
        rc->depthBuffer = new uint16_t[pixels];
    }
    // A new buffer holds nothing known, and a new shape moves what the rows held.
    if (width != rc->width || height != rc->height)
        markRows(rc->depthRows, 0, height);
    rc->width = width;
    rc->height = height;
    rc->projectionValid = 0;
    vertexCacheForget(rc->vertexCache);
    rc->colourBuffer = colourBuffer;
}

void rcTrackColourRows(RenderContext* rc, ScreenRows* rows) {
    rc->colourRows = rows ? rows : &rc->ownColourRows;
}

namespace {

void clearDepthRows(RenderContext* rc) {
    const size_t width = static_cast<size_t>(rc->width);
    if (rc->height > kScreenHeight || rc->clearDepth != rc->depthRowsHold) {
        fillHalfWords(rc->depthBuffer, rc->clearDepth, width * rc->height);
    } else {
        RowRun runs[kMaxRowRuns];
        const int count = markedRuns(rc->depthRows, runs);
        for (int i = 0; i < count; ++i)
            fillHalfWords(rc->depthBuffer + runs[i].first * width, rc->clearDepth,
                          (runs[i].end - runs[i].first) * width);
    }
    rc->depthRows = {};
    rc->depthRowsHold = rc->clearDepth;
}

} // namespace

void rcClear(RenderContext* rc, uint32_t mask) {
    if (!rc->colourBuffer)
        return;
    const size_t pixels = static_cast<size_t>(rc->width) * rc->height;
    if (mask & GL_COLOR_BUFFER_BIT) {
        std::fill_n(rc->colourBuffer, pixels, pixelWord(rc->clearColour));
        markRows(*rc->colourRows, 0, rc->height);
    }
    if (mask & GL_DEPTH_BUFFER_BIT)
        clearDepthRows(rc);
}

void rcClearColor(RenderContext* rc, Fixed r, Fixed g, Fixed b, Fixed a) {
    rc->clearColour = {clearColourByte(r), clearColourByte(g), clearColourByte(b),
                       clearColourByte(a)};
}

void rcClearDepth(RenderContext* rc, double depth) {
    // Values outside 0..2 would make the conversion undefined; the game only passes 1.0.
    const double scaled = std::clamp(depth * kFarthestDepth, 0.0, 65535.0);
    rc->clearDepth = static_cast<uint16_t>(scaled);
}

void rcColor3(RenderContext* rc, uint8_t r, uint8_t g, uint8_t b) {
    rc->colour = {r, g, b, 255};
}

void rcColor4(RenderContext* rc, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    rc->colour = {r, g, b, a};
}

void rcEnable(RenderContext* rc, int32_t capability) {
    setCapability(rc, capability, 1);
}

void rcDisable(RenderContext* rc, int32_t capability) {
    setCapability(rc, capability, 0);
}

void rcShadeModel(RenderContext*, int32_t) {}
void rcBlendFunc(RenderContext*, int32_t, int32_t) {}
void rcFinish(RenderContext*) {}
void rcLockArrays(RenderContext* rc) {
    vertexCacheForget(rc->vertexCache);
    rc->arraysLocked = 1;
}

void rcUnlockArrays(RenderContext* rc) {
    rc->arraysLocked = 0;
}

void rcMatrixMode(RenderContext* rc, int32_t mode) {
    rc->matrixMode = mode;
}

void rcLoadIdentity(RenderContext* rc) {
    if (FxMatrix* top = selectedMatrix(rc))
        *top = fxMatrixIdentity();
}

void rcLoadMatrix(RenderContext* rc, const FxMatrix& m) {
    if (FxMatrix* top = selectedMatrix(rc))
        *top = m;
}

void rcMultMatrix(RenderContext* rc, const FxMatrix& m) {
    if (FxMatrix* top = selectedMatrix(rc))
        *top = fxMatrixMultiply(*top, m);
}

void rcPushMatrix(RenderContext* rc) {
    int32_t* depth;
    FxMatrix* stack;
    FxMatrix** top = selectedTop(rc, &depth, &stack);
    if (!top)
        return;
    rc->combinedValid = 0;
    if (*depth >= kMatrixStackSize - 1)
        return;
    stack[*depth + 1] = stack[*depth];
    ++*depth;
    *top = &stack[*depth];
}

void rcPopMatrix(RenderContext* rc) {
    int32_t* depth;
    FxMatrix* stack;
    FxMatrix** top = selectedTop(rc, &depth, &stack);
    if (!top)
        return;
    rc->combinedValid = 0;
    if (*depth <= 0)
        return;
    --*depth;
    *top = &stack[*depth];
}

void rcBegin(RenderContext* rc, int32_t mode) {
    rc->primitiveMode = mode;
    rc->vertexCount = 0;
    rc->inPrimitive = 1;
}

void rcVertex(RenderContext* rc, Fixed x, Fixed y, Fixed z) {
    // Without a supported mode nothing would ever empty the four slots.
    const int32_t needed = rc->primitiveMode == GL_TRIANGLES ? 3
                           : rc->primitiveMode == GL_QUADS   ? 4
                                                             : 0;
    if (needed == 0)
        return;
    rc->vertexSlots[rc->vertexCount++] = {x, y, z};
    if (rc->vertexCount < needed)
        return;
    rc->vertexCount = 0;
    if (needed == 3)
        drawTriangle(rc, rc->vertexSlots[0], rc->vertexSlots[1], rc->vertexSlots[2]);
    else
        drawQuad(rc, rc->vertexSlots);
}

void rcEnd(RenderContext* rc) {
    rc->inPrimitive = 0;
}

void rcVertexPointer(RenderContext* rc, int32_t size, int32_t type, int32_t stride,
                     const Vec3* pointer) {
    if (size == 3 && type == GL_FLOAT && stride == 0)
        rc->vertexArray = pointer;
}

namespace {

void drawElementsIn(RenderContext* rc, int32_t mode, const IndexRange* range, int32_t count,
                    int32_t type, const uint32_t* indices) {
    if (mode != GL_TRIANGLES || type != GL_UNSIGNED_INT || count < 1 || !rc->vertexArray)
        return;
    drawIndexedTriangles(rc, rc->vertexArray, indices, count, range);
}

void drawColourRunsIn(RenderContext* rc, const IndexRange* range, const uint32_t* indices,
                      const ColourRun* runs, int32_t runCount) {
    if (runCount < 1)
        return;
    if (rc->vertexArray &&
        drawIndexedColourRuns(rc, rc->vertexArray, indices, runs, runCount, range))
        return;
    int32_t begin = 0;
    for (int32_t r = 0; r < runCount; ++r) {
        const Rgba c = runs[r].colour;
        rcColor4(rc, c.r, c.g, c.b, c.a);
        rcDrawElements(rc, GL_TRIANGLES, runs[r].end - begin, GL_UNSIGNED_INT, indices + begin);
        begin = runs[r].end;
    }
}

} // namespace

void rcDrawElements(RenderContext* rc, int32_t mode, int32_t count, int32_t type,
                    const uint32_t* indices) {
    drawElementsIn(rc, mode, nullptr, count, type, indices);
}

void rcDrawRangeElements(RenderContext* rc, int32_t mode, IndexRange range, int32_t count,
                         int32_t type, const uint32_t* indices) {
    drawElementsIn(rc, mode, &range, count, type, indices);
}

void rcDrawColourRuns(RenderContext* rc, const uint32_t* indices, const ColourRun* runs,
                      int32_t runCount) {
    drawColourRunsIn(rc, nullptr, indices, runs, runCount);
}

void rcDrawRangeColourRuns(RenderContext* rc, IndexRange range, const uint32_t* indices,
                           const ColourRun* runs, int32_t runCount) {
    drawColourRunsIn(rc, &range, indices, runs, runCount);
}
