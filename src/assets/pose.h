// pose.h: a player figure's current animation frame: its vertices and visibility replay.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/model.h"
#include "core/fixed_point.h"

struct KeyAnimation;

struct Pose {
    Model* model = nullptr; // not owned; its meshes' visible flags are this pose's
    const KeyAnimation* animation = nullptr;
    int32_t frame = 0;
    Fixed time = 0; // seconds last given
    uint8_t loop = 0;
    // One array per mesh of the primary level of detail: vertex count x (x, y, z).
    std::vector<std::vector<Fixed>> meshVertices;
    // One per transform of the first object; allocated here, filled by no one yet.
    std::vector<FloatMatrix> transformMatrices;
};

// The rest vertices, no animation, frame 0. Raises "File data corrupt" for a model without an
// object or level of detail.
Pose* makePose(Model* model);
void freePose(Pose* pose);

// Shows the frame for the time (25 a second, rounded half up): past the end a looping animation
// wraps round and any other holds its last frame; a negative time shows frame 0. Setting the
// frame already shown only stores the time and loop flag. A new frame replays every visibility
// event from frame 0 to it onto the model's meshes.
void setPose(Pose* pose, const KeyAnimation* animation, uint8_t loop, Fixed time);
// True without an animation, never while looping, else once time x 25 reaches the frame count.
bool poseFinished(const Pose* pose);

constexpr int32_t kAnimationCount = 20;
// Sets the pose to entry animId of the twenty-entry table with the player's loop flag and
// animation time; an id outside the table shows no animation.
void applyPlayerAnimation(Pose* pose, KeyAnimation* const* table, int32_t animId, uint8_t loop,
                          Fixed time);
