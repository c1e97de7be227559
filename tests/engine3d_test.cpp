// The engine's set-up from an archive, its starting state, and teardown on success and failure
// (leaks are caught by the sanitizer build, which runs with leak detection).
#include "view/engine3d.h"

#include <cstring>

#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"
#include "built_data.h"
#include "engine_fixture.h"
#include "render/render_context.h"

namespace {

struct EngineFixture : ::testing::Test {
    PakFixture pak{engineFixtureEntries()};
    Engine3D* engine = makeEngine3D(pak.archive);
    ~EngineFixture() override { destroyEngine3D(engine); }
};

TEST_F(EngineFixture, StartsDrawingIntoBufferAWithNothingShown) {
    const FrameBuffers& fb = engine->frame;
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    EXPECT_EQ(fb.shownBuffer, fb.bufferB);
    EXPECT_EQ(fb.frameShown, 0);
    EXPECT_EQ(fb.bufferA[0], 0u);
    EXPECT_EQ(fb.bufferB[kScreenPixels - 1], 0x01010101u);
    EXPECT_EQ(fb.backdrop[0], 0x02020202u);
    // The fonts are the block's last two pieces, 8x16 first.
    EXPECT_EQ(fb.font8x16, fb.block + 3 * kFrameBufferBytes);
    EXPECT_EQ(fb.font6x12, fb.font8x16 + kFontBitmapBytes);
}

TEST_F(EngineFixture, RenderContextIsBoundToTheDrawBuffer) {
    const RenderContext* rc = engine->frame.renderContext;
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->colourBuffer, engine->frame.drawBuffer);
    EXPECT_EQ(rc->width, 240);
    EXPECT_EQ(rc->height, 320);
    EXPECT_NE(rc->depthBuffer, nullptr);
    EXPECT_NE(engine->jpeg, nullptr);
}

TEST_F(EngineFixture, CamerasMatchTheirSetUp) {
    const CameraSetup expected = makeCameraSetup();
    EXPECT_EQ(std::memcmp(&engine->camera, &expected, sizeof expected), 0);
    EXPECT_EQ(engine->camera.frustumWidth, fxMul(16 << 16, 13697));
}

TEST_F(EngineFixture, BothPosesShowFrameZeroOfAnimationZeroOnTheirOwnModel) {
    ASSERT_NE(engine->playerModels[0], engine->playerModels[1]);
    for (int i = 0; i < kPlayerFigures; ++i) {
        const Pose* pose = engine->playerPoses[i];
        EXPECT_EQ(pose->model, engine->playerModels[i]);
        EXPECT_EQ(pose->animation, engine->animations[0]);
        EXPECT_EQ(pose->frame, 0);
        EXPECT_EQ(pose->loop, 1);
        EXPECT_EQ(pose->time, 0);
        // The model hides the racket; frame 0 of animation 0 shows it.
        const ObjectLod& lod = primaryLod(*engine->playerModels[i]);
        EXPECT_EQ(lod.meshes[0].visible, 1);
        EXPECT_EQ(lod.meshes[1].visible, 1);
        EXPECT_EQ(pose->meshVertices[0][6], 50 << 16); // board corner (50, 180, 0)
        EXPECT_EQ(pose->meshVertices[0][7], 180 << 16);
    }
}

TEST_F(EngineFixture, TwentyAnimationsBakedAgainstModelZeroInTableOrder) {
    for (int i = 0; i < kAnimationCount; ++i) {
        ASSERT_NE(engine->animations[i], nullptr);
        EXPECT_EQ(engine->animations[i]->frameCount, 5 + i);
        EXPECT_EQ(engine->animations[i]->verticesPerFrame, 7);
    }
    EXPECT_EQ(animationEntryName(0), u"D:\\VELDAR\\Data\\Model\\Tenista_Reposo_Normal.key");
    EXPECT_EQ(animationEntryName(19), u"D:\\VELDAR\\Data\\Model\\Tenista_Perder_Partido.key");
}

TEST_F(EngineFixture, FontsAreReadPastTheirHeaders) {
    EXPECT_EQ(engine->frame.font8x16[0], 100);
    EXPECT_EQ(engine->frame.font8x16[8], 101);
    EXPECT_EQ(engine->frame.font6x12[0], 50);
    EXPECT_EQ(engine->frame.font6x12[16 * 128], 66);
}

// The real figure: the model's own flags, changed by the visibility events of frame 0 of
// animation 0 and nothing else.
TEST(EngineWithBuiltData, PosesStartWithTheFlagsOfFrameZero) {
    PakArchive* archive = openBuiltData();
    Engine3D* engine = makeEngine3D(archive);
    Model* model = loadModelFile(archive, kPlayerModelName);
    KeyAnimation* rest = loadKeyAnimation(archive, animationEntryName(0), model);
    std::vector<int32_t> expected;
    for (const Mesh& mesh : primaryLod(*model).meshes)
        expected.push_back(mesh.visible);
    for (const KeyEvent& event : rest->eventLists[0])
        if (event.kind == KeyEventVisibility) {
            const int32_t t = findTransformByName(model->objects[0], event.name);
            for (size_t i = 0; i < expected.size(); ++i)
                if (t >= 0 && primaryLod(*model).meshes[i].transformIndex == t)
                    expected[i] = event.value;
        }
    for (int figure = 0; figure < kPlayerFigures; ++figure) {
        std::vector<int32_t> visible;
        for (const Mesh& mesh : primaryLod(*engine->playerModels[figure]).meshes)
            visible.push_back(mesh.visible);
        EXPECT_EQ(visible, expected);
        const Pose* pose = engine->playerPoses[figure];
        EXPECT_EQ(pose->frame, 0);
        const std::vector<Fixed> frame0(rest->vertexFrames.begin(),
                                        rest->vertexFrames.begin() + pose->meshVertices[0].size());
        EXPECT_EQ(pose->meshVertices[0], frame0);
    }
    freeKeyAnimation(rest);
    freeModel(model);
    destroyEngine3D(engine);
    pakClose(archive);
}

TEST(EngineTeardown, FreesAnimationsAPoseStillShows) {
    PakFixture pak{engineFixtureEntries()};
    Engine3D* engine = makeEngine3D(pak.archive);
    setPose(engine->playerPoses[1], engine->animations[19], 0, kFxOne);
    destroyEngine3D(engine);
    destroyEngine3D(nullptr);
}

// Every step of the set-up that can fail, early to late; each must leave nothing behind.
TEST(EngineSetUpFailure, RaisesTheLoadersErrorAndLeaksNothing) {
    const auto all = engineFixtureEntries();
    {
        PakFixture pak{withoutEntry(all, kPlayerModelName)};
        EXPECT_FILE_ERROR(makeEngine3D(pak.archive), kErrorCannotOpenFile);
    }
    {
        PakFixture pak{withoutEntry(all, animationEntryName(12))};
        EXPECT_FILE_ERROR(makeEngine3D(pak.archive), kErrorCannotOpenFile);
    }
    {
        auto entries = all;
        entries[20].data = {'F', 'K', 'E', 'Y', 0, 0, 0, 0, 'N', 'O', 'P', 'E'}; // animation 19
        PakFixture pak{entries};
        EXPECT_FILE_ERROR(makeEngine3D(pak.archive), kErrorKeyFileCorrupt);
    }
    {
        PakFixture pak{withoutEntry(all, u"D:\\VELDAR\\Data\\FONT6x12.pgm")};
        EXPECT_FILE_ERROR(makeEngine3D(pak.archive), kErrorCannotOpenFile);
    }
}

} // namespace
