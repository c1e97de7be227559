// figure_pose.h: one posture of the figure (each bone's turn and shift against its bind pose),
// its bone transforms and its skinned vertices, as the game's bake will compute them.
#pragma once

#include <array>
#include <vector>

#include "figure_math.h"
#include "figure_model.h"
#include "figure_skeleton.h"

struct FigurePose {
    std::array<Quat, kFigureBoneCount> rotation{}; // about the bone's joint, parent's axes
    std::array<V3, kFigureBoneCount> shift{};      // moves the joint off its bind place
};

// The bone's pose relative to its parent, as an animation track key states it.
Rigid localTransform(const FigurePose& pose, int bone);
// Every bone's pose in model space.
std::array<Rigid, kFigureBoneCount> boneTransforms(const FigurePose& pose);
// Where a point fixed to `bone` (given in bind-pose model space) ends up.
V3 posedPoint(const std::array<Rigid, kFigureBoneCount>& bones, int bone, V3 bindPoint);
// The racket's head centre in model space.
V3 racketHead(const FigurePose& pose);
// All vertices of one mesh, skinned.
std::vector<V3> posedVertices(const FigureMesh& mesh,
                              const std::array<Rigid, kFigureBoneCount>& bones);
