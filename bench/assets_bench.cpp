// Start-up asset costs: the player model with twenty baked animations, and screen pictures.
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "writers/jpeg_encoder.h"
#include "writers/key_writer.h"
#include "writers/model_writer.h"
#include "writers/pak_writer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

constexpr int kBones = 20, kMeshes = 10, kTrianglesPerMesh = 100, kFrames = 30;

FloatMatrix translation(float x, float y, float z) {
    FloatMatrix m = {};
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

// A chain-and-branch skeleton of 20 bones and 10 meshes of 100 triangles (1,000 in all), half of
// them rigid, half skinned with weights over two bones.
Model benchModel() {
    Model model;
    ModelObject& object = model.objects.emplace_back();
    object.materials.resize(4);
    for (int b = 0; b < kBones; ++b)
        object.transforms.push_back(
            {translation(0, -0.1f * b, 0), b == 0 ? -1 : (b - 1) / 2, "bone" + std::to_string(b)});
    ObjectLod& lod = object.lods.emplace_back();
    for (int m = 0; m < kMeshes; ++m) {
        Mesh& mesh = lod.meshes.emplace_back();
        mesh.visible = 1;
        const int vertices = kTrianglesPerMesh / 2 + 2;
        for (int v = 0; v < vertices; ++v)
            mesh.vertices.push_back({std::sin(v * 0.3f), 0.1f * m + 0.01f * v, std::cos(v * 0.3f)});
        for (int t = 0; t < kTrianglesPerMesh; ++t) {
            mesh.faceMaterials.push_back(t % 4);
            mesh.faces.push_back({{t / 2, t / 2 + 1, t / 2 + 2}});
        }
        mesh.faceSet2 = mesh.faceSet3 = mesh.faces;
        if (m % 2 == 0) {
            mesh.transformIndex = 2 * m;
            continue;
        }
        SkinGroup first{2 * m - 1, {}, 1, {}}, second{2 * m, {}, 1, {}};
        for (int v = 0; v < vertices; ++v) {
            first.vertices.push_back(v);
            second.vertices.push_back(v);
            first.weights.push_back(v / float(vertices));
            second.weights.push_back(1.0f - v / float(vertices));
        }
        mesh.skinGroups = {first, second};
    }
    return model;
}

KeyFileRecord benchAnimation(int seed) {
    KeyFileRecord file;
    for (int b = 0; b < kBones; ++b)
        file.trackNames.push_back("bone" + std::to_string(b));
    for (int f = 0; f < kFrames; ++f) {
        KeyFrameRecord& frame = file.frames.emplace_back();
        for (int b = 0; b < kBones; ++b) {
            const float half = 0.01f * (f + b + seed);
            const float turn[4] = {std::cos(half), std::sin(half), 0, 0};
            frame.keys.push_back(makeTrackKey(turn, {0, b == 0 ? 0.0f : 0.1f, 0}));
        }
    }
    return file;
}

const WideString kModelName = u"D:\\VELDAR\\Data\\Model\\Tenista3.NFO";

WideString animationName(int i) {
    return u"D:\\VELDAR\\Data\\Model\\Anim" + fromUtf8(std::to_string(i)) + u".key";
}

// A picture with gradients and texture, closer to real art than a flat colour.
std::vector<uint8_t> artRgba(int width, int height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 255 / width);
            p[1] = static_cast<uint8_t>(y * 255 / height);
            p[2] = static_cast<uint8_t>(128 + 100 * std::sin(x * 0.2) * std::cos(y * 0.15));
            p[3] = (x / 8 + y / 8) % 3 ? 255 : 0;
        }
    return rgba;
}

struct BenchArchive {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("drovana-assets-bench-" + std::to_string(getpid()) + ".pak"))
                           .string();
    PakArchive* archive = nullptr;
    BenchArchive() {
        std::vector<PakWriterEntry> entries = {{kModelName, buildModelFile(benchModel())}};
        for (int i = 0; i < 20; ++i)
            entries.push_back({animationName(i), buildKeyFile(benchAnimation(i))});
        const auto backdrop = artRgba(240, 320), face = artRgba(105, 33);
        entries.push_back({u"Main.jpg", encodeJpegColour(backdrop.data(), 240, 320)});
        entries.push_back({u"Face.jpg", encodeJpegColour(face.data(), 105, 33)});
        entries.push_back({u"Face_m.jpg", encodeJpegMask(face.data(), 105, 33)});
        writePakFile(path, entries);
        archive = pakOpen(fromUtf8(path), 1);
    }
    ~BenchArchive() {
        pakClose(archive);
        std::filesystem::remove(path);
    }
};

BenchArchive& benchArchive() {
    static BenchArchive archive;
    return archive;
}

void BM_ModelLoadAndBakeTwentyAnimations(benchmark::State& state) {
    PakArchive* archive = benchArchive().archive;
    for (auto _ : state) {
        Model* model = loadModelFile(archive, kModelName);
        KeyAnimation* animations[20];
        for (int i = 0; i < 20; ++i)
            animations[i] = loadKeyAnimation(archive, animationName(i), model);
        benchmark::DoNotOptimize(animations[19]->vertexFrames.data());
        for (KeyAnimation* animation : animations)
            freeKeyAnimation(animation);
        freeModel(model);
    }
}
BENCHMARK(BM_ModelLoadAndBakeTwentyAnimations)->Unit(benchmark::kMillisecond);

void BM_ModelLoad(benchmark::State& state) {
    PakArchive* archive = benchArchive().archive;
    for (auto _ : state)
        freeModel(loadModelFile(archive, kModelName));
}
BENCHMARK(BM_ModelLoad)->Unit(benchmark::kMicrosecond);

void BM_DecodeBackdrop240x320(benchmark::State& state) {
    PakArchive* archive = benchArchive().archive;
    JpegDecoder* decoder = makeJpegDecoder();
    std::vector<uint32_t> backdrop(240 * 320);
    for (auto _ : state)
        loadBackground(decoder, archive, u"Main.jpg", backdrop.data());
    destroyJpegDecoder(decoder);
}
BENCHMARK(BM_DecodeBackdrop240x320)->Unit(benchmark::kMicrosecond);

void BM_DecodeFace105x33WithMask(benchmark::State& state) {
    PakArchive* archive = benchArchive().archive;
    JpegDecoder* decoder = makeJpegDecoder();
    ImageButton* button = makeImageButton(26, 273, 105, 33);
    for (auto _ : state)
        loadFace(decoder, button, archive, 0, u"Face.jpg", u"Face_m.jpg");
    freeImageButton(button);
    destroyJpegDecoder(decoder);
}
BENCHMARK(BM_DecodeFace105x33WithMask)->Unit(benchmark::kMicrosecond);

} // namespace
