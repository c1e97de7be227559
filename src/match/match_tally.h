// match_tally.h: the rules report serves, point endings, net touches and net points to the tally.
#pragma once

#include "match/match.h"

// The kind a StrokeId is counted as.
StrokeKind strokeKindOf(int strokeId);
// "forehand", "backhand", "volley", "smash", "lob" or "serve": the reports' names of the kinds.
const char* strokeKindName(int kind);

// The player struck the ball with its current stroke.
void tallyStroke(Match* m, const MatchPlayer& striker);
// A serve's first bounce was judged: in the box (and not a let) or a fault.
void tallyServeJudged(Match* m, bool in);
// The last ball struck ended the point: a winner the other player never returned, or an error.
void tallyPointEnd(Match* m, bool byWinner);
// The ball touched the net while the point was live.
void tallyNetTouch(Match* m);
// The point just won by winner (1 or 2) counts as a net point for each player who came in.
void tallyNetPoints(Match* m, int winner);
