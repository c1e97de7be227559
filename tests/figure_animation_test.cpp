// The twenty built animations, baked by the game against the built model: lengths, the racket
// meeting the ball where the strokes reach, the serve's ball, seamless running loops.
#include "assets/animation_bake.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pose.h"
#include "figure_assets.h"
#include "match/ball.h"
#include "match/stroke_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kServeAnim = 2;
constexpr int kWaitToServeAnim = 1, kWaitForServeAnim = 3;
constexpr int kLoopingAnims[] = {0, 1, 3, 4, 5, 6, 7};

// Frames in a time of the table, rounded as playback rounds (time x 25 + 0.5).
int framesIn(Fixed seconds) {
    return static_cast<int>(std::floor(static_cast<double>(seconds) * 25.0 / 65536.0 + 0.5));
}

struct BuiltAnimations : ::testing::Test {
    FigureAssets assets = loadFigureAssets();
    const KeyAnimation& anim(int id) const { return assets.animation(id); }
};

TEST_F(BuiltAnimations, EveryStrokeLastsItsSwingAndEndingsTwoToThreeSeconds) {
    for (int stroke = StrokeFirstServe; stroke <= StrokeBackhandJump; ++stroke) {
        const int frames = anim(strokeAnimation(stroke)).frameCount;
        EXPECT_GE(frames, framesIn(strokeRow(stroke).swingTime)) << stroke;
        EXPECT_LE(frames, framesIn(strokeRow(stroke).swingTime) + 2) << stroke;
    }
    for (int id : {18, 19}) {
        EXPECT_GE(anim(id).frameCount, 50) << id;
        EXPECT_LE(anim(id).frameCount, 75) << id;
    }
    for (const OwnedAnimation& a : assets.animations) {
        EXPECT_EQ(a->verticesPerFrame, countPrimaryVertices(*assets.model));
        EXPECT_EQ(a->trackMap.size(), assets.model->objects[0].transforms.size());
        EXPECT_EQ(a->orientationTrack, 0);
    }
}

// The reach columns give the ball's offset from the feet of a player facing -z. The figure
// faces +z and the game draws it with x mirrored, so model x is the column's x and model z its
// negation; a player facing +z is the same turned half round.
TEST_F(BuiltAnimations, RacketHeadMeetsTheBallInsideEachStrokesReach) {
    for (int stroke = StrokeFirstServe; stroke <= StrokeBackhandJump; ++stroke) {
        const StrokeRow& row = strokeRow(stroke);
        const int contact = framesIn(row.contactTime);
        const Vec3F head = racketHeadAt(*assets.model, anim(strokeAnimation(stroke)), contact);
        const auto cm = [](Fixed metres) { return static_cast<float>(metres) / 655.36f; };
        EXPECT_GE(head.x, cm(row.reachMin.x)) << stroke;
        EXPECT_LE(head.x, cm(row.reachMax.x)) << stroke;
        EXPECT_GE(head.y, cm(row.reachMin.y)) << stroke;
        EXPECT_LE(head.y, cm(row.reachMax.y)) << stroke;
        EXPECT_GE(-head.z, cm(row.reachMin.z)) << stroke;
        EXPECT_LE(-head.z, cm(row.reachMax.z)) << stroke;
    }
}

TEST_F(BuiltAnimations, ServeShowsTheBallUntilContactThenHidesIt) {
    Owned<Pose, freePose> pose{makePose(assets.model.get())};
    const int contact = framesIn(strokeRow(StrokeFirstServe).contactTime);
    const auto ballShownAt = [&](int anim, int frame) {
        setPose(pose.get(), assets.animations[anim].get(), 0, frame * 2621); // 0.04 s a frame
        EXPECT_EQ(pose->frame, frame);
        return primaryLod(*assets.model).meshes[1].visible != 0;
    };
    for (int f = 0; f < anim(kServeAnim).frameCount; ++f)
        EXPECT_EQ(ballShownAt(kServeAnim, f), f < contact) << f;
    EXPECT_TRUE(ballShownAt(kWaitToServeAnim, 0));
    EXPECT_FALSE(ballShownAt(kWaitForServeAnim, 0));
}

// The tossed ball rises from the hand to where the racket meets it.
TEST_F(BuiltAnimations, TossedBallRisesToTheContact) {
    const KeyAnimation& serve = anim(kServeAnim);
    const int contact = framesIn(strokeRow(StrokeFirstServe).contactTime);
    const int ball = meshVertexOffset(*assets.model, 1);
    const Vec3F start = bakedVertex(serve, 0, ball);
    const Vec3F before = bakedVertex(serve, contact - 1, ball);
    const Vec3F head = racketHeadAt(*assets.model, serve, contact);
    EXPECT_LT(start.y, 150.0f);
    EXPECT_GT(before.y, head.y - 30.0f);
    EXPECT_LT(std::fabs(before.x - head.x), 20.0f);
}

