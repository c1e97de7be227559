// engine3d.cpp: the engine's set-up and teardown, each in its fixed order.
#include "view/engine3d.h"

#include <iterator>

#include "assets/asset_names.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "render/render_context.h"

static_assert(std::size(kAnimationFileNames) == kAnimationCount);

namespace {

void setUpEngine(Engine3D& engine, PakArchive* archive) {
    engine.camera = makeCameraSetup();

    makeFrameBuffers(engine.frame);

    engine.frame.renderContext = rcCreate();
    rcBindBuffer(engine.frame.renderContext, engine.frame.drawBuffer, kScreenWidth, kScreenHeight);

    engine.jpeg = makeJpegDecoder();

    for (Model*& model : engine.playerModels)
        model = loadModelFile(archive, kPlayerModelName);

    // Zeroed first, so a failure part-way leaves only real animations to free.
    engine.animations = new KeyAnimation*[kAnimationCount]();
    for (int i = 0; i < kAnimationCount; ++i)
        engine.animations[i] =
            loadKeyAnimation(archive, animationEntryName(i), engine.playerModels[0]);

    for (int i = 0; i < kPlayerFigures; ++i)
        engine.playerPoses[i] = makePose(engine.playerModels[i]);
    for (Pose* pose : engine.playerPoses)
        setPose(pose, engine.animations[0], 1, 0);

    loadFont(archive, kFont8x16Name, engine.frame.font8x16);
    loadFont(archive, kFont6x12Name, engine.frame.font6x12);
}

} // namespace

WideString animationEntryName(int animId) {
    return modelEntryName(kAnimationFileNames[animId]);
}

Engine3D* makeEngine3D(PakArchive* archive) {
    auto* engine = new Engine3D;
    try {
        setUpEngine(*engine, archive);
    } catch (...) {
        destroyEngine3D(engine);
        throw;
    }
    return engine;
}

void destroyEngine3D(Engine3D* engine) {
    if (!engine)
        return;
    rcDestroy(engine->frame.renderContext);
    engine->frame.renderContext = nullptr;
    freeFrameBuffers(engine->frame);
    for (Model*& model : engine->playerModels) {
        freeModel(model);
        model = nullptr;
    }
    // The poses only point at the animations, so they go first and nothing dangles.
    for (Pose*& pose : engine->playerPoses) {
        freePose(pose);
        pose = nullptr;
    }
    if (engine->animations) {
        for (int i = 0; i < kAnimationCount; ++i)
            freeKeyAnimation(engine->animations[i]);
        delete[] engine->animations;
        engine->animations = nullptr;
    }
    destroyJpegDecoder(engine->jpeg);
    engine->jpeg = nullptr;
    delete engine;
}
