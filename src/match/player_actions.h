// player_actions.h: moving a player, its stroke state machine and the human's controls.
#pragma once

#include "core/fixed_point.h"

struct Match;
struct MatchPlayer;

constexpr Fixed kLearningRate = 13;           // 0.000198 per metre run or per stroke
constexpr Fixed kMaxLearnedRunSpeed = 360448; // 5.5 m/s

// Walks or runs toward the stroke spot (a stroke is planned or under way) or the move target,
// stopping on the movement bounds. t is the time moved; the caller's clock runs on regardless.
void movePlayer(MatchPlayer& p, Fixed t);
void startStrokeAnim(MatchPlayer& p);
void setIdleAnim(MatchPlayer& p, int forServe);

// One sub-step for one player; may shorten step. Returns 1 when this call struck the ball.
int updatePlayer(MatchPlayer& p, int isStriker, Match* m, MatchPlayer& other, Fixed& step);
// The human's tap on the opponent's half outside a serve.
void requestShot(MatchPlayer& p, Match* m, MatchPlayer& other);
void startHumanServe(MatchPlayer& p, Match* m);
