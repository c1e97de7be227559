// figure_files.cpp: from the figure's plain data to the model and .key file records.
#include "figure_files.h"

#include <cstring>
#include <iterator>

#include "assets/asset_names.h"
#include "writers/model_writer.h"

namespace {

Vec3F toFile(V3 v) {
    return {v.x, v.y, v.z};
}

// The bind pose of every bone is unturned, so model space reaches a bone's space by moving its
// joint to the origin.
FloatMatrix restMatrix(int bone) {
    const V3 j = kFigureBones[bone].joint;
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -j.x, -j.y, -j.z, 1};
}

Mesh meshRecord(const FigureMesh& figure) {
    Mesh mesh;
    mesh.visible = figure.visible;
    mesh.transformIndex = figure.skin.empty() ? figure.bone : -1;
    for (const V3& v : figure.vertices)
        mesh.vertices.push_back(toFile(v));
    for (const FigureFace& face : figure.faces) {
        mesh.faceMaterials.push_back(face.material);
        mesh.faces.push_back({{face.v[0], face.v[1], face.v[2]}});
    }
    for (const FigureSkinGroup& group : figure.skin) {
        SkinGroup skin;
        skin.transformIndex = group.bone;
        skin.vertices.assign(group.vertices.begin(), group.vertices.end());
        skin.hasWeights = 1;
        skin.weights = group.weights;
        mesh.skinGroups.push_back(std::move(skin));
    }
    return mesh;
}

} // namespace

Model figureModelRecords(const FigureModel& figure) {
    Model model;
    ModelObject object;
    std::strncpy(object.name, "Tenista", kObjectNameBytes - 1);
    for (const FigureMaterialInfo& info : kFigureMaterials) {
        Material material;
        material.colour[0] = info.r;
        material.colour[1] = info.g;
        material.colour[2] = info.b;
        material.colour[3] = 255;
        material.name = info.name;
        object.materials.push_back(std::move(material));
    }
    for (int bone = 0; bone < kFigureBoneCount; ++bone)
        object.transforms.push_back(
            {restMatrix(bone), kFigureBones[bone].parent, std::string(kFigureBones[bone].name)});
    object.transformCount1 = kFigureBoneCount;
    ObjectLod lod;
    for (const FigureMesh& mesh : figure.meshes)
        lod.meshes.push_back(meshRecord(mesh));
    object.lods.push_back(std::move(lod));
    model.objects.push_back(std::move(object));
    return model;
}

KeyFileRecord figureKeyRecords(const FigureClip& clip) {
    KeyFileRecord file;
    for (const FigureBoneInfo& bone : kFigureBones)
        file.trackNames.push_back(bone.name);
    for (size_t f = 0; f < clip.frames.size(); ++f) {
        KeyFrameRecord frame;
        for (int bone = 0; bone < kFigureBoneCount; ++bone) {
            const Rigid local = localTransform(clip.frames[f], bone);
            const Quat& q = local.rotation;
            const float rotation[4] = {q.w, q.x, q.y, q.z};
            frame.keys.push_back(makeTrackKey(rotation, toFile(local.translation)));
        }
        for (const FigureVisibility& event : clip.events)
            if (event.frame == static_cast<int>(f)) {
                KeyEvent visibility;
                visibility.kind = KeyEventVisibility;
                visibility.name = kFigureBones[event.bone].name;
                visibility.value = event.visible;
                frame.events.push_back(visibility);
            }
        file.frames.push_back(std::move(frame));
    }
    return file;
}

void addFigureFiles(std::vector<PakWriterEntry>& entries) {
    const FigureModel figure = buildFigureModel();
    entries.push_back({kPlayerModelName, buildModelFile(figureModelRecords(figure))});
    const std::vector<FigureClip> clips = buildFigureClips();
    for (int id = 0; id < static_cast<int>(std::size(kAnimationFileNames)); ++id)
        entries.push_back(
            {modelEntryName(kAnimationFileNames[id]), buildKeyFile(figureKeyRecords(clips[id]))});
}
