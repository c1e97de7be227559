// animation_bake.cpp: bone matrices per frame, the "Orientador" frame, rigid and weighted skins.
#include "assets/animation_bake.h"

#include <algorithm>
#include <cmath>

#include "assets/float_matrix.h"
#include "assets/key_animation.h"

namespace {

// Conversion of a baked coordinate; a NaN from a damaged file becomes 0 instead of reaching an
// undefined float-to-integer conversion.
Fixed bakedFixed(float value) {
    return std::isnan(value) ? 0 : fxFromFloat(value);
}

// Step 1 of every frame, the same for all of them: each bone relative to its parent at rest.
std::vector<FloatMatrix> restRelativeToParents(const ModelObject& object) {
    std::vector<FloatMatrix> relative(object.transforms.size());
    for (size_t i = 0; i < relative.size(); ++i) {
        const ObjectTransform& transform = object.transforms[i];
        relative[i] = transform.rest;
        rigidInverseInPlace(relative[i]);
        if (transform.parent != -1)
            multiplyInPlace(relative[i], object.transforms[transform.parent].rest);
    }
    return relative;
}

// Leaves in `bones` the matrix that takes each rest vertex to its place in frame f.
void poseBones(const KeyAnimation& animation, const FloatMatrix* frameKeys,
               const ModelObject& object, std::vector<FloatMatrix>& bones) {
    for (int32_t t = 0; t < animation.trackCount; ++t)
        if (animation.trackMap[t] != -1)
            bones[animation.trackMap[t]] = frameKeys[t];
    // Parents come before their children, so one pass in index order chains whole limbs.
    for (size_t i = 0; i < bones.size(); ++i)
        if (object.transforms[i].parent != -1)
            multiplyInPlace(bones[i], bones[object.transforms[i].parent]);
    for (size_t i = 0; i < bones.size(); ++i)
        multiplyMatrices(object.transforms[i].rest, bones[i], bones[i]);
    if (animation.orientationTrack >= 0) {
        FloatMatrix orientation = bones[animation.trackMap[animation.orientationTrack]];
        rigidInverseInPlace(orientation);
        for (FloatMatrix& bone : bones)
            multiplyInPlace(bone, orientation);
    }
}

void storeVertex(Fixed* out, const Vec3F& p) {
    out[0] = bakedFixed(p.x);
    out[1] = bakedFixed(p.y);
    out[2] = bakedFixed(p.z);
}

// Each coordinate is weighted in float, converted, and only then added.
void addWeightedVertex(Fixed* out, const Vec3F& p, float weight) {
    out[0] = fxAdd(out[0], bakedFixed(p.x * weight));
    out[1] = fxAdd(out[1], bakedFixed(p.y * weight));
    out[2] = fxAdd(out[2], bakedFixed(p.z * weight));
}

void skinMesh(const Mesh& mesh, const std::vector<FloatMatrix>& bones, Fixed* out) {
    Vec3F moved;
    if (mesh.skinGroups.empty()) {
        // A mesh on no transform keeps whatever its block holds (zero).
        if (mesh.transformIndex == -1)
            return;
        for (size_t v = 0; v < mesh.vertices.size(); ++v) {
            pointTimesMatrix(mesh.vertices[v], bones[mesh.transformIndex], moved);
            storeVertex(out + 3 * v, moved);
        }
        return;
    }
    std::fill(out, out + 3 * mesh.vertices.size(), 0);
    for (const SkinGroup& group : mesh.skinGroups) {
        const FloatMatrix& bone = bones[group.transformIndex];
        for (size_t i = 0; i < group.vertices.size(); ++i) {
            const int32_t v = group.vertices[i];
            pointTimesMatrix(mesh.vertices[v], bone, moved);
            if (group.hasWeights)
                addWeightedVertex(out + 3 * v, moved, group.weights[i]);
            else
                storeVertex(out + 3 * v, moved);
        }
    }
}

} // namespace

int32_t countPrimaryVertices(const Model& model) {
    int64_t count = 0;
    for (const Mesh& mesh : primaryLod(model).meshes)
        count += static_cast<int64_t>(mesh.vertices.size());
    return static_cast<int32_t>(count);
}

void bakeKeyAnimation(KeyAnimation& animation, const FloatMatrix* keys, const Model& model) {
    const ModelObject& object = model.objects[0];
    const ObjectLod& lod = primaryLod(model);
    animation.verticesPerFrame = countPrimaryVertices(model);
    const size_t frameValues = static_cast<size_t>(animation.verticesPerFrame) * 3;
    animation.vertexFrames.assign(frameValues * static_cast<size_t>(animation.frameCount), 0);
    const std::vector<FloatMatrix> atRest = restRelativeToParents(object);
    std::vector<FloatMatrix> bones;
    for (int32_t f = 0; f < animation.frameCount; ++f) {
        bones = atRest;
        poseBones(animation, keys + static_cast<size_t>(f) * animation.trackCount, object, bones);
        Fixed* out = animation.vertexFrames.data() + frameValues * static_cast<size_t>(f);
        for (const Mesh& mesh : lod.meshes) {
            skinMesh(mesh, bones, out);
            out += 3 * mesh.vertices.size();
        }
    }
}
