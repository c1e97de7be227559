// fuzz_key_animation.cpp: any bytes as a .key animation, read and baked against the real player
// model, then played back frame by frame.
#include <cstdint>

#include "assets/asset_names.h"
#include "assets/file_error.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "assets/pose.h"
#include "fuzz_input.h"

namespace {

Model* realModel() {
    static Model* model = [] {
        PakArchive* pak = pakOpen(fromUtf8(builtDataPak()), 1);
        Model* loaded = loadModelFile(pak, kPlayerModelName);
        pakClose(pak);
        return loaded;
    }();
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Model* model = realModel();
    PakArchive* archive = archiveWithEntry(u"A.key", data, size);
    try {
        KeyAnimation* animation = loadKeyAnimation(archive, u"A.key", model);
        Pose* pose = makePose(model);
        for (int32_t f = 0; f < animation->frameCount && f < 64; ++f)
            setPose(pose, animation, 1, f * 2622); // a little over one frame apart
        freePose(pose);
        freeKeyAnimation(animation);
    } catch (const FileError&) {
    }
    pakClose(archive);
    return 0;
}
