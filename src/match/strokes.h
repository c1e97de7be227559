// strokes.h: predicting the ball to plan a stroke, and turning a stroke into a new flight.
#pragma once

#include "core/fixed_point.h"

struct Match;
struct MatchPlayer;

constexpr Fixed kPredictionStep = 3276; // 0.05 s, the simulation's own step
// Prediction and the launch search stop after this many 0.05 s steps of one flight (a minute):
// a ball in play bounces twice or lands long before, so only a ball that can never meet the
// ground (one below it, heading down) reaches the limit.
constexpr int kMaxFlightSteps = 1200;
// The launch search gives up after this many trial flights and keeps its best trial; ordinary
// searches need a few dozen.
constexpr int kMaxLaunchTrials = 4000;

// Chooses the stroke for the ball in play and fills the stroke fields, or sets stroke 0.
// factor scales the planned speed and spin.
void planStroke(MatchPlayer& p, Match* m, MatchPlayer& other, Fixed& factor);
// The stroke, its speed, spin, launch range, swing and contact times from the stroke table.
void takeStrokeRow(MatchPlayer& p, int id);
// 1 with the stroke fields filled when the player can get to meet the ball at ballPos in time.
int canReach(MatchPlayer& p, const Vec3& ballPos, Fixed time, int id, Fixed skill);
// 1 when the ball was struck, 0 for a miss (the ball is left where it was).
int strikeBall(MatchPlayer& p, Match* m, Fixed& step);
// Searches the launch elevation that carries the ball the horizontal distance, then sets the
// ball's velocity with the skill's errors.
void solveLaunch(MatchPlayer& p, Match* m, const Vec3& direction, Fixed distance, Fixed& speed);
