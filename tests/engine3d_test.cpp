// The engine's set-up from an archive, its starting state, and teardown when a step fails
// (leaks are caught by the sanitizer build, which runs with leak detection).
#include "view/engine3d.h"

#include <cstring>

#include "engine_fixture.h"
#include "figure_assets.h"
#include "render/render_context.h"

namespace {

TEST_F(EngineFixture, BindsItsContextCopiesTheCamerasAndReadsEachFontIntoItsOwnBitmap) {
    const RenderContext* rc = engine->frame.renderContext;
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->colourBuffer, engine->frame.drawBuffer);
    EXPECT_EQ(rc->width, 240);
    EXPECT_EQ(rc->height, 320);
    EXPECT_NE(engine->jpeg, nullptr);
    const CameraSetup expected = makeCameraSetup();
    EXPECT_EQ(std::memcmp(&engine->camera, &expected, sizeof expected), 0);
    // The fixture's 8x16 font shades from 100, the 6x12 one from 50.
    EXPECT_EQ(engine->frame.font8x16[8], 101);
    EXPECT_EQ(engine->frame.font6x12[16 * 128], 66);
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

// The real figure: the model's own flags, changed by the visibility events of frame 0 of
// animation 0 and nothing else.
TEST(EngineWithBuiltData, PosesStartWithTheFlagsOfFrameZero) {
    const FigureAssets assets = loadFigureAssets();
    const OwnedEngine engine{makeEngine3D(assets.archive.get())};
    const Model& model = *assets.model;
    const KeyAnimation& rest = assets.animation(0);
    std::vector<int32_t> expected;
    for (const Mesh& mesh : primaryLod(model).meshes)
        expected.push_back(mesh.visible);
    for (const KeyEvent& event : rest.eventLists[0])
        if (event.kind == KeyEventVisibility) {
            const int32_t t = findTransformByName(model.objects[0], event.name);
            for (size_t i = 0; i < expected.size(); ++i)
                if (t >= 0 && primaryLod(model).meshes[i].transformIndex == t)
                    expected[i] = event.value;
        }
    for (int figure = 0; figure < kPlayerFigures; ++figure) {
        std::vector<int32_t> visible;
        for (const Mesh& mesh : primaryLod(*engine->playerModels[figure]).meshes)
            visible.push_back(mesh.visible);
        EXPECT_EQ(visible, expected);
        const Pose* pose = engine->playerPoses[figure];
        EXPECT_EQ(pose->frame, 0);
        const std::vector<Fixed> frame0(rest.vertexFrames.begin(),
                                        rest.vertexFrames.begin() + pose->meshVertices[0].size());
        EXPECT_EQ(pose->meshVertices[0], frame0);
    }
}

// Every step of the set-up that can fail, early to late; each must leave nothing behind.
TEST(EngineSetUpFailure, RaisesTheLoadersErrorAndLeaksNothing) {
    const auto all = engineFixtureEntries();
    auto damagedLast = all;
    damagedLast[20].data = {'F', 'K', 'E', 'Y', 0, 0, 0, 0, 'N', 'O', 'P', 'E'}; // animation 19
    const std::pair<std::vector<PakWriterEntry>, const char16_t*> cases[] = {
        {withoutEntry(all, kPlayerModelName), kErrorCannotOpenFile},
        {withoutEntry(all, animationEntryName(12)), kErrorCannotOpenFile},
        {damagedLast, kErrorKeyFileCorrupt},
        {withoutEntry(all, u"D:\\VELDAR\\Data\\FONT6x12.pgm"), kErrorCannotOpenFile},
    };
    for (const auto& [entries, message] : cases) {
        PakFixture pak{entries};
        EXPECT_FILE_ERROR(makeEngine3D(pak.archive), message);
    }
}

} // namespace
