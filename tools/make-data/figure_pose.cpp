// figure_pose.cpp: forward kinematics and skinning over the figure's skeleton.
#include "figure_pose.h"

Rigid localTransform(const FigurePose& pose, int bone) {
    const FigureBoneInfo& info = kFigureBones[bone];
    const V3 parentJoint = info.parent >= 0 ? kFigureBones[info.parent].joint : V3{};
    return {pose.rotation[bone], info.joint - parentJoint + pose.shift[bone]};
}

std::array<Rigid, kFigureBoneCount> boneTransforms(const FigurePose& pose) {
    std::array<Rigid, kFigureBoneCount> bones;
    for (int i = 0; i < kFigureBoneCount; ++i) {
        const Rigid local = localTransform(pose, i);
        const int parent = kFigureBones[i].parent;
        bones[i] = parent >= 0 ? compose(bones[parent], local) : local;
    }
    return bones;
}

V3 posedPoint(const std::array<Rigid, kFigureBoneCount>& bones, int bone, V3 bindPoint) {
    return apply(bones[bone], bindPoint - kFigureBones[bone].joint);
}

V3 racketHead(const FigurePose& pose) {
    return posedPoint(boneTransforms(pose), BoneRacket,
                      kFigureBones[BoneRacket].joint + kRacketHeadCentre);
}

std::vector<V3> posedVertices(const FigureMesh& mesh,
                              const std::array<Rigid, kFigureBoneCount>& bones) {
    std::vector<V3> out(mesh.vertices.size());
    if (mesh.skin.empty()) {
        for (size_t v = 0; v < out.size(); ++v)
            out[v] = posedPoint(bones, mesh.bone, mesh.vertices[v]);
        return out;
    }
    for (const auto& group : mesh.skin)
        for (size_t k = 0; k < group.vertices.size(); ++k) {
            const int v = group.vertices[k];
            out[v] = out[v] + posedPoint(bones, group.bone, mesh.vertices[v]) * group.weights[k];
        }
    return out;
}
