// figure_animations.h: the twenty movements of the player figure, frame by frame, in the game's
// animation order, with the ball's visibility switches.
#pragma once

#include <vector>

#include "core/fixed_point.h"
#include "figure_pose.h"

inline constexpr int kFramesPerSecond = 25;

// A switch of the visibility of the meshes carried by `bone`, from `frame` on.
struct FigureVisibility {
    int frame;
    int bone;
    int visible;
};

struct FigureClip {
    bool loops;
    std::vector<FigurePose> frames;
    std::vector<FigureVisibility> events;
    int stroke = 0;        // `StrokeId` whose contact this clip shows, 0 for none
    int contactFrame = -1; // the frame at which the racket meets the ball
};

// In `AnimId` order.
std::vector<FigureClip> buildFigureClips();

// Frames of a stroke's animation (its swing time) and the frame of its contact, at 25 a second
// rounded as playback rounds.
int strokeLength(int stroke);
int strokeContact(int stroke);

// The box (model space, cm) in which a stroke's racket head must meet the ball: the reach of
// the stroke's row for a player facing -z, turned into the figure's own +z facing.
struct ReachBox {
    V3 low, high;
};
ReachBox modelReachBox(int stroke);
