// figure_posing.h: once per frame, after the simulation steps, the figures take the pose of the
// match players or, on the menus, of the view's own figures, which step through an idle cycle.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "match/match_player.h"
#include "view/game_view.h"

struct Engine3D;
struct Match;

// How far a menu figure is into its animation. The animation plays once; when it ends the next
// one of the idle cycle starts.
struct FigureMotion {
    int32_t anim = AnimRest; // AnimId
    Fixed time = 0;
};

// What posing keeps from frame to frame on the menus: the two players of the selection screens
// and the profile the editor makes.
struct ShownFigures {
    FigureMotion player1;
    FigureMotion player2;
    FigureMotion preview;
};

// The rest animation from its start.
void restartFigure(FigureMotion& figure);
void advanceFigure(FigureMotion& figure, Fixed dt);

// On the match screens both match players; on the selection screens and the editor the shown
// figures, whose animations step through the idle cycle each time they end.
void afterUpdateScreen(Engine3D& engine, const GameView& view, ShownFigures& figures);

// Pose 1 from player 1's record, pose 2 from player 2's.
void poseMatchPlayers(Engine3D& engine, const Match& match);

// The idle cycle of the menu figures: rest, forehand, backhand, smash, rest again. Any other
// animation is its own successor.
int32_t nextIdleAnimation(int32_t anim);
