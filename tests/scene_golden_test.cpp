// Whole frames drawn from the built data.pak compared pixel for pixel with committed pictures.
// The renderer is exact, so any difference is a real change: look at the pictures written on a
// failure, and regenerate with `render-scene --goldens tests/golden` only on purpose.
// The browser build has no libpng: there the test reads the pictures as the build converted them
// to PPM (scripts/golden-to-ppm) and writes no pictures on a failure.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "built_data.h"
#include "scenes/scene_states.h"
#include "view/engine3d.h"
#if !defined(__EMSCRIPTEN__)
#include "writers/png_reader.h"
#include "writers/png_writer.h"
#endif

// Failures name the scene rather than dumping its bytes.
static void PrintTo(const NamedScene& scene, std::ostream* out) {
    *out << scene.name;
}

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

struct Picture {
    std::vector<uint8_t> rgb; // top row first
    int width = 0;
    int height = 0;
};

// The frame buffer (rows bottom-up, alpha in the top byte) as the picture a PNG of it holds.
std::vector<uint8_t> frameRgb(const uint32_t* frameBuffer) {
    std::vector<uint8_t> rgb(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t p = frameBuffer[(kHeight - 1 - y) * kWidth + x];
            for (int c = 0; c < 3; ++c)
                rgb[static_cast<size_t>(y * kWidth + x) * 3 + c] =
                    static_cast<uint8_t>(p >> (8 * c));
        }
    return rgb;
}

#if defined(__EMSCRIPTEN__)
std::string goldenPath(const std::string& name) {
    return std::string(DROVANA_GOLDEN_PPM_DIR) + "/" + name + ".ppm";
}

bool readGolden(const std::string& path, Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get(); // the one white-space byte before the pixels
    if (!in || magic != "P6" || maximum != 255)
        return false;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    return static_cast<bool>(
        in.read(reinterpret_cast<char*>(picture.rgb.data()), std::streamsize(picture.rgb.size())));
}

std::string keepPictures(const std::string&, const uint32_t*, const Picture*) {
    return "the browser build writes no pictures";
}
#else
std::string goldenPath(const std::string& name) {
    return (std::filesystem::path(DROVANA_SOURCE_DIR) / "tests" / "golden" / (name + ".png"))
        .string();
}

bool readGolden(const std::string& path, Picture& picture) {
    return readPngRgb(path, picture.rgb, picture.width, picture.height);
}

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

// Where the drawn frame (and, when there is a golden, the difference) was left for a person.
std::string keepPictures(const std::string& name, const uint32_t* frameBuffer,
                         const Picture* golden) {
    const std::string drawnPath = (outputFolder() / (name + ".png")).string();
    writeFrameBufferPng(drawnPath, frameBuffer);
    if (!golden)
        return "drawn: " + drawnPath;
    const std::string diffPath = (outputFolder() / (name + "_diff.png")).string();
    writePngRgba(diffPath, differenceImage(golden->rgb, frameRgb(frameBuffer)).data(), kWidth,
                 kHeight);
    return "drawn: " + drawnPath + ", difference: " + diffPath;
}
#endif

using OwnedRig = std::unique_ptr<SceneRig, decltype(&destroySceneRig)>;

class SceneGolden : public ::testing::TestWithParam<NamedScene> {};

TEST_P(SceneGolden, MatchesTheCommittedPicture) {
    const NamedScene& scene = GetParam();
    const OwnedRig rig(makeSceneRig(builtDataPath()), destroySceneRig);
    ASSERT_TRUE(setUpScene(*rig, scene.request));
    drawSceneFrame(*rig);
    const uint32_t* frame = rig->resources.engine->frame.drawBuffer;

    Picture golden;
    const std::string path = goldenPath(scene.name);
    if (!readGolden(path, golden))
        FAIL() << "no golden " << path << "; " << keepPictures(scene.name, frame, nullptr);
    ASSERT_EQ(golden.width, kWidth);
    ASSERT_EQ(golden.height, kHeight);
    const std::vector<uint8_t> drawn = frameRgb(frame);
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); i += 3)
        differing += std::memcmp(&drawn[i], &golden.rgb[i], 3) != 0;
    if (differing)
        ADD_FAILURE() << differing << " pixels differ from " << path << "; "
                      << keepPictures(scene.name, frame, &golden);
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneGolden, ::testing::ValuesIn(goldenScenes()),
                         [](const auto& instance) { return instance.param.name; });

} // namespace
