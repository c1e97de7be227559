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

// The frame buffer (rows bottom-up, alpha in the top byte) as RGB, top row first: what a picture
// file of it holds.
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
const std::string kGoldenFolder = DROVANA_GOLDEN_PPM_DIR;
const std::string kGoldenType = ".ppm";

bool readGolden(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get(); // the one white-space byte before the pixels
    if (!in || magic != "P6" || maximum != 255)
        return false;
    rgb.resize(static_cast<size_t>(width) * height * 3);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(rgb.data()), std::ssize(rgb)));
}

std::string keepPictures(const std::string&, const uint32_t*, const std::vector<uint8_t>*) {
    return "the browser build writes no pictures";
}
#else
const std::string kGoldenFolder = DROVANA_SOURCE_DIR "/tests/golden";
const std::string kGoldenType = ".png";
constexpr auto readGolden = readPngRgb;

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
                         const std::vector<uint8_t>* golden) {
    const std::filesystem::path folder = std::filesystem::path(DROVANA_BUILD_DIR) / "render-output";
    std::filesystem::create_directories(folder);
    const std::string drawnPath = (folder / (name + ".png")).string();
    writeFrameBufferPng(drawnPath, frameBuffer);
    if (!golden)
        return "drawn: " + drawnPath;
    const std::string diffPath = (folder / (name + "_diff.png")).string();
    writePngRgba(diffPath, differenceImage(*golden, frameRgb(frameBuffer)).data(), kWidth, kHeight);
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

    std::vector<uint8_t> golden;
    int width = 0, height = 0;
    const std::string path = kGoldenFolder + "/" + scene.name + kGoldenType;
    if (!readGolden(path, golden, width, height))
        FAIL() << "no golden " << path << "; " << keepPictures(scene.name, frame, nullptr);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    const std::vector<uint8_t> drawn = frameRgb(frame);
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); i += 3)
        differing += std::memcmp(&drawn[i], &golden[i], 3) != 0;
    if (differing)
        ADD_FAILURE() << differing << " pixels differ from " << path << "; "
                      << keepPictures(scene.name, frame, &golden);
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneGolden, ::testing::ValuesIn(goldenScenes()),
                         [](const auto& instance) { return instance.param.name; });

} // namespace
