// figure_posing.h: once per frame, after the simulation steps, the figures take the pose of
// their records' animation state.
#pragma once

#include <cstdint>

#include "view/game_view.h"

struct Engine3D;
struct Match;

// On the match screens both match players; on the selection screens and the editor the shown
// records, whose animations step through the idle cycle each time they end.
void afterUpdateScreen(Engine3D& engine, const GameView& view);

// Pose 1 from player 1's record, pose 2 from player 2's.
void poseMatchPlayers(Engine3D& engine, const Match& match);

// The idle cycle of the menu figures: rest, forehand, backhand, smash, rest again. Any other
// animation is its own successor.
int32_t nextIdleAnimation(int32_t anim);
