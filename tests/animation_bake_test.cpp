// The bake: bone chains, rigid meshes and weighted skins against hand-computed positions.
#include "assets/animation_bake.h"
#include "assets/float_matrix.h"
#include "rig_fixture.h"

namespace {

void expectVertex(const KeyAnimation& animation, int frame, int index, Fixed x, Fixed y, Fixed z,
                  Fixed tolerance = 0) {
    const Fixed* v =
        &animation
             .vertexFrames[(static_cast<size_t>(frame) * animation.verticesPerFrame + index) * 3];
    EXPECT_NEAR(v[0], x, tolerance) << "frame " << frame << " vertex " << index;
    EXPECT_NEAR(v[1], y, tolerance) << "frame " << frame << " vertex " << index;
    EXPECT_NEAR(v[2], z, tolerance) << "frame " << frame << " vertex " << index;
}

TEST(FloatMatrix, ProductsAreForRowVectorsAndInversesUndoThem) {
    // A row vector goes through a first, then b: translate then turn half about z.
    FloatMatrix turn, product;
    quaternionToMatrix(0, 0, 0, 1, turn);
    multiplyMatrices(translation(1, 0, 0), turn, product);
    Vec3F p;
    pointTimesMatrix({1, 2, 3}, product, p);
    EXPECT_EQ(p.x, -2.0f);
    EXPECT_EQ(p.y, -2.0f);
    EXPECT_EQ(p.z, 3.0f);
    rigidInverseInPlace(product);
    pointTimesMatrix(p, product, p);
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.z, 3.0f);
    // The stored quaternion turns row vectors by its conjugate: +90 degrees about z sends x to -y.
    const float s = std::sqrt(0.5f);
    quaternionToMatrix(s, 0, 0, s, turn);
    pointTimesMatrix({1, 0, 0}, turn, p);
    EXPECT_NEAR(p.y, -1.0f, 1e-6);
}

TEST(AnimationBake, RestKeysGiveBackTheRestVerticesAndTurnsFollowTheChain) {
    KeyFileRecord file = keyFileWithFrames(3);
    const float quarterTurnZ[4] = {std::sqrt(0.5f), 0, 0, std::sqrt(0.5f)};
    file.frames[1].keys[1] = makeTrackKey(quarterTurnZ, {0, 1, 0});
    const float halfTurnZ[4] = {0, 0, 0, 1};
    file.frames[2].keys[1] = makeTrackKey(halfTurnZ, {0, 1, 0});
    RigFixture rig;
    rig.open({{u"Walk.key", buildKeyFile(file)}});
    const OwnedAnimation walk = rig.load(u"Walk.key");
    ASSERT_EQ(walk->verticesPerFrame, 4);
    EXPECT_EQ(walk->trackMap, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(walk->orientationTrack, -1);

    // Frame 0: everything where it rests; the mesh on no transform keeps a zero block.
    expectVertex(*walk, 0, 0, 65536, 131072, 0);
    expectVertex(*walk, 0, 1, 65536, 131072, 0);
    expectVertex(*walk, 0, 2, 0, 65536, 196608);
    expectVertex(*walk, 0, 3, 0, 0, 0);
    // Frame 1: the head turned a quarter about its own origin (0, 2, 0) takes (1, 2, 0) to
    // (0, 3, 0); the half-weighted vertex lands halfway, at (0.5, 2.5, 0). Float rounding of the
    // quarter turn may cost a raw unit.
    expectVertex(*walk, 1, 0, 0, 196608, 0, 1);
    expectVertex(*walk, 1, 1, 32768, 163840, 0, 1);
    expectVertex(*walk, 1, 2, 0, 65536, 196608);
    // Frame 2: a half turn is exact in float: (1, 2, 0) goes to (-1, 2, 0).
    expectVertex(*walk, 2, 0, -65536, 131072, 0);
    expectVertex(*walk, 2, 1, 0, 131072, 0);
}

TEST(AnimationBake, TheOrientadorTrackBecomesTheFigureFrame) {
    KeyFileRecord file = keyFileWithFrames(1, true);
    file.frames[0].keys[2].translation[0] = 7; // two further along x than at rest
    RigFixture rig;
    rig.open({{u"Turn.key", buildKeyFile(file)}});
    const OwnedAnimation turn = rig.load(u"Turn.key");
    EXPECT_EQ(turn->orientationTrack, 2);
    expectVertex(*turn, 0, 0, -65536, 131072, 0);
    expectVertex(*turn, 0, 2, -131072, 65536, 196608);
}

} // namespace
