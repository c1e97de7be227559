// figure_skeleton.h: the player figure's bones, their names in the files, parents and joints.
#pragma once

#include "figure_math.h"

// Parents come before their children, as the bake requires.
enum FigureBone : int {
    BoneRoot,
    BonePelvis,
    BoneSpine,
    BoneHead,
    BoneUpperArmR,
    BoneForeArmR,
    BoneHandR,
    BoneUpperArmL,
    BoneForeArmL,
    BoneHandL,
    BoneThighR,
    BoneShinR,
    BoneFootR,
    BoneThighL,
    BoneShinL,
    BoneFootL,
    BoneRacket,
    BoneBall,
    kFigureBoneCount
};

struct FigureBoneInfo {
    const char* name; // the transform's name, which the animation tracks repeat
    int parent;       // -1 for the root
    V3 joint;         // where the bone turns, in model space (cm) in the bind pose
};

// "R" is the racket side, model +x, which the game's mirrored drawing puts on the player's right.
extern const FigureBoneInfo kFigureBones[kFigureBoneCount];

// The racket's head centre in the racket bone's frame (its grip is at the origin) and its length.
inline constexpr V3 kRacketHeadCentre{0.0f, -47.0f, 0.0f};
inline constexpr float kBallRadius = 3.3f;
