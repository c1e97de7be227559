// Playback: time to frame, looping and clamping, finished, and visibility replay.
#include "assets/pose.h"
#include "rig_fixture.h"

namespace {

// Ten frames; in frame f the hip stands f higher, so the head's vertex is at y = 2 + f.
KeyFileRecord risingFile() {
    KeyFileRecord file = keyFileWithFrames(10);
    for (size_t f = 0; f < file.frames.size(); ++f)
        file.frames[f].keys[0].translation[1] = 1.0f + static_cast<float>(f);
    file.frames[3].events.push_back({KeyEventVisibility, "cabeza", "", 0});
    file.frames[3].events.push_back({KeyEventVisibility, "Nadie", "", 0}); // names no transform
    return file;
}

// Two frames; frame 0 shows the head.
KeyFileRecord showFile() {
    KeyFileRecord show = keyFileWithFrames(2);
    show.frames[0].events.push_back({KeyEventVisibility, "Cabeza", "", 1});
    return show;
}

struct PoseFixture : ::testing::Test {
    RigFixture rig;
    OwnedAnimation rising, showHead;
    Owned<Pose, freePose> pose;
    PoseFixture() {
        rig.open(
            {{u"Rise.key", buildKeyFile(risingFile())}, {u"Show.key", buildKeyFile(showFile())}});
        rising = rig.load(u"Rise.key");
        showHead = rig.load(u"Show.key");
        pose.reset(makePose(rig.model));
    }
    void rise(int loop, Fixed time) { setPose(pose.get(), rising.get(), loop, time); }
    Fixed headY() const { return pose->meshVertices[0][1]; }
    int32_t headVisible() const { return primaryLod(*rig.model).meshes[0].visible; }
};

TEST_F(PoseFixture, StartsAtRestWithoutAnAnimation) {
    EXPECT_EQ(pose->animation, nullptr);
    EXPECT_EQ(pose->frame, 0);
    ASSERT_EQ(pose->meshVertices.size(), 3u);
    EXPECT_EQ(pose->meshVertices[1], (std::vector<Fixed>{65536, 131072, 0, 0, 65536, 196608}));
    EXPECT_EQ(pose->meshVertices[2][0], 9 * 65536);
    EXPECT_EQ(pose->transformMatrices.size(), 3u);
    EXPECT_TRUE(poseFinished(pose.get()));
}

TEST_F(PoseFixture, TimeBecomesTheNearestFrame) {
    rise(0, 0);
    EXPECT_EQ(headY(), 2 * 65536);
    rise(0, 1311); // 1311 x 25 is just over half a frame
    EXPECT_EQ(pose->frame, 1);
    EXPECT_EQ(headY(), 3 * 65536);
    rise(0, 1310);
    EXPECT_EQ(pose->frame, 0);
    rise(0, -65536); // a negative time shows the first frame
    EXPECT_EQ(pose->frame, 0);
    EXPECT_EQ(pose->time, -65536);
}

TEST_F(PoseFixture, PastTheEndLoopsOrHolds) {
    rise(0, kFxOne);
    EXPECT_EQ(pose->frame, 9);
    EXPECT_EQ(headY(), 11 * 65536);
    EXPECT_TRUE(poseFinished(pose.get()));
    rise(1, kFxOne);
    EXPECT_EQ(pose->frame, 25 - 20);
    EXPECT_FALSE(poseFinished(pose.get()));
    rise(1, 1000 * kFxOne);
    EXPECT_EQ(pose->frame, 0);
    rise(0, 13107); // 0.2 s: frame 5, and 5 frames are not 10
    EXPECT_FALSE(poseFinished(pose.get()));
}

TEST_F(PoseFixture, VisibilityEventsAreReplayedUpToTheFrameShown) {
    rise(0, 2 * 2621); // frame 2
    EXPECT_EQ(headVisible(), 1);
    rise(0, 4 * 2621); // frame 4 replays frame 3's event
    EXPECT_EQ(headVisible(), 0);
    EXPECT_EQ(primaryLod(*rig.model).meshes[1].visible, 1); // a mesh on no transform is untouched
    rise(0, 0); // back to frame 0: nothing there shows the head again
    EXPECT_EQ(headVisible(), 0);
    KeyAnimation* table[kAnimationCount] = {};
    table[3] = showHead.get();
    applyPlayerAnimation(pose.get(), table, 3, 0, 0); // frame 0 of this one shows it
    EXPECT_EQ(pose->animation, showHead.get());
    EXPECT_EQ(headVisible(), 1);
    applyPlayerAnimation(pose.get(), table, kAnimationCount, 0, 0);
    EXPECT_EQ(pose->animation, nullptr);
}

} // namespace
