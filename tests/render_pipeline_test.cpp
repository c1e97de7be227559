// The render context's state, matrix stacks, vertex transform with rejection, and primitives.
#include "render/pipeline.h"
#include "render/render_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "render/camera.h"
#include "render/rasteriser.h"
#include "render_fixture.h"

namespace {

FxMatrix translation(Fixed x, Fixed y, Fixed z) {
    FxMatrix m = fxMatrixIdentity();
    m.m[12] = x;
    m.m[13] = y;
    m.m[14] = z;
    return m;
}

// Every depth of a bound buffer equals `depth`.
bool depthsAllAre(const RenderContext& rc, uint16_t depth) {
    return std::all_of(rc.depthBuffer, rc.depthBuffer + rc.width * rc.height,
                       [&](uint16_t d) { return d == depth; });
}

// A triangle at depth 0 over rows 10 to 40 of a buffer at least 60 wide, and over `lowRow`
// too when the buffer is tall enough.
void drawNearTriangle(RenderContext* rc, int lowRow = 40) {
    rcEnable(rc, GL_DEPTH_TEST);
    rasteriseTriangle(*rc, {fxFromInt(1), fxFromInt(10), 0}, {fxFromInt(60), fxFromInt(10), 0},
                      {fxFromInt(1), fxFromInt(lowRow), 0});
}

// A depth clear may fill only the rows drawn since the last one, but never leaves a depth that
// is not the clear value: not when the value changes, nor the shape, nor in a buffer taller than
// the rows tracked.
TEST(RenderContext, ADepthClearLeavesNoDrawnDepthBehind) {
    std::vector<uint32_t> pixels(400 * 240);
    const OwnedContext owned{rcCreate()};
    RenderContext* rc = owned.get();
    rcBindBuffer(rc, pixels.data(), 240, 320);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    drawNearTriangle(rc);
    ASSERT_FALSE(depthsAllAre(*rc, 32767));
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(depthsAllAre(*rc, 32767));
    rcClearDepth(rc, 0.5);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(depthsAllAre(*rc, 16383));

    // The same depth buffer laid out 320 wide: the rows drawn at 240 lie elsewhere now.
    drawNearTriangle(rc);
    rcBindBuffer(rc, pixels.data(), 320, 240);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(depthsAllAre(*rc, 16383));

    rcBindBuffer(rc, pixels.data(), 240, 400);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    drawNearTriangle(rc, 390);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(depthsAllAre(*rc, 16383));
}

// A vertex in normalised device coordinates lands on the screen through identity matrices.
ScreenVertex project(const Vec3& v) {
    ScreenVertex s;
    EXPECT_TRUE(transformVertex(v, fxMatrixIdentity(), kTargetWidth, kTargetHeight, s));
    return s;
}

TEST(RenderContext, BindsOnlyValidBuffersAndKeepsAnUnchangedDepthBuffer) {
    std::vector<uint32_t> a(240 * 320), b(320 * 240), c(100 * 100);
    const OwnedContext rcOwned{rcCreate()};
    RenderContext* rc = rcOwned.get();
    const OwnedContext otherOwned{rcCreate()};
    RenderContext* other = otherOwned.get();
    rcBindBuffer(rc, a.data(), 240, 320);
    uint16_t* depth = rc->depthBuffer;
    ASSERT_NE(nullptr, depth);

    // Same pixel count: the depth buffer stays, the new buffer and size are stored.
    rcBindBuffer(rc, b.data(), 320, 240);
    EXPECT_EQ(depth, rc->depthBuffer);
    EXPECT_EQ(b.data(), rc->colourBuffer);
    EXPECT_EQ(320, rc->width);

    // Invalid arguments bind nothing.
    rcBindBuffer(other, nullptr, 240, 320);
    EXPECT_EQ(nullptr, other->colourBuffer);
    rcBindBuffer(rc, c.data(), 0, 100);
    EXPECT_EQ(b.data(), rc->colourBuffer);
    EXPECT_EQ(320, rc->width);

    rcBindBuffer(rc, c.data(), 100, 100);
    EXPECT_EQ(100, rc->height);
    EXPECT_EQ(c.data(), rc->colourBuffer);
}

TEST(RenderContext, ClearsWithTruncatedColourBytesAndDepth) {
    const Target t = target();
    // The frame's clear: (0.5, 0.6, 0.9, 0) gives bytes 127, 152, 229, 0 (the pixels below).
    rcClearColor(t->rc, kFxHalf, 39321, 58982, 0);
    rcClearDepth(t->rc, 0.5);
    EXPECT_EQ(16383, t->rc->clearDepth);
    rcClearDepth(t->rc, 1.0);
    EXPECT_EQ(32767, t->rc->clearDepth);

    drawNearTriangle(t->rc);
    rcClear(t->rc, GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(0x00E5987Fu, pixelAt(*t, 0, 0));
    EXPECT_EQ(0x00E5987Fu, pixelAt(*t, 239, 319));
    EXPECT_EQ(0, depthAt(*t, 5, 20));
    rcClear(t->rc, GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(32767, depthAt(*t, 5, 20));
}

TEST(MatrixStack, PushAndPopStopAtTheEnds) {
    const OwnedContext rcOwned{rcCreate()};
    RenderContext* rc = rcOwned.get();
    const FxMatrix moved = translation(kFxOne, 0, 0);
    rcPopMatrix(rc); // at depth 0: nothing
    EXPECT_EQ(0, rc->modelViewDepth);
    EXPECT_EQ(&rc->modelViewStack[0], rc->modelViewTop);

    rcLoadMatrix(rc, moved);
    for (int i = 0; i < 10; ++i)
        rcPushMatrix(rc);
    EXPECT_EQ(7, rc->modelViewDepth);
    EXPECT_EQ(&rc->modelViewStack[7], rc->modelViewTop);
    EXPECT_EQ(kFxOne, rc->modelViewTop->m[12]); // pushes copy the top
    rcLoadIdentity(rc);
    rcPushMatrix(rc); // at depth 7: nothing, the identity just loaded stays on top
    EXPECT_EQ(0, rc->modelViewTop->m[12]);
    rcPopMatrix(rc);
    EXPECT_EQ(6, rc->modelViewDepth);
    EXPECT_EQ(kFxOne, rc->modelViewTop->m[12]);
    EXPECT_EQ(0, rc->projectionDepth);

    // A mode that selects no stack makes every matrix operation a no-op.
    rcMatrixMode(rc, 0x1702);
    rcPushMatrix(rc);
    rcLoadIdentity(rc);
    EXPECT_EQ(6, rc->modelViewDepth);
    EXPECT_EQ(kFxOne, rc->modelViewTop->m[12]);
}

TEST(MatrixStack, MultiplyAppliesTheArgumentFirstAndTruncatesEachProduct) {
    const OwnedContext rcOwned{rcCreate()};
    RenderContext* rc = rcOwned.get();
    rcMatrixMode(rc, GL_PROJECTION);
    FxMatrix scale = fxMatrixIdentity();
    scale.m[0] = 2 * kFxOne;
    rcLoadMatrix(rc, scale);
    rcMultMatrix(rc, translation(3 * kFxOne, 0, 0));
    // Scale after translation: x' = 2 (x + 3).
    EXPECT_EQ(6 * kFxOne, rc->projectionTop->m[12]);
    EXPECT_EQ(2 * kFxOne, rc->projectionTop->m[0]);

    // Two half-raw products truncate to 0 each; a sum before truncation would give 1.
    FxMatrix a = {};
    a.m[0] = a.m[4] = kFxHalf;
    FxMatrix b = {};
    b.m[0] = b.m[1] = 1;
    rcLoadMatrix(rc, a);
    rcMultMatrix(rc, b);
    EXPECT_EQ(0, rc->projectionTop->m[0]);
    // Negative products round toward minus infinity: -1 each.
    b.m[0] = b.m[1] = -1;
    rcLoadMatrix(rc, a);
    rcMultMatrix(rc, b);
    EXPECT_EQ(-2, rc->projectionTop->m[0]);
}

TEST(VertexTransform, MapsTheViewVolumeOntoPixelsAndDepth) {
    const auto at = [](const Vec3& v) {
        const ScreenVertex s = project(v);
        return std::tuple{s.x, s.y, s.z};
    };
    // The centre, at half of 32767.0 deep.
    EXPECT_EQ(at({0, 0, kFxHalf}), std::tuple(120 * kFxOne, 160 * kFxOne, 0x3FFF8000));
    // Screen row 0 is the top: y = +1 maps there.
    EXPECT_EQ(at({-kFxOne, kFxOne, 0}), std::tuple(0, 0, 0));
    // x' = 1.0 lands on the width itself and is clamped to the last column; the same below.
    EXPECT_EQ(at({kFxOne, -kFxOne, kFxOne}), std::tuple(239 * kFxOne, 319 * kFxOne, 0x7FFF0000));
}

TEST(VertexTransform, RejectsVerticesOutsideTheVolumeOrWithZeroW) {
    ScreenVertex s;
    const FxMatrix identity = fxMatrixIdentity();
    for (const Vec3& v :
         {Vec3{-kFxOne - 1, 0, 0}, Vec3{0, kFxOne + 1, 0}, Vec3{0, 0, -1}, Vec3{0, 0, kFxOne + 1}})
        EXPECT_FALSE(transformVertex(v, identity, 240, 320, s))
            << v.x << ", " << v.y << ", " << v.z;
    FxMatrix noW = identity;
    noW.m[15] = 0;
    EXPECT_FALSE(transformVertex({0, 0, 0}, noW, 240, 320, s));
    // w = 2 halves the coordinates before the test.
    FxMatrix twoW = identity;
    twoW.m[15] = 2 * kFxOne;
    EXPECT_TRUE(transformVertex({-2 * kFxOne, 0, 0}, twoW, 240, 320, s));
    EXPECT_EQ(0, s.x);
}

TEST(VertexTransform, DropsThingsNearerThanTheZeroDepthDistance) {
    // Through the match projection a point straight ahead has depth 0 at 2fn / (f + n) =
    // 27.43 m: between the near plane (16 m) and there it is rejected, beyond it drawn.
    const CameraSetup cam = makeCameraSetup();
    ScreenVertex s;
    for (int metres : {17, 20, 27})
        EXPECT_FALSE(transformVertex({0, 0, -metres * kFxOne}, cam.projection, 240, 320, s))
            << metres;
    EXPECT_TRUE(transformVertex({0, 0, -28 * kFxOne}, cam.projection, 240, 320, s));
    EXPECT_TRUE(transformVertex({0, 0, -95 * kFxOne}, cam.projection, 240, 320, s));
    EXPECT_FALSE(transformVertex({0, 0, -97 * kFxOne}, cam.projection, 240, 320, s));

    // So a triangle at 16..27 m in front of the camera draws nothing.
    const Target t = target();
    rcMatrixMode(t->rc, GL_PROJECTION);
    rcLoadMatrix(t->rc, cam.projection);
    rcBegin(t->rc, GL_TRIANGLES);
    rcVertex(t->rc, -kFxOne, -kFxOne, -17 * kFxOne);
    rcVertex(t->rc, kFxOne, -kFxOne, -22 * kFxOne);
    rcVertex(t->rc, 0, kFxOne, -27 * kFxOne);
    rcEnd(t->rc);
    EXPECT_EQ(0, countDrawn(*t));
}

TEST(Primitives, ATriangleJustOutsideTheLeftEdgeIsDroppedWhole) {
    const Target t = target();
    rcBegin(t->rc, GL_TRIANGLES);
    rcVertex(t->rc, -kFxOne - 1, 0, kFxHalf); // x' a raw unit beyond -1.0
    rcVertex(t->rc, kFxHalf, kFxHalf, kFxHalf);
    rcVertex(t->rc, kFxHalf, -kFxHalf, kFxHalf);
    EXPECT_EQ(0, countDrawn(*t));
    // The same triangle on the edge itself is drawn.
    rcVertex(t->rc, -kFxOne, 0, kFxHalf);
    rcVertex(t->rc, kFxHalf, kFxHalf, kFxHalf);
    rcVertex(t->rc, kFxHalf, -kFxHalf, kFxHalf);
    rcEnd(t->rc);
    EXPECT_GT(countDrawn(*t), 1000);
}

TEST(Primitives, TrianglesAreDrawnPerThreeVerticesAndPartialOnesAreNot) {
    const Target t = target();
    rcBegin(t->rc, GL_TRIANGLES);
    rcVertex(t->rc, -kFxHalf, 0, 0);
    rcVertex(t->rc, 0, kFxHalf, 0);
    EXPECT_EQ(2, t->rc->vertexCount);
    rcEnd(t->rc);
    EXPECT_EQ(0, countDrawn(*t));
    EXPECT_EQ(2, t->rc->vertexCount); // left in the slots until the next begin
    rcBegin(t->rc, GL_TRIANGLES);
    EXPECT_EQ(0, t->rc->vertexCount);
    rcVertex(t->rc, -kFxHalf, 0, 0);
    rcVertex(t->rc, 0, kFxHalf, 0);
    rcVertex(t->rc, kFxHalf, 0, 0);
    EXPECT_EQ(0, t->rc->vertexCount);
    EXPECT_GT(countDrawn(*t), 1000);
}

TEST(Primitives, VerticesOutsideASupportedPrimitiveCannotOverrunTheSlots) {
    const Target t = target();
    rcBegin(t->rc, 5); // a triangle strip: not supported
    for (int i = 0; i < 20; ++i)
        rcVertex(t->rc, 0, 0, 0);
    EXPECT_EQ(0, t->rc->vertexCount);
    EXPECT_EQ(0, countDrawn(*t));
}

TEST(Primitives, AQuadIsTheTrianglesZeroOneTwoAndZeroTwoThree) {
    // A dart whose diagonal 0-2 runs outside it: the split (0, 1, 2), (0, 2, 3) fills the notch
    // at corner 1, the split along 1-3 would not.
    const Vec3 quad[4] = {{-kFxHalf, -kFxHalf, kFxHalf},
                          {0, -kFxOne / 8, kFxHalf},
                          {kFxHalf, -kFxHalf, kFxHalf},
                          {0, kFxHalf, kFxHalf}};
    const Target drawn = target();
    rcBegin(drawn->rc, GL_QUADS);
    for (const Vec3& v : quad)
        rcVertex(drawn->rc, v.x, v.y, v.z);
    rcEnd(drawn->rc);
    saveRenderTargetPng(*drawn, "quad_dart");

    const Target expected = target();
    ScreenVertex s[4];
    for (int i = 0; i < 4; ++i)
        s[i] = project(quad[i]);
    rasteriseTriangle(*expected->rc, s[0], s[1], s[2]);
    rasteriseTriangle(*expected->rc, s[0], s[2], s[3]);
    EXPECT_EQ(expected->pixels, drawn->pixels);

    const Target otherSplit = target();
    rasteriseTriangle(*otherSplit->rc, s[0], s[1], s[3]);
    rasteriseTriangle(*otherSplit->rc, s[1], s[2], s[3]);
    EXPECT_NE(otherSplit->pixels, drawn->pixels);

    // One corner outside the volume drops both halves.
    rcClear(drawn->rc, GL_DEPTH_BUFFER_BIT);
    std::fill(drawn->pixels.begin(), drawn->pixels.end(), kBlack);
    rcBegin(drawn->rc, GL_QUADS);
    for (int i = 0; i < 4; ++i)
        rcVertex(drawn->rc, quad[i].x, i == 3 ? 2 * kFxOne : quad[i].y, quad[i].z);
    EXPECT_EQ(0, countDrawn(*drawn));
}

TEST(Primitives, ElementDrawingUsesTheVertexArrayOnlyInItsOneFormat) {
    const Vec3 left[3] = {{-kFxOne, kFxOne, 0}, {-kFxHalf, kFxOne, 0}, {-kFxOne, kFxHalf, 0}};
    const Vec3 right[3] = {{kFxOne, kFxOne, 0}, {kFxHalf, kFxOne, 0}, {kFxOne, kFxHalf, 0}};
    const uint32_t indices[6] = {0, 1, 2, 2, 1, 0};
    constexpr uint32_t kWhite = 0xFFFFFFFFu;
    const Target t = target(kWhite);
    rcDisable(t->rc, GL_DEPTH_TEST);
    rcColor4(t->rc, 0, 0, 0, 128);
    rcEnable(t->rc, GL_BLEND);
    rcDrawElements(t->rc, GL_TRIANGLES, 6, GL_UNSIGNED_INT, indices); // no array yet: nothing
    EXPECT_EQ(0, countDrawn(*t, kWhite));

    rcVertexPointer(t->rc, 3, GL_FLOAT, 0, left);
    rcVertexPointer(t->rc, 3, GL_FLOAT, 12, right); // a stride: ignored
    rcVertexPointer(t->rc, 2, GL_FLOAT, 0, right);  // two components: ignored
    rcVertexPointer(t->rc, 3, 0x1404, 0, right);    // integers: ignored
    EXPECT_EQ(left, t->rc->vertexArray);

    rcDrawElements(t->rc, GL_TRIANGLES, 3, 0x1403, indices); // 16-bit indices: ignored
    rcDrawElements(t->rc, GL_QUADS, 3, GL_UNSIGNED_INT, indices);
    rcDrawElements(t->rc, GL_TRIANGLES, 0, GL_UNSIGNED_INT, indices);
    EXPECT_EQ(0, countDrawn(*t, kWhite));

    // Both index triples name the same corner triangle: its pixels are blended twice,
    // 255 -> 126 -> 62, and nothing appears on the right.
    rcDrawElements(t->rc, GL_TRIANGLES, 6, GL_UNSIGNED_INT, indices);
    EXPECT_EQ(0xFF3E3E3Eu, pixelAt(*t, 2, 2));
    EXPECT_EQ(kWhite, pixelAt(*t, 237, 2));
    EXPECT_GT(countDrawn(*t, kWhite), 1000);
}

} // namespace
