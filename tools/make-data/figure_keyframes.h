// figure_keyframes.h: authoring the figure's movements: key postures in degrees, smooth
// in-betweens, feet kept on the court, and the racket head steered to where the ball is met.
#pragma once

#include <array>
#include <vector>

#include "figure_pose.h"

// A key posture: each bone's turn as angles in degrees (see eulerDegrees) and the body's shift.
struct KeyPosture {
    std::array<V3, kFigureBoneCount> angles{};
    V3 pelvisShift{};
};

struct Keyframe {
    int frame;
    KeyPosture posture;
};

FigurePose toPose(const KeyPosture& posture);

// Lowers or raises the body so the lower ankle stands at its bind height (feet on the court).
void groundFeet(KeyPosture& posture);

// Raises the body just enough that no vertex of the body or racket lies below the court
// (y = 0): curves between postures may swing a toe, a knee or the racket through it.
void liftOffCourt(KeyPosture& posture, const FigureModel& figure);

// Every frame 0 .. frameCount - 1, through the keys with Catmull-Rom curves per angle. A loop's
// curve runs on from the last key into the first (frameCount frames later), so it has no seam.
std::vector<KeyPosture> inBetweens(const std::vector<Keyframe>& keys, int frameCount, bool loops);

// One angle (axis 0, 1, 2 = x, y, z) of one bone, or the body's shift (bone -1).
struct Channel {
    int bone;
    int axis;
};

// Moves the listed channels as little as it can so that the racket head reaches `target`
// (model space, cm). Returns the distance left.
float reachWithRacket(KeyPosture& posture, V3 target, const std::vector<Channel>& channels);
