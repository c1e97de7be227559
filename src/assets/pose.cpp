// pose.cpp: turning a time into a baked frame, copying its vertices and replaying visibility.
#include "assets/pose.h"

#include <algorithm>
#include <cmath>

#include "assets/key_animation.h"

namespace {

// time x 25 as a Fixed product, then to a whole frame rounding half up.
int32_t frameAtTime(Fixed time) {
    const Fixed frames = fxMul(time, fxFromInt(kKeyFramesPerSecond));
    return static_cast<int32_t>(std::floor(fxToDouble(frames) + 0.5));
}

void copyFrame(Pose* pose, const KeyAnimation& animation) {
    const size_t frameValues = static_cast<size_t>(animation.verticesPerFrame) * 3;
    const Fixed* block = animation.vertexFrames.data() + frameValues * pose->frame;
    size_t left = frameValues;
    // Bounded by the block: a pose on a model with more vertices than the baked one keeps the
    // rest of its vertices instead of reading past the frame.
    for (std::vector<Fixed>& vertices : pose->meshVertices) {
        const size_t count = std::min(vertices.size(), left);
        std::copy(block, block + count, vertices.begin());
        block += count;
        left -= count;
    }
}

void replayVisibility(Pose* pose, const KeyAnimation& animation) {
    const ModelObject& object = pose->model->objects[0];
    ObjectLod& lod = primaryLod(*pose->model);
    for (int32_t f = 0; f <= pose->frame; ++f)
        for (const KeyEvent& event : animation.eventLists[f]) {
            if (event.kind != KeyEventVisibility)
                continue;
            const int32_t transform = findTransformByName(object, event.name);
            if (transform < 0)
                continue;
            for (Mesh& mesh : lod.meshes)
                if (mesh.transformIndex == transform)
                    mesh.visible = event.value;
        }
}

} // namespace

Pose* makePose(Model* model) {
    const ObjectLod& lod = primaryLod(*model);
    auto* pose = new Pose;
    pose->model = model;
    for (const Mesh& mesh : lod.meshes) {
        std::vector<Fixed>& vertices = pose->meshVertices.emplace_back(3 * mesh.vertices.size());
        for (size_t v = 0; v < mesh.vertices.size(); ++v) {
            vertices[3 * v] = fxFromFloat(mesh.vertices[v].x);
            vertices[3 * v + 1] = fxFromFloat(mesh.vertices[v].y);
            vertices[3 * v + 2] = fxFromFloat(mesh.vertices[v].z);
        }
    }
    pose->transformMatrices.resize(model->objects[0].transforms.size());
    return pose;
}

void freePose(Pose* pose) {
    delete pose;
}

void setPose(Pose* pose, const KeyAnimation* animation, uint8_t loop, Fixed time) {
    int32_t frame = 0;
    if (animation) {
        const int32_t count = animation->frameCount;
        frame = std::max(frameAtTime(time), 0);
        if (frame >= count)
            frame = loop ? frame % count : count - 1;
    }
    pose->loop = loop;
    pose->time = time;
    if (animation == pose->animation && frame == pose->frame)
        return;
    pose->animation = animation;
    pose->frame = frame;
    if (!animation)
        return;
    copyFrame(pose, *animation);
    replayVisibility(pose, *animation);
}

bool poseFinished(const Pose* pose) {
    if (!pose->animation)
        return true;
    if (pose->loop)
        return false;
    return fxMul(pose->time, fxFromInt(kKeyFramesPerSecond)) >=
           fxFromInt(pose->animation->frameCount);
}

void applyPlayerAnimation(Pose* pose, KeyAnimation* const* table, int32_t animId, uint8_t loop,
                          Fixed time) {
    const bool known = animId >= 0 && animId < kAnimationCount;
    setPose(pose, known ? table[animId] : nullptr, loop, time);
}
