// The match scene on a real frame buffer: ball, streak, marks, shadows, the figure's placement,
// and the matrices and alphas behind them.
#include "view/match_scene.h"

#include <cstring>

#include "render/render_context.h"
#include "scene_fixture.h"

namespace {

struct MatchSceneTest : SceneFixture {
    void draw() {
        beginFrame(engine->frame);
        drawMatchScene(*engine, match);
    }
    // A live ball of half-size d at p that moved from p - step since the last step.
    void liveBall(const Vec3& p, const Vec3& step, Fixed d) {
        match.ball.dead = 0;
        match.ball.diameter = d;
        match.ball.position = p;
        match.ballPrevPosition = {fxSub(p.x, step.x), fxSub(p.y, step.y), fxSub(p.z, step.z)};
    }
};

// Where the figure stands and how it turns is seen in the scene below; what a picture cannot
// show is the raw unit that the product of the negated facing keeps.
TEST(FigureMatrices, EachEntryIsOneProductOfTheNegatedFacing) {
    MatchPlayer p{};
    p.facing = {46340, 0, 3};
    const FxMatrix m = playerModelMatrix(p);
    EXPECT_EQ(m.m[0], -1); // fxMul(-3, 655) rounds down; -fxMul(3, 655) would be 0
    EXPECT_EQ(m.m[10], 0);
    EXPECT_EQ(m.m[2], 463);
    EXPECT_EQ(m.m[8], 463);
}

TEST(StreakAlphas, FasterBallsFadeDownToTheirFloors) {
    const Fixed d = kBallDiameter;
    // Moved 3d: 255 d / 4d = 63 raised to 128; its shadow (3 x 63) >> 4 = 11 raised to 48.
    EXPECT_EQ(streakAlpha(d, 3 * d).ball, 128);
    EXPECT_EQ(streakAlpha(d, 3 * d).shadow, 48);
    EXPECT_EQ(streakAlpha(d, kStillBallDistance).ball, 196); // 255 x 4390 / 5701
    EXPECT_EQ(streakAlpha(d, kStillBallDistance).shadow, 48);
    EXPECT_EQ(streakAlpha(d, fxFromInt(40)).ball, 128);
}

TEST_F(MatchSceneTest, DeadBallIsNeitherDrawnNorShadowed) {
    match.ball.position = metres(1, 1, 5);
    match.ballPrevPosition = match.ball.position;
    draw();
    EXPECT_EQ(seen(match.ball.position), kGreyBackdrop);
    EXPECT_EQ(seen(metres(1, 0, 5.707)), kGreyBackdrop);
    match.ball.dead = 0;
    draw();
    EXPECT_EQ(seen(match.ball.position), 0xFF99F2F2u); // (242, 242, 153), opaque
    EXPECT_EQ(seen(metres(1, 0, 5.707)), overGrey(26, 26, 26, 96));
}

TEST_F(MatchSceneTest, StillBallIsACubeOfHalfSizeD) {
    liveBall(metres(0, 1, 5), {1310, 0, 0}, fxFromDouble(0.2));
    draw();
    EXPECT_EQ(seen(metres(0.15, 1.15, 5)), 0xFF99F2F2u);
    EXPECT_EQ(seen(metres(-0.15, 0.85, 5)), 0xFF99F2F2u);
    EXPECT_EQ(seen(metres(0.3, 1, 5)), kGreyBackdrop);
    EXPECT_EQ(seen(metres(-0.1, 0, 5.807)), overGrey(26, 26, 26, 96)); // its ground shadow
    EXPECT_EQ(seen(metres(-0.3, 0, 5.707)), kGreyBackdrop);
}

TEST_F(MatchSceneTest, MovingBallIsATranslucentStreakFromBehindToBeyond) {
    const Fixed d = fxFromDouble(0.2);
    liveBall(metres(1, 1, 5), {3 * d, 0, 0}, d); // moved 3d along +x: alpha 128
    draw();
    const uint32_t once = overGrey(242, 242, 153, 128);
    const uint32_t middle = seen(metres(0.7, 1, 5));
    EXPECT_NE(middle, kGreyBackdrop);
    EXPECT_NE(middle, 0xFF99F2F2u); // never opaque
    // Front and back faces of the box both blend where they overlap.
    EXPECT_TRUE((middle & 0xFF) >= (once & 0xFF) && (middle & 0xFF) < 242) << std::hex << middle;
    EXPECT_NE(seen(metres(0.3, 1, 5)), kGreyBackdrop);  // behind the previous position
    EXPECT_NE(seen(metres(1.15, 1, 5)), kGreyBackdrop); // beyond the current one
    EXPECT_EQ(seen(metres(1.4, 1, 5)), kGreyBackdrop);
    // The shadow at alpha 48, laid along +z by 0.707 of the height.
    const uint32_t shadow = seen(metres(0.7, 0, 5.707));
    EXPECT_LT(shadow & 0xFF, 128u);
    EXPECT_GE(shadow & 0xFF, (overGrey(26, 26, 26, 48) & 0xFF) - 10);
}

TEST_F(MatchSceneTest, UprightStreakTakesItsSideVectorInTheXyPlane) {
    const Fixed d = fxFromDouble(0.2);
    liveBall(metres(0, 2, 5), {0, fxFromDouble(0.6), 0}, d); // straight up
    draw();
    EXPECT_NE(seen(metres(0, 1.7, 5)), kGreyBackdrop);
    EXPECT_EQ(seen(metres(0.4, 1.7, 5)), kGreyBackdrop);
}

TEST_F(MatchSceneTest, BounceMarkShowsWheneverItsFlagIsSet) {
    match.bounceMark = metres(-2, 0, 3);
    draw();
    EXPECT_EQ(seen(match.bounceMark), kGreyBackdrop);
    match.bounceMarkVisible = 1; // the ball stays dead
    draw();
    EXPECT_EQ(seen(match.bounceMark), overGrey(0, 0, 0, 128));
    EXPECT_EQ(seen(metres(-2.1, 0, 3)), kGreyBackdrop);
}

TEST_F(MatchSceneTest, PlayerFacesCameraWithItsRightOnTheLeftOfTheScreen) {
    match.players[0].position = metres(0, 0, 5);
    match.players[0].facing = {0, 0, kFxOne}; // toward the camera
    draw();
    // Model (40, 20) is in the first face, model (-40, 160) in the second; x is mirrored.
    EXPECT_EQ(seen(metres(-0.4, 0.2, 5)), 0xFF1E1EC8u);
    EXPECT_EQ(seen(metres(0.4, 1.6, 5)), 0xFFC81E1Eu);
    EXPECT_EQ(seen(metres(-0.75, 1.13, 5)), 0xFF1EC81Eu);         // the racket, shown by frame 0
    EXPECT_EQ(seen(metres(0, 0, 5.6)), overGrey(26, 26, 26, 96)); // shadow in front of it

    primaryLod(*engine->playerModels[0]).meshes[1].visible = 0;
    draw();
    EXPECT_EQ(seen(metres(-0.75, 1.13, 5)), kGreyBackdrop);
}

TEST_F(MatchSceneTest, EachPlayerUsesItsOwnPose) {
    match.players[1].position = metres(0, 0, 5);
    primaryLod(*engine->playerModels[0]).meshes[1].visible = 0;
    draw();
    EXPECT_EQ(seen(metres(-0.75, 1.13, 5)), 0xFF1EC81Eu); // model 1 still shows the racket
}

TEST_F(MatchSceneTest, PassLeavesTheContextReadyForTwoDimensionalDrawing) {
    match.ball.dead = 0;
    draw();
    const RenderContext* rc = engine->frame.renderContext;
    EXPECT_EQ(rc->blendOn, 0);
    EXPECT_EQ(rc->depthTestOn, 0);
    EXPECT_EQ(rc->inPrimitive, 0);
    EXPECT_EQ(rc->modelViewDepth, 0);
    const FxMatrix identity = fxMatrixIdentity();
    EXPECT_EQ(std::memcmp(rc->modelViewTop, &identity, sizeof identity), 0);
    EXPECT_EQ(std::memcmp(rc->projectionTop, &identity, sizeof identity), 0);
}

TEST_F(MatchSceneTest, CloseViewShowsTheFigureLarger) {
    beginFrame(engine->frame);
    drawFigureView(*engine, {metres(0, 0, 6), {0, 0, kFxOne}}, *engine->playerPoses[0]);
    EXPECT_EQ(seenClose(metres(-0.4, 0.2, 6)), 0xFF1E1EC8u);
    EXPECT_EQ(seenClose(metres(0, 0, 6.6)), overGrey(26, 26, 26, 96));
    EXPECT_EQ(engine->frame.renderContext->depthTestOn, 0);
}

} // namespace
