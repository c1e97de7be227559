// Whole frames drawn from the built data.pak compared pixel for pixel with committed pictures.
// The renderer is exact, so any difference is a real change: look at the pictures written on a
// failure, and regenerate with `render-scene --goldens tests/golden` only on purpose.
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "built_data.h"
#include "scenes/scene_states.h"
#include "view/engine3d.h"
#include "writers/png_reader.h"
#include "writers/png_writer.h"

// Failures name the scene rather than dumping its bytes.
static void PrintTo(const NamedScene& scene, std::ostream* out) {
    *out << scene.name;
}

namespace {

const std::filesystem::path kGoldenFolder =
    std::filesystem::path(__FILE__).parent_path() / "golden";

std::filesystem::path outputFolder() {
    const std::filesystem::path folder = std::filesystem::path(DROVANA_BUILD_DIR) / "render-output";
    std::filesystem::create_directories(folder);
    return folder;
}

// The golden dimmed to a quarter, every differing pixel bright red.
std::vector<uint8_t> differenceImage(const std::vector<uint8_t>& golden,
                                     const std::vector<uint8_t>& drawn) {
    std::vector<uint8_t> rgba(golden.size() / 3 * 4);
    for (size_t i = 0, n = golden.size() / 3; i < n; ++i) {
        const bool differs = std::memcmp(&golden[3 * i], &drawn[3 * i], 3) != 0;
        for (int c = 0; c < 3; ++c)
            rgba[4 * i + c] = differs ? (c == 0 ? 255 : 0) : golden[3 * i + c] / 4;
        rgba[4 * i + 3] = 255;
    }
    return rgba;
}

class SceneGolden : public ::testing::TestWithParam<NamedScene> {};

TEST_P(SceneGolden, MatchesTheCommittedPicture) {
    const NamedScene& scene = GetParam();
    SceneRig* rig = makeSceneRig(builtDataPath());
    ASSERT_TRUE(setUpScene(*rig, scene.request));
    drawSceneFrame(*rig);
    const std::vector<uint8_t> drawn = frameBufferRgb(rig->resources.engine->frame.drawBuffer);
    const std::string actualPath = (outputFolder() / (scene.name + ".png")).string();

    std::vector<uint8_t> golden;
    int width = 0, height = 0;
    const std::string goldenPath = (kGoldenFolder / (scene.name + ".png")).string();
    if (!readPngRgb(goldenPath, golden, width, height)) {
        writeFrameBufferPng(actualPath, rig->resources.engine->frame.drawBuffer);
        destroySceneRig(rig);
        FAIL() << "no golden " << goldenPath << "; this frame is in " << actualPath;
    }
    ASSERT_EQ(width, 240);
    ASSERT_EQ(height, 320);
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); i += 3)
        differing += std::memcmp(&drawn[i], &golden[i], 3) != 0;
    if (differing) {
        writeFrameBufferPng(actualPath, rig->resources.engine->frame.drawBuffer);
        const std::string diffPath = (outputFolder() / (scene.name + "_diff.png")).string();
        writePngRgba(diffPath, differenceImage(golden, drawn).data(), 240, 320);
        ADD_FAILURE() << differing << " pixels differ from " << goldenPath
                      << "; drawn: " << actualPath << ", difference: " << diffPath;
    }
    destroySceneRig(rig);
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneGolden, ::testing::ValuesIn(goldenScenes()),
                         [](const auto& instance) { return instance.param.name; });

} // namespace
