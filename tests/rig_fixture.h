// rig_fixture.h: a two-bone figure and .key files for it, written to a real archive.
#pragma once

#include <cmath>
#include <cstring>

#include "assets/key_animation.h"
#include "assets/model.h"
#include "pak_fixture.h"
#include "writers/key_writer.h"
#include "writers/model_writer.h"

inline const WideString kRigModelName = u"D:\\VELDAR\\Data\\Model\\Tenista3.NFO";

inline FloatMatrix translation(float x, float y, float z) {
    FloatMatrix m = {};
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

// Bones: "Cadera" (root, bind at (0, 1, 0)), "Cabeza" (its child, bind at (0, 2, 0)) and
// "Orientador" (root, bind at (5, 0, 0)); rest matrices are the inverse bind poses.
// Meshes: 0 rigid on Cabeza, vertex (1, 2, 0); 1 skinned: vertex 0 half on each bone, vertex 1
// whole on Cadera without weights; 2 on no transform, vertex (9, 9, 9).
inline Model rigModel() {
    Model model;
    ModelObject& object = model.objects.emplace_back();
    object.materials.resize(1);
    object.transforms = {{translation(0, -1, 0), -1, std::string("Cadera")},
                         {translation(0, -2, 0), 0, std::string("Cabeza")},
                         {translation(-5, 0, 0), -1, std::string("Orientador")}};
    Mesh rigid;
    rigid.visible = 1;
    rigid.transformIndex = 1;
    rigid.vertices = {{1, 2, 0}};
    Mesh skinned;
    skinned.visible = 1;
    skinned.vertices = {{1, 2, 0}, {0, 1, 3}};
    skinned.skinGroups = {{0, {0}, 1, {0.5f}}, {1, {0}, 1, {0.5f}}, {0, {1}, 0, {}}};
    Mesh loose;
    loose.visible = 1;
    loose.vertices = {{9, 9, 9}};
    object.lods.push_back({0, {rigid, skinned, loose}});
    return model;
}

// The keys that hold every bone where it is at rest: each bone's origin relative to its parent.
inline KeyFrameRecord restFrame(bool withOrientador) {
    KeyFrameRecord frame;
    frame.keys.resize(withOrientador ? 3 : 2);
    frame.keys[0].translation[1] = 1; // Cadera at (0, 1, 0)
    frame.keys[1].translation[1] = 1; // Cabeza one above Cadera
    if (withOrientador)
        frame.keys[2].translation[0] = 5;
    return frame;
}

inline KeyFileRecord keyFileWithFrames(int frames, bool withOrientador = false) {
    KeyFileRecord file;
    file.trackNames = {"cadera", "CABEZA"};
    if (withOrientador)
        file.trackNames.push_back("ORIENTADOR");
    file.frames.assign(static_cast<size_t>(frames), restFrame(withOrientador));
    return file;
}

// The model and the named .key files in one archive, the model loaded.
struct RigFixture {
    PakFixture pak;
    Model* model = nullptr;
    ~RigFixture() { freeModel(model); }
    void open(const std::vector<std::pair<WideString, std::vector<uint8_t>>>& keyFiles,
              const Model& written = rigModel()) {
        std::vector<PakWriterEntry> entries = {{kRigModelName, buildModelFile(written)}};
        for (const auto& [name, bytes] : keyFiles)
            entries.push_back({name, bytes});
        pak.open(entries);
        freeModel(model);
        model = nullptr;
        model = loadModelFile(pak.archive, kRigModelName);
    }
    OwnedAnimation load(const WideString& name) {
        return OwnedAnimation{loadKeyAnimation(pak.archive, name, model)};
    }
};
