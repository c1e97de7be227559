// scene_fixture.h: an engine on the fixture archive, a plain grey backdrop and a quiet match
// record, with the match camera's projection of world points, for scene and screen tests.
#pragma once

#include <algorithm>

#include "engine_fixture.h"
#include "match/match.h"
#include "render/pipeline.h"

inline constexpr uint32_t kGreyBackdrop = 0xFF808080u;

struct SceneFixture : EngineFixture {
    Match match{};

    SceneFixture() {
        std::fill(engine->frame.backdrop, engine->frame.backdrop + kScreenPixels, kGreyBackdrop);
        markBackdropChanged(engine->frame);
        // Both players off to the side, beyond the view; the ball dead at rest.
        for (MatchPlayer& p : match.players) {
            p.position = {fxFromInt(60), 0, 0};
            p.facing = {0, 0, kFxOne};
        }
        match.ball.diameter = kBallDiameter;
        match.ball.dead = 1;
    }
    uint32_t at(int x, int y) const { return engine->frame.drawBuffer[frameBufferIndex(x, y)]; }

    struct Pixel {
        int x, y;
    };
    // Where a world point lands through a camera; fails the test when it is off-screen.
    Pixel project(const Vec3& world, const FxMatrix& view) const {
        const FxMatrix combined = fxMatrixMultiply(engine->camera.projection, view);
        ScreenVertex v{};
        EXPECT_TRUE(transformVertex(world, combined, kScreenWidth, kScreenHeight, v));
        return {v.x >> 16, v.y >> 16};
    }
    uint32_t seen(const Vec3& world) const {
        const Pixel p = project(world, engine->camera.matchView);
        return at(p.x, p.y);
    }
    uint32_t seenClose(const Vec3& world) const {
        const Pixel p = project(world, engine->camera.previewView);
        return at(p.x, p.y);
    }
};

// One blend of a colour with alpha a over the grey backdrop, per channel as the rasteriser does.
inline uint32_t overGrey(uint8_t r, uint8_t g, uint8_t b, uint32_t a) {
    auto channel = [a](uint32_t s) { return ((128 * (255 - a)) >> 8) + ((s * (a + 1)) >> 8); };
    return 0xFF000000u | channel(r) | channel(g) << 8 | channel(b) << 16;
}

inline Vec3 metres(double x, double y, double z) {
    return {fxFromDouble(x), fxFromDouble(y), fxFromDouble(z)};
}