// The toss falls as the match's ball falls: over the frames before contact the height of the
// ball's centre changes by g / 25^2 less each frame, g the match's gravity in centimetres.
TEST_F(BuiltAnimations, TossFallsWithTheMatchsGravity) {
    const KeyAnimation& serve = anim(kServeAnim);
    const int contact = framesIn(strokeRow(StrokeFirstServe).contactTime);
    const int ball = meshVertexOffset(*assets.model, 1);
    const int vertices = static_cast<int>(primaryLod(*assets.model).meshes[1].vertices.size());
    const auto height = [&](int frame) {
        float sum = 0.0f;
        for (int v = 0; v < vertices; ++v)
            sum += bakedVertex(serve, frame, ball + v).y;
        return sum / static_cast<float>(vertices);
    };
    const float perFrame = static_cast<float>(fxToDouble(kGravity)) * 100.0f / (25.0f * 25.0f);
    for (int f = contact - 8; f < contact; ++f)
        EXPECT_NEAR(height(f + 1) - 2.0f * height(f) + height(f - 1), -perFrame, 0.002f) << f;
}

float largestMove(const KeyAnimation& a, int from, int to) {
    float largest = 0.0f;
    for (int v = 0; v < a.verticesPerFrame; ++v) {
        const Vec3F p = bakedVertex(a, from, v), q = bakedVertex(a, to, v);
        largest = std::max(largest, std::hypot(p.x - q.x, p.y - q.y, p.z - q.z));
    }
    return largest;
}

TEST_F(BuiltAnimations, LoopsFlowFromTheirLastFrameIntoTheFirst) {
    for (int id : kLoopingAnims) {
        const KeyAnimation& a = anim(id);
        float step = 0.0f;
        for (int f = 0; f + 1 < a.frameCount; ++f)
            step = std::max(step, largestMove(a, f, f + 1));
        EXPECT_GT(step, 0.0f) << id;
        EXPECT_LE(largestMove(a, a.frameCount - 1, 0), step) << id;
    }
}

// Nothing sinks into the court; standing, the body's lowest point (the feet) is on it.
TEST_F(BuiltAnimations, FeetStayOnTheCourtWhileStandingAndNothingSinksIntoIt) {
    const int body = meshVertexOffset(*assets.model, 1);
    for (int id = 0; id < kAnimationCount; ++id) {
        const KeyAnimation& a = anim(id);
        const bool standing = id == 0 || id == kWaitToServeAnim || id == kWaitForServeAnim;
        for (int f = 0; f < a.frameCount; ++f) {
            float lowestBody = 1e9f, lowest = 1e9f;
            for (int v = 0; v < a.verticesPerFrame; ++v) {
                const float y = bakedVertex(a, f, v).y;
                lowest = std::min(lowest, y);
                lowestBody = v < body ? std::min(lowestBody, y) : lowestBody;
            }
            EXPECT_GT(lowest, -3.0f) << id << " frame " << f;
            if (standing) {
                EXPECT_NEAR(lowestBody, 0.0f, 1.0f) << id << " frame " << f;
            }
        }
    }
}

// The game hides the ball at every match start and end and leaves the rest to the serving
// animations: any other animation that switched it would leave a ball hanging in a hand.
TEST_F(BuiltAnimations, OnlyTheServingAnimationsSwitchTheBall) {
    for (size_t id = 0; id < assets.animations.size(); ++id) {
        int events = 0;
        for (const auto& list : assets.animations[id]->eventLists)
            for (const KeyEvent& event : list) {
                EXPECT_EQ(event.kind, KeyEventVisibility);
                EXPECT_EQ(event.name, "Bola");
                ++events;
            }
        const bool serving = id == kWaitToServeAnim || id == kServeAnim || id == kWaitForServeAnim;
        EXPECT_EQ(events > 0, serving) << id;
    }
}

// The bake turns keys into matrices without normalising them: a key that is not a unit turn
// would stretch the racket. Rigid parts keep their shape in every frame.
TEST_F(BuiltAnimations, RacketAndBallKeepTheirShape) {
    for (int mesh : {1, 2}) {
        const Mesh& rest = primaryLod(*assets.model).meshes[mesh];
        const int offset = meshVertexOffset(*assets.model, mesh);
        const auto span = [&](Vec3F p, Vec3F q) {
            return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z);
        };
        for (const OwnedAnimation& a : assets.animations)
            for (int f = 0; f < a->frameCount; f += 3)
                for (size_t v = 1; v < rest.vertices.size(); ++v)
                    ASSERT_NEAR(span(bakedVertex(*a, f, offset),
                                     bakedVertex(*a, f, offset + static_cast<int>(v))),
                                span(rest.vertices[0], rest.vertices[v]), 0.05f)
                        << "mesh " << mesh << " frame " << f;
    }
}

} // namespace
