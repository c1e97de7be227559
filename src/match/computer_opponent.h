// computer_opponent.h: the computer's serve, where it aims and where it waits, by level.
#pragma once

#include "core/fixed_point.h"

struct Match;
struct MatchPlayer;

// The serve branch of stroke planning: the player serves and the ball has not been struck.
void planComputerServe(MatchPlayer& p, Match* m, Fixed factor);
// Sets aimPoint just before a stroke other than a serve.
void chooseAim(MatchPlayer& p, Match* m, const MatchPlayer& other);
// Sets moveTarget while the other player strikes.
void planComputerMove(MatchPlayer& p, Match* m, const MatchPlayer& other);
