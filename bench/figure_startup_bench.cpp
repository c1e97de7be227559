// Start-up cost of the engine's assets from the built data.pak: both player models, the twenty
// animations baked against the first, the two poses and both fonts.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assets/asset_names.h"
#include "assets/image_loading.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "assets/pose.h"

namespace {

void BM_EngineAssetStartUp(benchmark::State& state) {
    PakArchive* archive = pakOpen(fromUtf8(std::string(DROVANA_BUILD_DIR) + "/data.pak"), 1);
    std::vector<uint8_t> font8x16(12288), font6x12(12288);
    double bakedBytes = 0;
    for (auto _ : state) {
        Model* models[2] = {loadModelFile(archive, kPlayerModelName),
                            loadModelFile(archive, kPlayerModelName)};
        std::vector<KeyAnimation*> animations;
        for (const char16_t* file : kAnimationFileNames)
            animations.push_back(loadKeyAnimation(archive, modelEntryName(file), models[0]));
        Pose* poses[2] = {makePose(models[0]), makePose(models[1])};
        setPose(poses[0], animations[0], 1, 0);
        setPose(poses[1], animations[0], 1, 0);
        loadFont(archive, kFont8x16Name, font8x16.data());
        loadFont(archive, kFont6x12Name, font6x12.data());
        bakedBytes = 0;
        for (const KeyAnimation* animation : animations)
            bakedBytes += static_cast<double>(animation->vertexFrames.size() * sizeof(Fixed));
        for (Pose* pose : poses)
            freePose(pose);
        for (KeyAnimation* animation : animations)
            freeKeyAnimation(animation);
        for (Model* model : models)
            freeModel(model);
    }
    state.counters["baked_bytes"] = bakedBytes;
    pakClose(archive);
}
BENCHMARK(BM_EngineAssetStartUp)->Unit(benchmark::kMillisecond);

} // namespace
